// winhost: creates, shows and checks emulated Windows hosts.
#include <winsys/host.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "Usage: winhost init DIR [--adapters N [--addresses K] [--gateways K] [--dns K]]\n"
    "                                         create a host: the sample host, or N generated adapters;\n"
    "                                         static ones get K IP addresses, default gateways and DNS\n"
    "                                         servers, DHCP ones an offer with K gateways and DNS servers\n"
    "                                         (each K from 1 to 32, 1 when not given)\n"
    "       winhost show DIR                  print the host's configuration\n"
    "       winhost check DIR                 validate the host's registry\n";

int UsageError(const std::string& why)
{
    std::fprintf(stderr, "winhost: %s\n%s", why.c_str(), kUsage);
    return 2;
}

bool ParseCount(const std::string& text, int max, int* out)
{
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *out = std::atoi(text.c_str());
    return *out >= 1 && *out <= max;
}

int Init(const std::vector<std::string>& args)
{
    struct Option {
        const char* name;
        int* value;
        int max;
        bool seen;
    };
    winsys::GeneratedShape shape;
    // The number of adapters is checked where the host is made.
    Option options[] = {{"--adapters", &shape.adapters, 999999, false},
                        {"--addresses", &shape.addresses, winsys::kMaxGeneratedPerAdapter, false},
                        {"--gateways", &shape.gateways, winsys::kMaxGeneratedPerAdapter, false},
                        {"--dns", &shape.dns, winsys::kMaxGeneratedPerAdapter, false}};
    for (size_t i = 2; i < args.size(); i += 2) {
        Option* option = nullptr;
        for (Option& o : options)
            if (args[i] == o.name)
                option = &o;
        if (!option)
            return UsageError("unknown option \"" + args[i] + "\"");
        if (option->seen)
            return UsageError(args[i] + " is given twice");
        if (i + 1 >= args.size())
            return UsageError(args[i] + " needs a number");
        if (!ParseCount(args[i + 1], option->max, option->value)) {
            const std::string wanted =
                option == &options[0] ? "a positive number" : "a number from 1 to " + std::to_string(option->max);
            return UsageError(args[i] + " needs " + wanted + ", not \"" + args[i + 1] + "\"");
        }
        option->seen = true;
    }
    const bool generated = options[0].seen;
    if (!generated && args.size() > 2)
        return UsageError("--addresses, --gateways and --dns shape generated adapters: give --adapters N too");
    std::string error;
    const bool ok = generated ? winsys::InitGeneratedHost(args[1], shape, &error)
                              : winsys::InitSampleHost(args[1], &error);
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
