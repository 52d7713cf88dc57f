// Translation of the Windows ping and tracert command lines into this
// machine's ping and traceroute ones; shared by both wrappers and the tests.
#pragma once

#include <string>
#include <vector>

namespace winping {

enum class Outcome {
    Run,     // exec the real program with args
    Help,    // "-?": print the usage, succeed
    Usage,   // unknown switch, missing or extra target: print error (or usage), fail
};

struct Translation {
    Outcome outcome = Outcome::Usage;
    std::vector<std::string> args;   // the real program's arguments, target last after "--"
    std::string error;               // a specific complaint to print instead of the usage
};

Translation TranslatePing(const std::vector<std::string>& windowsArgs);
Translation TranslateTracert(const std::vector<std::string>& windowsArgs);

// Milliseconds as decimal seconds without trailing zeros ("1500" -> "1.5").
std::string MillisecondsToSeconds(unsigned long ms);

extern const char kPingUsage[];
extern const char kTracertUsage[];

// The shared main: translates, then replaces the process with the first
// existing program of `candidates` (no shell involved). Returns only on failure.
int RunTranslated(int argc, char** argv, Translation (*translate)(const std::vector<std::string>&),
                  const char* usage, const std::vector<std::string>& candidates);

}  // namespace winping
