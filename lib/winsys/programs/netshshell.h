// netsh.exe's front: one command from the command line, or interactive mode
// reading commands from standard input.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace netsh {

extern const char kUsage[];

bool IsHelp(const std::string& arg);

// Runs one command and prints netsh's answer ("Ok." or the refusal) to out;
// returns the exit code, 0 or 1.
int RunAndReport(const std::vector<std::string>& args, std::FILE* out);

// Interactive mode: writes the prompt ("netsh>", or "netsh interface ip>"
// inside a context), reads one command a line and runs it, until "exit",
// "quit", "bye" or the end of the input. Returns the exit code, 0.
int RunInteractive(std::FILE* in, std::FILE* out);

}  // namespace netsh
