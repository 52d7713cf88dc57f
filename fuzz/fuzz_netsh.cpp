// Fuzzes netsh.exe's command line: the text is split as the program gets
// it from the shell, parsed, and a parsed command is applied to a copy of
// the sample host's registry. A refused command must leave the registry
// exactly as it was, an applied one must leave a registry that can still
// be written and read back.
#include "netshapply.h"

#include <winsys/cmdline.h>
#include <winsys/hive.h>
#include <winsys/host.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

const winsys::Hive& SampleHive()
{
    static const winsys::Hive hive = [] {
        winsys::Hive parsed;
        std::string error;
        int line = 0;
        if (!winsys::ParseHive(winsys::SampleHiveText(), parsed, &error, &line))
            std::abort();
        return parsed;
    }();
    return hive;
}

// Any fixed time: the DHCP lease times then repeat from run to run.
const int64_t kNow = 1700000000;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::string> args =
        winsys::SplitCommandLine(std::string(reinterpret_cast<const char*>(data), size));
    netsh::Command cmd;
    const netsh::Result parsed = netsh::Parse(args, &cmd);
    if (parsed.status != netsh::Status::Ok) {
        if (netsh::Message(parsed).empty())
            std::abort();   // every refusal is reported
        return 0;
    }
    if (cmd.iface.empty())
        std::abort();

    winsys::Hive hive = SampleHive();
    const netsh::Result applied = netsh::Apply(hive, cmd, kNow);
    if (applied.status != netsh::Status::Ok) {
        if (netsh::Message(applied).empty() || hive != SampleHive())
            std::abort();
        return 0;
    }
    winsys::Hive again;
    std::string error;
    int line = 0;
    if (!winsys::ParseHive(winsys::FormatHive(hive), again, &error, &line) || again != hive)
        std::abort();
    return 0;
}
