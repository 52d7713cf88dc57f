// The Windows SDK build's run, on Windows or under Wine: only the checks that
// hold on any machine; the script compares their lines with the emulation's.
#include "calls.h"

#include <cstring>
#include <iostream>

using namespace winfidelity;

namespace {

// CommandLineToArgvW after a program name (whose own rules differ); the
// texts here are ASCII.
std::vector<std::string> SplitLikeWindows(const std::string& line)
{
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(Wide("program " + line).c_str(), &count);
    std::vector<std::string> words;
    for (int i = 1; argv && i < count; ++i) {
        const WideString word = argv[i];
        words.emplace_back(word.begin(), word.end());
    }
    LocalFree(argv);
    return words;
}

} // namespace

int main(int argc, char** argv)
{
    if (const int childCode = RunAsChild(argc, argv, [] { Sleep(120000); }); childCode >= 0)
        return childCode;

    Environment env;
    if (HMODULE shell = LoadLibraryW(L"shell32.dll"))
        env.shellExecute =
            reinterpret_cast<PFN_ShellExecuteExW>(reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteExW")));
    WCHAR self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    env.selfProgram = self;
    env.split = SplitLikeWindows;
    // The checks that change the machine run in a throw-away Wine prefix, or
    // on a Windows machine whose owner asked for them.
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const bool underWine = ntdll && GetProcAddress(ntdll, "wine_get_version");
    const bool change = underWine || (argc >= 2 && std::strcmp(argv[1], "--change-this-machine") == 0);
    if (!change)
        std::cerr << "winfidelity: not under Wine; the computer name and HKEY_LOCAL_MACHINE checks need "
                     "--change-this-machine\n";
    return RunChecks(env, change);
}
