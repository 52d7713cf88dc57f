// What both drivers share: the report, the child's part and the run.
#include "calls.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iostream>

namespace winfidelity {

WideString Wide(const std::string& ascii)
{
    return WideString(ascii.begin(), ascii.end());
}

WideString WideText(const WCHAR* text, size_t capacity)
{
    return WideString(text, std::find(text, text + capacity, WCHAR(0)));
}

void Report::Add(const std::string& name, ull rc, ull size, ull err, bool expected)
{
    const std::string line =
        name + " rc=" + std::to_string(rc) + " size=" + std::to_string(size) + " err=" + std::to_string(err);
    lines.push_back("check " + line);
    if (!expected)
        failures.push_back("FAIL " + line);
}

int RunAsChild(int argc, char** argv, void (*sleepLong)())
{
    if (argc >= 2 && std::strcmp(argv[1], kChildSleep) == 0) {
        sleepLong();
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], kChildExit) == 0)
        return std::atoi(argv[2]);
    return -1;
}

int RunChecks(const Environment& env, bool changeMachine)
{
    if (!env.shellExecute) {
        std::cerr << "winfidelity: the shell module has no ShellExecuteExW\n";
        return 2;
    }
    Report report;
    CheckLayouts(report);
    CheckIpHelper(report);
    CheckCommandLines(report, env);
    CheckRegistry(report, HKEY_CURRENT_USER, "reg.hkcu.");
    CheckProcesses(report, env);
    CheckSystemTexts(report);
    CheckCodePages(report);
    if (changeMachine) {
        CheckRegistry(report, HKEY_LOCAL_MACHINE, "reg.hklm.");
        CheckComputerName(report);
    }
    for (const std::string& line : report.lines)
        std::cout << line << "\n";
    for (const std::string& line : report.failures)
        std::cerr << line << "\n";
    std::cerr << "winfidelity: " << report.failures.size() << " failed\n";
    return report.failures.empty() ? 0 : 1;
}

} // namespace winfidelity
