// winhost: creates, shows and checks emulated Windows hosts.
#include <winsys/host.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "Usage: winhost init DIR [--adapters N]   create a host (the sample host, or N generated adapters)\n"
    "       winhost show DIR                  print the host's configuration\n"
    "       winhost check DIR                 validate the host's registry\n";

int UsageError(const std::string& why)
{
    std::fprintf(stderr, "winhost: %s\n%s", why.c_str(), kUsage);
    return 2;
}

bool ParseCount(const std::string& text, int* out)
{
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *out = std::atoi(text.c_str());
    return *out >= 1;
}

int Init(const std::vector<std::string>& args)
{
    std::string error;
    bool ok = false;
    if (args.size() == 2) {
        ok = winsys::InitSampleHost(args[1], &error);
    } else if (args.size() == 4 && args[2] == "--adapters") {
        int count = 0;
        if (!ParseCount(args[3], &count))
            return UsageError("--adapters needs a positive number, not \"" + args[3] + "\"");
        ok = winsys::InitGeneratedHost(args[1], count, &error);
    } else {
        return UsageError("init takes DIR and optionally --adapters N");
    }
    if (!ok) {
        std::fprintf(stderr, "winhost: cannot create a host in %s: %s\n", args[1].c_str(), error.c_str());
        return 1;
    }
    return 0;
}

int Check(const std::string& dir)
{
    std::string message;
    if (!winsys::CheckHost(dir, &message)) {
        std::fprintf(stderr, "winhost: %s\n", message.empty() ? "the host is not valid" : message.c_str());
        return 1;
    }
    std::printf("%s\n", message.c_str());
    return 0;
}

int Show(const std::string& dir)
{
    // A host that does not load cannot be shown; say why instead.
    std::string message;
    if (!winsys::CheckHost(dir, &message)) {
        std::fprintf(stderr, "winhost: %s\n", message.c_str());
        return 1;
    }
    std::fputs(winsys::ShowHost(dir).c_str(), stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return UsageError("no command given");
    const std::string& cmd = args[0];
    if (cmd == "-h" || cmd == "--help" || cmd == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (cmd == "init")
        return args.size() >= 2 ? Init(args) : UsageError("init needs a folder");
    if ((cmd == "show" || cmd == "check") && args.size() != 2)
        return UsageError(cmd + " takes exactly one folder");
    if (cmd == "show")
        return Show(args[1]);
    if (cmd == "check")
        return Check(args[1]);
    return UsageError("unknown command \"" + cmd + "\"");
}
