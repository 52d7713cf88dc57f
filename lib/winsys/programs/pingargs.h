// The Windows ping and tracert command lines: switches, their ranges and
// the complaints Windows prints for them. Shared by both programs and the tests.
#pragma once

#include <string>
#include <vector>

namespace winping {

enum class Outcome {
    Run,     // options are complete, target given
    Help,    // "-?": print the usage, succeed
    Usage,   // unknown switch, missing or extra target: print error (or usage), fail
};

struct PingOptions {
    std::string target;
    bool endless = false;              // -t
    bool resolve = false;              // -a
    unsigned long count = 4;           // -n
    unsigned long size = 32;           // -l, bytes of payload
    unsigned long ttl = 128;           // -i
    unsigned long timeoutMs = 4000;    // -w
};

struct TracertOptions {
    std::string target;
    bool resolve = true;               // cleared by -d
    unsigned long maxHops = 30;        // -h
    unsigned long timeoutMs = 4000;    // -w
};

template <typename Options>
struct Parsed {
    Outcome outcome = Outcome::Usage;
    Options options;
    std::string error;                 // a specific complaint to print instead of the usage
};

Parsed<PingOptions> ParsePing(const std::vector<std::string>& args);
Parsed<TracertOptions> ParseTracert(const std::vector<std::string>& args);

// Milliseconds as decimal seconds without trailing zeros ("1500" -> "1.5").
std::string MillisecondsToSeconds(unsigned long ms);

extern const char kPingUsage[];
extern const char kTracertUsage[];

}  // namespace winping
