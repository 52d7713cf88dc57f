// The Windows calls of the application, made its way and checked against what
// Windows answers. Compiled unchanged against the emulation and the Windows
// SDK (no #ifdef, no bridging cast), so a differing declaration stops a build.
#pragma once

#include "report.h"

#include <string>
#include <vector>

namespace winfidelity {

// The application resolves the shell's entry point at run time.
using PFN_ShellExecuteExW = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);

// The arguments after the program name in a command line: CommandLineToArgvW
// on Windows, the emulation's SplitCommandLine elsewhere.
using SplitFunction = std::vector<std::string> (*)(const std::string& line);

// What the per-platform driver prepares.
struct Environment
{
    PFN_ShellExecuteExW shellExecute = nullptr;
    WideString selfProgram; // this program; started with kChildSleep / kChildExit as the child
    SplitFunction split = nullptr;
};

// Command-line switches that make this program the child of the process checks.
inline constexpr char kChildSleep[] = "--child-sleep"; // waits to be terminated
inline constexpr char kChildExit[] = "--child-exit";   // "--child-exit N" ends with code N

// Structure sizes and offsets, constants and prototypes (x64 SDK values).
void CheckLayouts(Report& report);

// Calls that behave alike on any Windows machine (and under Wine).
void CheckIpHelperSizing(Report& report);
void CheckDhcpByName(Report& report);
void CheckCommandLines(Report& report, const Environment& env);
void CheckRegistry(Report& report, HKEY root, const std::string& prefix);
void CheckProcessKill(Report& report, const Environment& env);
void CheckShellExecute(Report& report, const Environment& env);
void CheckComputerName(Report& report);
void CheckSystemTexts(Report& report);
// MultiByteToWideChar in the console code pages.
void CheckCodePages(Report& report);

} // namespace winfidelity
