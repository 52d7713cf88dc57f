// The run against the emulation: a fresh sample host in a temporary folder,
// and the shell's entry point resolved from the "shell32" module the way
// the application resolves it.
#include "calls.h"

#include <winsys/cmdline.h>
#include <winsys/host.h>

#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <filesystem>
#include <iostream>
#include <unistd.h>

using namespace winfidelity;

namespace {

int RunAsChild(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], kChildSleep) == 0) {
        ::sleep(120);
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], kChildExit) == 0)
        return std::atoi(argv[2]);
    return -1;
}

std::string SelfPath()
{
    char path[4096];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, size_t(n)) : std::string();
}

std::string MakeHost()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/winfidelity-XXXXXX";
    if (!::mkdtemp(&pattern[0]))
        return std::string();
    std::string error;
    if (!winsys::InitSampleHost(pattern, &error)) {
        std::cerr << "winfidelity: cannot make the sample host: " << error << "\n";
        return std::string();
    }
    ::setenv("WINSYS_ROOT", pattern.c_str(), 1);
    return pattern;
}

void RunChecks(Report& report, const Environment& env)
{
    CheckLayouts(report);
    CheckIpHelperSizing(report);
    CheckDhcpByName(report);
    CheckCommandLines(report, env);
    CheckRegistry(report, HKEY_CURRENT_USER, "reg.hkcu.");
    CheckRegistry(report, HKEY_LOCAL_MACHINE, "reg.hklm.");
    CheckProcessKill(report, env);
    CheckShellExecute(report, env);
    CheckComputerName(report);
    CheckSystemTexts(report);
    CheckCodePages(report);
}

} // namespace

int main(int argc, char** argv)
{
    const int childCode = RunAsChild(argc, argv);
    if (childCode >= 0)
        return childCode;

    const std::string host = MakeHost();
    if (host.empty())
        return 2;
    Environment env;
    if (void* shell = ::dlopen("libshell32.so", RTLD_NOW))
        env.shellExecute = reinterpret_cast<PFN_ShellExecuteExW>(::dlsym(shell, "ShellExecuteExW"));
    env.selfProgram = Wide(SelfPath());
    env.split = winsys::SplitCommandLine;
    if (!env.shellExecute) {
        std::cerr << "winfidelity: the shell32 module has no ShellExecuteExW\n";
        return 2;
    }

    Report report;
    RunChecks(report, env);
    report.Print(std::cout);
    report.PrintFailures(std::cerr);
    std::error_code ignored;
    std::filesystem::remove_all(host, ignored);
    std::cerr << "winfidelity: " << report.Failures() << " failed\n";
    return report.Failures() == 0 ? 0 : 1;
}
