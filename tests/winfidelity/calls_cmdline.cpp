// Command lines split into arguments: the emulation's SplitCommandLine, which
// baselib and the emulated programs use, against CommandLineToArgvW; and
// QuoteArgument, with which the application passes a typed target, must give
// each argument back whole from the system's own splitter.
#include "calls.h"

#include "cmdline_cases.h"

#include <winsys/cmdline.h>

namespace winfidelity {

namespace {

// FNV-1a over the words, each ended by a NUL: equal lists, equal numbers.
unsigned long long Digest(const std::vector<std::string>& words)
{
    unsigned long long hash = 14695981039346656037ULL;
    for (const std::string& word : words) {
        for (const char c : word + '\0')
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    return hash & 0xFFFFFFFFULL;
}

// A case's name as one word of a check line.
std::string Dotted(std::string name)
{
    for (char& c : name)
        c = c == ' ' ? '.' : c;
    return name;
}

} // namespace

void CheckCommandLines(Report& report, const Environment& env)
{
    if (!env.split) {
        report.Fail("cmdline", "no splitter");
        return;
    }
    for (const cmdline_cases::Split& c : cmdline_cases::kSplits) {
        const std::vector<std::string> words = env.split(c.line);
        report.Add("cmdline.split." + Dotted(c.name), words.size(), Digest(words), 0, words == c.words,
                   "the words CommandLineToArgvW gives");
    }
    for (const cmdline_cases::Quote& c : cmdline_cases::kQuotes) {
        const std::vector<std::string> expected{c.arg, "next"};
        const std::vector<std::string> words = env.split(winsys::QuoteArgument(c.arg) + " next");
        report.Add("cmdline.quote." + Dotted(c.name), words.size(), Digest(words), 0, words == expected,
                   "the quoted argument must come back whole");
    }
}

} // namespace winfidelity
