// netsh.exe: the "interface ip" context of netsh on the emulated host.
#include "netshapply.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

const char kUsage[] =
    "Usage: netsh interface ip set|add|delete address|dns|wins [name=]<interface> <parameters>\n"
    "  set address [name=]<string> [source=]dhcp|static [addr=]<IP address> [mask=]<subnet mask>\n"
    "              [[gateway=]<IP address>|none [gwmetric=]<integer>]\n"
    "  add address [name=]<string> [[addr=]<IP address> [mask=]<subnet mask>]\n"
    "              [[gateway=]<IP address> [gwmetric=]<integer>]\n"
    "  delete address [name=]<string> [addr=]<IP address> [[gateway=]<IP address>|all]\n"
    "  set dns|wins [name=]<string> [source=]dhcp|static [addr=]<IP address>|none\n"
    "              [[register=]none|primary|both] (dns only)\n"
    "  add dns|wins [name=]<string> [addr=]<IP address> [[index=]<integer>]\n"
    "  delete dns|wins [name=]<string> [addr=]<IP address>|all\n";

bool IsHelp(const std::string& arg)
{
    return arg == "/?" || arg == "-?" || arg == "?" || arg == "help";
}

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
    if (args.empty() || (args.size() == 1 && IsHelp(args[0]))) {
        std::fputs(kUsage, stdout);
        return args.empty() ? 1 : 0;
    }
    const netsh::Result r = netsh::Run(args);
    if (r.status != netsh::Status::Ok) {
        std::printf("%s\n\n", netsh::Message(r).c_str());
        return 1;
    }
    std::fputs("Ok.\n\n", stdout);
    return 0;
}
