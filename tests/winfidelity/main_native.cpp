// The run against the emulation: a fresh sample host in a temporary folder,
// and the shell's entry point resolved from the "shell32" module the way
// the application resolves it.
#include "calls.h"

#include <winsys/cmdline.h>
#include <winsys/host.h>

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <iostream>
#include <unistd.h>

using namespace winfidelity;

int main(int argc, char** argv)
{
    if (const int childCode = RunAsChild(argc, argv, [] { ::sleep(120); }); childCode >= 0)
        return childCode;

    const char* tmp = std::getenv("TMPDIR");
    std::string host = std::string(tmp && *tmp ? tmp : "/tmp") + "/winfidelity-XXXXXX";
    std::string error;
    if (!::mkdtemp(&host[0]) || !winsys::InitSampleHost(host, &error)) {
        std::cerr << "winfidelity: cannot make the sample host: " << error << "\n";
        return 2;
    }
    ::setenv("WINSYS_ROOT", host.c_str(), 1);
    Environment env;
    if (void* shell = ::dlopen("libshell32.so", RTLD_NOW))
        env.shellExecute = reinterpret_cast<PFN_ShellExecuteExW>(::dlsym(shell, "ShellExecuteExW"));
    env.selfProgram = Wide(std::filesystem::read_symlink("/proc/self/exe").string());
    env.split = winsys::SplitCommandLine;
    const int result = RunChecks(env, true);
    std::error_code ignored;
    std::filesystem::remove_all(host, ignored);
    return result;
}
