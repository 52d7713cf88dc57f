#include "pingargs.h"

#include <cctype>

namespace winping {

const char kPingUsage[] =
    "\n"
    "Usage: ping [-t] [-a] [-n count] [-l size] [-i TTL] [-w timeout] target_name\n"
    "\n"
    "Options:\n"
    "    -t             Ping the specified host until stopped.\n"
    "                   To stop - type Control-C.\n"
    "    -a             Resolve addresses to hostnames.\n"
    "    -n count       Number of echo requests to send.\n"
    "    -l size        Send buffer size.\n"
    "    -i TTL         Time To Live.\n"
    "    -w timeout     Timeout in milliseconds to wait for each reply.\n"
    "\n";

const char kTracertUsage[] =
    "\n"
    "Usage: tracert [-d] [-h maximum_hops] [-w timeout] target_name\n"
    "\n"
    "Options:\n"
    "    -d                 Do not resolve addresses to hostnames.\n"
    "    -h maximum_hops    Maximum number of hops to search for target.\n"
    "    -w timeout         Wait timeout milliseconds for each reply.\n"
    "\n";

namespace {

// A switch is "-x" or "/x" with a single letter (or "?"), in either case.
bool IsSwitch(const std::string& arg, char* letter)
{
    if (arg.size() < 2 || (arg[0] != '-' && arg[0] != '/'))
        return false;
    *letter = arg.size() == 2 ? char(std::tolower(static_cast<unsigned char>(arg[1]))) : '\0';
    return true;
}

bool ParseValue(const std::string& s, unsigned long max, unsigned long min, unsigned long* out)
{
    if (s.empty() || s.size() > 10)
        return false;
    unsigned long long v = 0;
    for (char c : s) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
        v = v * 10 + unsigned(c - '0');
    }
    if (v < min || v > max)
        return false;
    *out = static_cast<unsigned long>(v);
    return true;
}

// Reads the value after switch `letter`; on failure fills t with the message
// Windows prints for a bad value.
bool TakeValue(const std::vector<std::string>& a, size_t* i, char letter, unsigned long min,
               unsigned long max, unsigned long* out, Translation* t)
{
    if (*i + 1 >= a.size()) {
        t->error = std::string("Value must be supplied for option -") + letter + ".\n";
        return false;
    }
    if (!ParseValue(a[++*i], max, min, out)) {
        t->error = std::string("Bad value for option -") + letter + ", valid range is from " +
                   std::to_string(min) + " to " + std::to_string(max) + ".\n";
        return false;
    }
    return true;
}

// Only one target: a second non-switch argument is an error.
bool SetTarget(const std::string& arg, std::string* target)
{
    if (!target->empty())
        return false;
    *target = arg;
    return !arg.empty();
}

Translation Finish(Translation t, const std::string& target)
{
    if (target.empty())
        return Translation{};
    t.args.push_back("--");
    t.args.push_back(target);
    t.outcome = Outcome::Run;
    return t;
}

}  // namespace

std::string MillisecondsToSeconds(unsigned long ms)
{
    std::string frac = std::to_string(1000 + ms % 1000).substr(1);
    while (!frac.empty() && frac.back() == '0')
        frac.pop_back();
    return std::to_string(ms / 1000) + (frac.empty() ? "" : "." + frac);
}

Translation TranslatePing(const std::vector<std::string>& a)
{
    Translation t;
    std::string target;
    bool forever = false, resolve = false;
    unsigned long count = 4, value = 0;
    std::vector<std::string> extra;
    for (size_t i = 0; i < a.size(); ++i) {
        char letter = 0;
        if (!IsSwitch(a[i], &letter)) {
            if (!SetTarget(a[i], &target))
                return Translation{};
            continue;
        }
        switch (letter) {
        case 't': forever = true; break;
        case 'a': resolve = true; break;
        case '?': return Translation{Outcome::Help, {}, {}};
        case 'n':
            if (!TakeValue(a, &i, letter, 1, 4294967295UL, &count, &t))
                return t;
            break;
        case 'l':
            if (!TakeValue(a, &i, letter, 0, 65500, &value, &t))
                return t;
            extra.insert(extra.end(), {"-s", std::to_string(value)});
            break;
        case 'i':
            if (!TakeValue(a, &i, letter, 1, 255, &value, &t))
                return t;
            extra.insert(extra.end(), {"-t", std::to_string(value)});
            break;
        case 'w':
            if (!TakeValue(a, &i, letter, 1, 4294967295UL, &value, &t))
                return t;
            extra.insert(extra.end(), {"-W", MillisecondsToSeconds(value)});
            break;
        default:
            return Translation{};
        }
    }
    if (!forever)
        t.args.insert(t.args.end(), {"-c", std::to_string(count)});
    // Windows shows numeric addresses unless -a asks for names.
    if (!resolve)
        t.args.push_back("-n");
    t.args.insert(t.args.end(), extra.begin(), extra.end());
    return Finish(t, target);
}

Translation TranslateTracert(const std::vector<std::string>& a)
{
    Translation t;
    std::string target;
    unsigned long value = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        char letter = 0;
        if (!IsSwitch(a[i], &letter)) {
            if (!SetTarget(a[i], &target))
                return Translation{};
            continue;
        }
        switch (letter) {
        case 'd': t.args.push_back("-n"); break;
        case '?': return Translation{Outcome::Help, {}, {}};
        case 'h':
            if (!TakeValue(a, &i, letter, 1, 255, &value, &t))
                return t;
            t.args.insert(t.args.end(), {"-m", std::to_string(value)});
            break;
        case 'w':
            if (!TakeValue(a, &i, letter, 1, 4294967295UL, &value, &t))
                return t;
            t.args.insert(t.args.end(), {"-w", MillisecondsToSeconds(value)});
            break;
        default:
            return Translation{};
        }
    }
    return Finish(t, target);
}

}  // namespace winping
