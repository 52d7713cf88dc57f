// The Windows calls of the application, made its way and checked against what
// Windows answers. Compiled unchanged against the emulation and the Windows
// SDK (no #ifdef, no bridging cast), so a differing declaration stops a build.
// Each check is one line "check <name> rc=<n> size=<n> err=<n>", so that a run
// against the emulation and one against Windows compare line by line.
#pragma once

#include <winsys.h>

#include <string>
#include <vector>

namespace winfidelity {

using ull = unsigned long long;
// Wide text in the platform's own WCHAR, built without casts so that the
// same source serves both WCHAR types.
using WideString = std::basic_string<WCHAR>;
WideString Wide(const std::string& ascii);
WideString WideText(const WCHAR* text, size_t capacity); // a fixed field, NUL or not

struct Report
{
    std::vector<std::string> lines, failures;
    // Records a check; `expected` false marks it failed.
    void Add(const std::string& name, ull rc, ull size, ull err, bool expected = true);
};

// The application resolves the shell's entry point at run time.
using PFN_ShellExecuteExW = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);

// What the per-platform driver prepares.
struct Environment
{
    PFN_ShellExecuteExW shellExecute = nullptr;
    WideString selfProgram; // this program; started with kChildSleep / kChildExit as the child
    // The arguments after the program name in a command line: CommandLineToArgvW
    // on Windows, the emulation's SplitCommandLine elsewhere.
    std::vector<std::string> (*split)(const std::string& line) = nullptr;
};

// Command-line switches that make this program the child of the process checks.
inline constexpr char kChildSleep[] = "--child-sleep"; // waits to be terminated
inline constexpr char kChildExit[] = "--child-exit";   // "--child-exit N" ends with code N
// The child's exit code, or -1 when this run is not a child.
int RunAsChild(int argc, char** argv, void (*sleepLong)());
// Runs the checks, those that change the machine (its name at the next start,
// HKEY_LOCAL_MACHINE) only when asked; prints them and returns the exit code.
int RunChecks(const Environment& env, bool changeMachine);

// Structure sizes and offsets (x64 SDK values).
void CheckLayouts(Report& report);
// The rest behave alike on any Windows machine (and under Wine).
void CheckIpHelper(Report& report);
void CheckCommandLines(Report& report, const Environment& env);
void CheckRegistry(Report& report, HKEY root, const std::string& prefix);
void CheckProcesses(Report& report, const Environment& env);
void CheckComputerName(Report& report);
void CheckSystemTexts(Report& report);
void CheckCodePages(Report& report); // MultiByteToWideChar in the console code pages

} // namespace winfidelity
