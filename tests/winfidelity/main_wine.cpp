// The Windows SDK build's run, on Windows or under Wine: only the checks that
// hold on any machine; the script compares their lines with the emulation's.
#include "calls.h"

#include <cstdlib>
#include <cstring>
#include <iostream>

using namespace winfidelity;

namespace {

int RunAsChild(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], kChildSleep) == 0) {
        Sleep(120000);
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], kChildExit) == 0)
        return std::atoi(argv[2]);
    return -1;
}

// CommandLineToArgvW after a program name (whose own rules differ); the
// texts here are ASCII.
std::vector<std::string> SplitLikeWindows(const std::string& line)
{
    const WideString wide = Wide("program " + line);
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(wide.c_str(), &count);
    std::vector<std::string> words;
    for (int i = 1; argv && i < count; ++i) {
        std::string word;
        for (const WCHAR* c = argv[i]; *c; ++c)
            word += char(*c);
        words.push_back(word);
    }
    LocalFree(argv);
    return words;
}

bool UnderWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

} // namespace

int main(int argc, char** argv)
{
    const int childCode = RunAsChild(argc, argv);
    if (childCode >= 0)
        return childCode;

    Environment env;
    if (HMODULE shell = LoadLibraryW(L"shell32.dll"))
        env.shellExecute =
            reinterpret_cast<PFN_ShellExecuteExW>(reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteExW")));
    WCHAR self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    env.selfProgram = self;
    env.split = SplitLikeWindows;
    if (!env.shellExecute) {
        std::cerr << "winfidelity: shell32.dll has no ShellExecuteExW\n";
        return 2;
    }

    Report report;
    CheckLayouts(report);
    CheckIpHelperSizing(report);
    CheckDhcpByName(report);
    CheckCommandLines(report, env);
    CheckRegistry(report, HKEY_CURRENT_USER, "reg.hkcu.");
    CheckProcessKill(report, env);
    CheckShellExecute(report, env);
    CheckSystemTexts(report);
    CheckCodePages(report);
    // These change the machine (its name at the next start): a throw-away
    // Wine prefix, or a Windows machine whose owner asked for it.
    if (UnderWine() || (argc >= 2 && std::strcmp(argv[1], "--change-this-machine") == 0)) {
        CheckRegistry(report, HKEY_LOCAL_MACHINE, "reg.hklm.");
        CheckComputerName(report);
    } else {
        std::cerr << "winfidelity: not under Wine; the computer name and HKEY_LOCAL_MACHINE checks need "
                     "--change-this-machine\n";
    }
    report.Print(std::cout);
    report.PrintFailures(std::cerr);
    std::cerr << "winfidelity: " << report.Failures() << " failed\n";
    return report.Failures() == 0 ? 0 : 1;
}
