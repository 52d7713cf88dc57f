// Splitting a command line into arguments the way Windows programs do, and
// the quoting that survives it. Built on every platform: the application's
// child processes use the same rules as the emulated programs.
#pragma once

#include <string>
#include <vector>

namespace winsys {

// The rules of CommandLineToArgvW for the arguments after the program name:
// only blanks and tabs separate (a newline is part of an argument), double
// quotes group, backslashes escape a quote only when they precede one.
std::vector<std::string> SplitCommandLine(const std::string& line);

// The argument written so that SplitCommandLine gives it back unchanged as one
// argument: left as it is unless it is empty or holds a blank, tab, newline,
// vertical tab or double quote; otherwise enclosed in quotes, with each quote
// and the backslashes before it (or before the closing quote) escaped.
std::string QuoteArgument(const std::string& arg);

}  // namespace winsys
