// Command lines split into arguments: the emulation's SplitCommandLine, which
// baselib and the emulated programs use, against CommandLineToArgvW; and
// QuoteArgument, with which the application passes a typed target, must give
// each argument back whole from the system's own splitter.
#include "calls.h"

#include <winsys/cmdline.h>

namespace winfidelity {

namespace {

struct SplitCase
{
    const char* name;
    const char* line;
    std::vector<std::string> words;
};

// What CommandLineToArgvW gives for the arguments after the program name.
const SplitCase kSplits[] = {
    {"blanks", "  a \t\tb  ", {"a", "b"}},
    {"newline", "a\nb c", {"a\nb", "c"}},
    {"quotes", "x \"two words\" z", {"x", "two words", "z"}},
    {"quotes.inside", "a\"b c\"d", {"ab cd"}},
    {"empty.quotes", "x \"\"", {"x", ""}},
    {"unclosed", "\"a b", {"a b"}},
    {"escaped.quote", "a\\\"b", {"a\"b"}},
    {"backslashes", "C:\\dir\\ x\\\\", {"C:\\dir\\", "x\\\\"}},
    {"even.backslashes", "\"a\\\\\" b", {"a\\", "b"}},
    {"odd.backslashes", "a\\\\\\\"b", {"a\\\"b"}},
    {"doubled.quote", "\"a\"\"b\"", {"a\"b"}},
};

struct QuoteCase
{
    const char* name;
    const char* arg;
};

const QuoteCase kQuotes[] = {
    {"empty", ""},
    {"blank", "a b"},
    {"tab", "a\tb"},
    {"quote", "a\"b"},
    {"backslashes.quote", "a\\\\\"b"},
    {"trailing.backslash", "a b\\"},
    {"inner.backslash", "a\\b c"},
    {"option", "-n 4"},
    {"path", "C:\\Program Files\\"},
};

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

} // namespace

void CheckCommandLines(Report& report, const Environment& env)
{
    if (!env.split) {
        report.Fail("cmdline", "no splitter");
        return;
    }
    for (const SplitCase& c : kSplits) {
        const std::vector<std::string> words = env.split(c.line);
        report.Add(std::string("cmdline.split.") + c.name, words.size(), Digest(words), 0, words == c.words,
                   "the words CommandLineToArgvW gives");
    }
    for (const QuoteCase& c : kQuotes) {
        const std::vector<std::string> expected{c.arg, "next"};
        const std::vector<std::string> words = env.split(winsys::QuoteArgument(c.arg) + " next");
        report.Add(std::string("cmdline.quote.") + c.name, words.size(), Digest(words), 0, words == expected,
                   "the quoted argument must come back whole");
    }
}

} // namespace winfidelity
