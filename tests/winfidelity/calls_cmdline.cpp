// Command lines split into arguments: the emulation's SplitCommandLine, which
// baselib and the emulated programs use, against CommandLineToArgvW; and
// QuoteArgument, with which the application passes a typed target, must give
// each argument back whole from the system's own splitter.
#include "calls.h"

#include "cmdline_cases.h"

#include <winsys/cmdline.h>

namespace winfidelity {

namespace {

// Words and their FNV-1a digest (each word ended by a NUL) as one check; a
// case's name becomes one word of the line.
void AddWords(Report& report, std::string name, const std::vector<std::string>& words,
              const std::vector<std::string>& expected)
{
    ull hash = 14695981039346656037ULL;
    for (const std::string& word : words) {
        for (const char c : word + '\0')
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    for (char& c : name)
        c = c == ' ' ? '.' : c;
    report.Add(name, words.size(), hash & 0xFFFFFFFFULL, 0, words == expected);
}

} // namespace

void CheckCommandLines(Report& report, const Environment& env)
{
    for (const cmdline_cases::Split& c : cmdline_cases::kSplits)
        AddWords(report, std::string("cmdline.split.") + c.name, env.split(c.line), c.words);
    for (const cmdline_cases::Quote& c : cmdline_cases::kQuotes)
        AddWords(report, std::string("cmdline.quote.") + c.name, env.split(winsys::QuoteArgument(c.arg) + " next"),
                 {c.arg, "next"});
}

} // namespace winfidelity
