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

const unsigned long kMaxValue = 4294967295UL;

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

// Reads the value after switch `letter`; on failure sets the message Windows
// prints for a bad value.
bool TakeValue(const std::vector<std::string>& a, size_t* i, char letter, unsigned long min,
               unsigned long max, unsigned long* out, std::string* error)
{
    if (*i + 1 >= a.size()) {
        *error = std::string("Value must be supplied for option -") + letter + ".\n";
        return false;
    }
    if (!ParseValue(a[++*i], max, min, out)) {
        *error = std::string("Bad value for option -") + letter + ", valid range is from " +
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

}  // namespace

std::string MillisecondsToSeconds(unsigned long ms)
{
    std::string frac = std::to_string(1000 + ms % 1000).substr(1);
    while (!frac.empty() && frac.back() == '0')
        frac.pop_back();
    return std::to_string(ms / 1000) + (frac.empty() ? "" : "." + frac);
}

Parsed<PingOptions> ParsePing(const std::vector<std::string>& a)
{
    Parsed<PingOptions> p;
    PingOptions& o = p.options;
    for (size_t i = 0; i < a.size(); ++i) {
        char letter = 0;
        if (!IsSwitch(a[i], &letter)) {
            if (!SetTarget(a[i], &o.target))
                return {};
            continue;
        }
        bool ok = true;
        switch (letter) {
        case 't': o.endless = true; break;
        case 'a': o.resolve = true; break;
        case '?': return {Outcome::Help, {}, {}};
        case 'n': ok = TakeValue(a, &i, letter, 1, kMaxValue, &o.count, &p.error); break;
        case 'l': ok = TakeValue(a, &i, letter, 0, 65500, &o.size, &p.error); break;
        case 'i': ok = TakeValue(a, &i, letter, 1, 255, &o.ttl, &p.error); break;
        case 'w': ok = TakeValue(a, &i, letter, 1, kMaxValue, &o.timeoutMs, &p.error); break;
        default: return {};
        }
        if (!ok)
            return p;
    }
    p.outcome = o.target.empty() ? Outcome::Usage : Outcome::Run;
    return p;
}

Parsed<TracertOptions> ParseTracert(const std::vector<std::string>& a)
{
    Parsed<TracertOptions> p;
    TracertOptions& o = p.options;
    for (size_t i = 0; i < a.size(); ++i) {
        char letter = 0;
        if (!IsSwitch(a[i], &letter)) {
            if (!SetTarget(a[i], &o.target))
                return {};
            continue;
        }
        bool ok = true;
        switch (letter) {
        case 'd': o.resolve = false; break;
        case '?': return {Outcome::Help, {}, {}};
        case 'h': ok = TakeValue(a, &i, letter, 1, kMaxValue, &o.maxHops, &p.error); break;
        case 'w': ok = TakeValue(a, &i, letter, 1, kMaxValue, &o.timeoutMs, &p.error); break;
        default: return {};
        }
        if (!ok)
            return p;
    }
    p.outcome = o.target.empty() ? Outcome::Usage : Outcome::Run;
    return p;
}

}  // namespace winping
