#include "netshapply.h"

#include "netshtext.h"

#include <winsys/host.h>

#include <ctime>

namespace netsh {

Result FindAdapter(const winsys::Hive& hive, const std::string& name, Adapter* out)
{
    // Windows' netsh knows an interface by its index or its connection name
    // only, not by the adapter's description or GUID.
    uint32_t wanted = 0;
    const bool byIndex = ParseNumber(name, 0, 999999999, &wanted);
    for (const winsys::AdapterRef& a : winsys::ListAdapters(hive)) {
        if (byIndex ? a.ifIndex == wanted : EqualNoCase(a.connectionName, name)) {
            *out = Adapter{a.guid, std::string(winsys::keys::kTcpipInterfaces) + "\\" + a.guid,
                           std::string(winsys::keys::kNetBTInterfaces) + "\\Tcpip_" + a.guid, a.ifIndex};
            return {};
        }
    }
    return {byIndex ? Status::NotFound : Status::BadInterface, {}};
}

Result Apply(winsys::Hive& hive, const Command& cmd, int64_t now)
{
    Adapter adapter;
    Result r = FindAdapter(hive, cmd.iface, &adapter);
    if (r.status != Status::Ok)
        return r;
    if (cmd.object == Object::Address)
        return ApplyAddress(hive, adapter, cmd, now);
    return ApplyServers(hive, adapter, cmd);
}

namespace {

// The addresses an applied address command put on the adapter are tentative
// for settleMs; those it removed lose their records.
void RecordNewAddresses(winsys::Hive& hive, const Command& cmd, int64_t settleMs)
{
    Adapter adapter;
    if (FindAdapter(hive, cmd.iface, &adapter).status != Status::Ok)
        return;
    std::vector<std::string> fresh;
    if (cmd.verb == Verb::Set && cmd.source == Source::Dhcp)
        fresh = winsys::ConfiguredAddresses(hive, adapter.guid);   // the lease
    else if (cmd.verb != Verb::Delete && !cmd.addr.empty())
        fresh = {cmd.addr};
    winsys::RecordSettling(hive, adapter.guid, fresh, winsys::WallClockMs(), settleMs);
}

}  // namespace

Result Run(const std::vector<std::string>& args)
{
    Command cmd;
    Result r = Parse(args, &cmd);
    if (r.status != Status::Ok)
        return r;
    Result applied{Status::HiveError, {}};
    const int64_t now = int64_t(std::time(nullptr));
    const int64_t settleMs = winsys::SettleMsFromEnvironment();
    const uint32_t rc = winsys::ModifyHive([&](winsys::Hive& hive) -> uint32_t {
        applied = Apply(hive, cmd, now);
        if (applied.status == Status::Ok && cmd.object == Object::Address)
            RecordNewAddresses(hive, cmd, settleMs);
        return applied.status == Status::Ok ? 0 : 1;
    });
    // The change counts only when it reached the file.
    if (rc != 0 && applied.status == Status::Ok)
        applied.status = Status::HiveError;
    return applied;
}

}  // namespace netsh
