// "interface ip set/add/delete address": the static addresses, masks and
// default gateways of an adapter.
#include "netshapply.h"

#include <algorithm>

namespace netsh {

namespace {

const char kNoAddress[] = "0.0.0.0";

using List = std::vector<std::string>;

struct AddressState {
    List addresses, masks, gateways, metrics;
};

// Windows keeps "0.0.0.0" in IPAddress when an adapter has no static address.
List WithoutPlaceholder(List list)
{
    list.erase(std::remove(list.begin(), list.end(), kNoAddress), list.end());
    return list;
}

AddressState Read(const winsys::Hive& hive, const Adapter& a)
{
    AddressState s;
    s.addresses = hive.GetMultiString(a.tcpipKey, "IPAddress");
    s.masks = hive.GetMultiString(a.tcpipKey, "SubnetMask");
    s.gateways = hive.GetMultiString(a.tcpipKey, "DefaultGateway");
    s.metrics = hive.GetMultiString(a.tcpipKey, "DefaultGatewayMetric");
    s.masks.resize(s.addresses.size(), kNoAddress);
    s.metrics.resize(s.gateways.size(), "0");
    return s;
}

void Write(winsys::Hive& hive, const Adapter& a, AddressState s)
{
    if (s.addresses.empty()) {
        s.addresses = {kNoAddress};
        s.masks = {kNoAddress};
    }
    hive.SetMultiString(a.tcpipKey, "IPAddress", s.addresses);
    hive.SetMultiString(a.tcpipKey, "SubnetMask", s.masks);
    hive.SetMultiString(a.tcpipKey, "DefaultGateway", s.gateways);
    hive.SetMultiString(a.tcpipKey, "DefaultGatewayMetric", s.metrics);
}

ptrdiff_t Find(const List& list, const std::string& item)
{
    const auto it = std::find(list.begin(), list.end(), item);
    return it == list.end() ? -1 : it - list.begin();
}

void EraseAt(List& list, ptrdiff_t i)
{
    if (i >= 0 && i < ptrdiff_t(list.size()))
        list.erase(list.begin() + i);
}

Result SetStatic(winsys::Hive& hive, const Adapter& a, const Command& cmd)
{
    AddressState s;
    s.addresses = {cmd.addr};
    s.masks = {cmd.mask};
    // Without a gateway the old ones go, as they would not fit the new subnet.
    if (!cmd.gateway.empty() && cmd.gateway != "none") {
        s.gateways = {cmd.gateway};
        s.metrics = {std::to_string(cmd.gwmetric)};
    }
    Write(hive, a, s);
    hive.SetDword(a.tcpipKey, "EnableDHCP", 0);
    return {};
}

Result Add(winsys::Hive& hive, const Adapter& a, const Command& cmd)
{
    AddressState s = Read(hive, a);
    if (!cmd.addr.empty()) {
        if (hive.GetDword(a.tcpipKey, "EnableDHCP", 0) != 0)
            return {Status::BadParameter, {}};   // DHCP owns the address
        const List kept = WithoutPlaceholder(s.addresses);
        // Windows' IP stack refuses a duplicate with ERROR_OBJECT_ALREADY_EXISTS.
        if (Find(kept, cmd.addr) >= 0)
            return {Status::AlreadyExists, {}};
        if (kept.size() != s.addresses.size()) {
            s.addresses.clear();
            s.masks.clear();
        }
        s.addresses.push_back(cmd.addr);
        s.masks.push_back(cmd.mask);
    }
    if (!cmd.gateway.empty()) {
        if (Find(s.gateways, cmd.gateway) >= 0)
            return {Status::AlreadyExists, {}};
        s.gateways.push_back(cmd.gateway);
        s.metrics.push_back(std::to_string(cmd.gwmetric));
    }
    Write(hive, a, s);
    return {};
}

Result Delete(winsys::Hive& hive, const Adapter& a, const Command& cmd)
{
    AddressState s = Read(hive, a);
    const ptrdiff_t addr = cmd.addr.empty() ? -1 : Find(WithoutPlaceholder(s.addresses), cmd.addr);
    const ptrdiff_t gateway = cmd.gateway.empty() || cmd.gateway == "all" ? -1 : Find(s.gateways, cmd.gateway);
    if ((!cmd.addr.empty() && addr < 0) || (gateway < 0 && !cmd.gateway.empty() && cmd.gateway != "all"))
        return {Status::NotFound, {}};
    if (addr >= 0) {
        const ptrdiff_t at = Find(s.addresses, cmd.addr);
        EraseAt(s.addresses, at);
        EraseAt(s.masks, at);
    }
    if (cmd.gateway == "all") {
        s.gateways.clear();
        s.metrics.clear();
    } else if (gateway >= 0) {
        EraseAt(s.gateways, gateway);
        EraseAt(s.metrics, gateway);
    }
    Write(hive, a, s);
    return {};
}

}  // namespace

Result ApplyAddress(winsys::Hive& hive, const Adapter& a, const Command& cmd, int64_t now)
{
    switch (cmd.verb) {
    case Verb::Set:
        if (cmd.source == Source::Dhcp) {
            if (hive.GetDword(a.tcpipKey, "EnableDHCP", 0) != 0)
                return {Status::DhcpAlreadyEnabled, {}};
            EnableDhcp(hive, a, now);
            return {};
        }
        return SetStatic(hive, a, cmd);
    case Verb::Add:
        return Add(hive, a, cmd);
    case Verb::Delete:
        return Delete(hive, a, cmd);
    }
    return {};
}

}  // namespace netsh
