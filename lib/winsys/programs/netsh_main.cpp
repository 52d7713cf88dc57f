// netsh.exe: the "interface ip" context of netsh on the emulated host.
#include "netshshell.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return netsh::RunInteractive(stdin, stdout);
    if (args.size() == 1 && netsh::IsHelp(args[0])) {
        std::fputs(netsh::kUsage, stdout);
        return 0;
    }
    return netsh::RunAndReport(args, stdout);
}
