#include "netshshell.h"

#include "netshapply.h"
#include "netshtext.h"

#include <cstdlib>

namespace netsh {

const char kUsage[] =
    "Usage: netsh interface ip set|add|delete address|dns|wins [name=]<interface> <parameters>\n"
    "  set address [name=]<string> [source=]dhcp|static [addr=]<IP address> [mask=]<subnet mask>\n"
    "              [[gateway=]<IP address>|none [gwmetric=]<integer>]\n"
    "  add address [name=]<string> [[addr=]<IP address> [mask=]<subnet mask>]\n"
    "              [[gateway=]<IP address> [gwmetric=]<integer>]\n"
    "  delete address [name=]<string> [addr=]<IP address> [[gateway=]<IP address>|all]\n"
    "  set dns|wins [name=]<string> [source=]dhcp|static [addr=]<IP address>|none\n"
    "              [[register=]none|primary|both] (dns only)\n"
    "  add dns|wins [name=]<string> [addr=]<IP address> [[index=]<integer>]\n"
    "  delete dns|wins [name=]<string> [addr=]<IP address>|all\n";

namespace {

// Contexts one can enter: "interface", then "ip" (or "ipv4") inside it.
bool EntersContext(std::vector<std::string>* context, const std::vector<std::string>& words)
{
    static const std::vector<std::pair<const char*, int>> level0{{"interface", 0}};
    static const std::vector<std::pair<const char*, int>> level1{{"ip", 0}, {"ipv4", 1}};
    std::vector<std::string> next = *context;
    for (const std::string& word : words) {
        int value = 0;
        if (next.empty() && MatchWord(word, level0, &value))
            next.push_back("interface");
        else if (next.size() == 1 && MatchWord(word, level1, &value))
            next.push_back(value == 0 ? "ip" : "ipv4");
        else
            return false;
    }
    *context = next;
    return true;
}

std::string Prompt(const std::vector<std::string>& context)
{
    return "netsh" + (context.empty() ? std::string() : " " + Join(context)) + ">";
}

int Report(const Result& r, std::FILE* out)
{
    if (r.status != Status::Ok) {
        std::fprintf(out, "%s\n\n", Message(r).c_str());
        return 1;
    }
    std::fputs("Ok.\n\n", out);
    return 0;
}

}  // namespace

bool IsHelp(const std::string& arg)
{
    return arg == "/?" || arg == "-?" || arg == "?" || EqualNoCase(arg, "help");
}

int RunAndReport(const std::vector<std::string>& args, std::FILE* out)
{
    return Report(Run(args), out);
}

int RunInteractive(std::FILE* in, std::FILE* out)
{
    std::vector<std::string> context;
    char* line = nullptr;
    size_t capacity = 0;
    for (;;) {
        std::fputs(Prompt(context).c_str(), out);
        std::fflush(out);
        const ssize_t length = ::getline(&line, &capacity, in);
        if (length < 0) {
            std::fputs("\n", out);   // the prompt's line ends here, not with a typed Enter
            break;
        }
        std::string text(line, size_t(length));
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        const std::vector<std::string> words = SplitCommandLine(text);
        if (words.empty())
            continue;
        const std::string first = Lower(words.front());
        if (words.size() == 1 && (first == "exit" || first == "quit" || first == "bye"))
            break;
        if (words.size() == 1 && IsHelp(first)) {
            std::fputs(kUsage, out);
            continue;
        }
        if (words.size() == 1 && first == "..") {
            if (!context.empty())
                context.pop_back();
            continue;
        }
        if (EntersContext(&context, words))
            continue;
        std::vector<std::string> command = context;
        command.insert(command.end(), words.begin(), words.end());
        Result r = Run(command);
        if (r.status == Status::CommandNotFound)
            r.detail = Join(words);   // what was typed, without the context
        Report(r, out);
    }
    std::free(line);
    return 0;
}

}  // namespace netsh
