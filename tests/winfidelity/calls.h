// The Windows calls of the application and the base library, made the way
// they make them and checked against what Windows answers. This code is
// compiled unchanged against the emulation and against the Windows SDK: it
// holds no #ifdef and no cast that bridges the two, so any difference in a
// declaration, a structure or a constant stops one of the two builds.
#pragma once

#include "report.h"

namespace winfidelity {

// The application resolves the shell's entry point at run time.
using PFN_ShellExecuteExW = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);

// What the per-platform driver prepares.
struct Environment
{
    PFN_ShellExecuteExW shellExecute = nullptr;
    WideString selfProgram; // this program; started with kChildSleep / kChildExit as the child
};

// Command-line switches that make this program the child of the process checks.
inline constexpr char kChildSleep[] = "--child-sleep"; // waits to be terminated
inline constexpr char kChildExit[] = "--child-exit";   // "--child-exit N" ends with code N

// Structure sizes and offsets, constants and prototypes (x64 SDK values).
void CheckLayouts(Report& report);

// Calls that behave alike on any Windows machine (and under Wine).
void CheckIpHelperSizing(Report& report);
void CheckRegistry(Report& report, HKEY root, const std::string& prefix);
void CheckProcessKill(Report& report, const Environment& env);
void CheckShellExecute(Report& report, const Environment& env);
void CheckComputerName(Report& report);
void CheckSystemTexts(Report& report);

// Calls checked against the emulated sample host's known configuration.
void CheckSampleAdapters(Report& report);
void CheckSampleRegistry(Report& report);
void CheckDhcp(Report& report);
void CheckDomain(Report& report);
void CheckNetworkDrives(Report& report);

} // namespace winfidelity
