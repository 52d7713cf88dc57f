// The Windows command-line rules as cases: what CommandLineToArgvW gives for
// the arguments after the program name, and how an argument is quoted so
// that it comes back whole. The emulation's unit test and the comparison
// with Windows both run them.
#pragma once

#include <string>
#include <vector>

namespace cmdline_cases {

struct Split
{
    const char* name;
    const char* line;
    std::vector<std::string> words;
};

inline const Split kSplits[] = {
    {"blanks and tabs", "  a \t\tb  ", {"a", "b"}},
    {"newline is no separator", "a\nb c\r\n", {"a\nb", "c\r\n"}},
    {"empty line", "", {}},
    {"quotes group", "x \"two words\" z", {"x", "two words", "z"}},
    {"quotes inside a word", "a\"b c\"d", {"ab cd"}},
    {"empty quotes are a word", "x \"\"", {"x", ""}},
    {"unclosed quote runs to the end", "\"a b", {"a b"}},
    {"escaped quote", "a\\\"b", {"a\"b"}},
    {"backslashes kept", "C:\\dir\\ x\\\\", {"C:\\dir\\", "x\\\\"}},
    {"even backslashes then quote", "\"a\\\\\" b", {"a\\", "b"}},
    {"odd backslashes then quote", "a\\\\\\\"b", {"a\\\"b"}},
    {"doubled quote inside quotes", "\"a\"\"b\"", {"a\"b"}},
};

struct Quote
{
    const char* name;
    const char* arg;
    const char* quoted;
};

inline const Quote kQuotes[] = {
    {"plain", "127.0.0.1", "127.0.0.1"},
    {"backslashes alone stay", "C:\\a\\b\\", "C:\\a\\b\\"},
    {"empty", "", "\"\""},
    {"blank", "a b", "\"a b\""},
    {"only blanks", "   ", "\"   \""},
    {"tab", "a\tb", "\"a\tb\""},
    {"newline", "a\nb", "\"a\nb\""},
    {"quote", "a\"b", "\"a\\\"b\""},
    {"backslashes before a quote", "a\\\\\"b", "\"a\\\\\\\\\\\"b\""},
    {"trailing backslash in quotes", "a b\\", "\"a b\\\\\""},
    {"inner backslash in quotes", "a\\b c", "\"a\\b c\""},
    {"option-like", "-n 4", "\"-n 4\""},
    {"path", "C:\\Program Files\\", "\"C:\\Program Files\\\\\""},
};

} // namespace cmdline_cases
