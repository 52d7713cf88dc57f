#include "winsys/cmdline.h"

namespace winsys {

// 2n backslashes before a quote give n backslashes and the quote delimits,
// 2n+1 give n backslashes and a literal quote; "" inside quotes is a quote.
std::vector<std::string> SplitCommandLine(const std::string& line)
{
    std::vector<std::string> args;
    std::string cur;
    bool inArg = false, quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (!quoted && (c == ' ' || c == '\t')) {
            if (inArg)
                args.push_back(cur);
            cur.clear();
            inArg = false;
            continue;
        }
        inArg = true;
        if (c == '\\') {
            size_t n = 0;
            while (i < line.size() && line[i] == '\\') {
                ++n;
                ++i;
            }
            if (i < line.size() && line[i] == '"') {
                cur.append(n / 2, '\\');
                if (n % 2) {
                    cur += '"';
                } else {
                    --i;   // the quote is handled as a delimiter on the next round
                }
            } else {
                cur.append(n, '\\');
                --i;
            }
        } else if (c == '"') {
            if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                cur += '"';
                ++i;
            } else {
                quoted = !quoted;
            }
        } else {
            cur += c;
        }
    }
    if (inArg)
        args.push_back(cur);
    return args;
}

std::string QuoteArgument(const std::string& arg)
{
    if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string::npos)
        return arg;
    std::string out = "\"";
    size_t backslashes = 0;
    for (const char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes are literal unless a quote follows them.
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');   // they precede the closing quote
    return out + '"';
}

}  // namespace winsys
