// netsh.exe: the "interface ip" context of netsh on the emulated host.
#include "netshshell.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

// WINSYS_NETSH_DELAY_MS: each run takes that long first, as netsh.exe takes
// about 300 ms on a real machine, so the dialog's responsiveness can be
// measured and a hung run provoked.
void DelayAsConfigured()
{
    const char* delay = std::getenv("WINSYS_NETSH_DELAY_MS");
    const long ms = delay ? std::strtol(delay, nullptr, 10) : 0;
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace

int main(int argc, char** argv)
{
    DelayAsConfigured();
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return netsh::RunInteractive(stdin, stdout);
    if (args.size() == 1 && netsh::IsHelp(args[0])) {
        std::fputs(netsh::kUsage, stdout);
        return 0;
    }
    return netsh::RunAndReport(args, stdout);
}
