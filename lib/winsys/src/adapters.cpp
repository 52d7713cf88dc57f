// Adapters of the hive and the DHCP client's effect on them.
#include "adapters.h"

#include <winsys/hive.h>

#include "text.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <ctime>

namespace winsys {

namespace {

bool AllDigits(const std::string& s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<uint8_t> ParseMac(const std::string& text)
{
    std::vector<uint8_t> mac;
    std::string hex;
    for (char c : text)
        if (std::isxdigit(static_cast<unsigned char>(c)))
            hex += c;
    for (size_t i = 0; i + 1 < hex.size() && mac.size() < 8; i += 2)
        mac.push_back(static_cast<uint8_t>(std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16)));
    return mac;
}

}  // namespace

std::string TcpipKeyOf(const std::string& guid)
{
    return std::string(keys::kTcpipInterfaces) + "\\" + guid;
}

std::string NetBTKeyOf(const std::string& guid)
{
    return std::string(keys::kNetBTInterfaces) + "\\Tcpip_" + guid;
}

std::vector<AdapterRef> ListAdapters(const Hive& h)
{
    std::vector<AdapterRef> list;
    uint32_t highest = 0;
    for (const std::string& sub : h.SubKeys(keys::kAdapterClass)) {
        const std::string k = std::string(keys::kAdapterClass) + "\\" + sub;
        AdapterRef a;
        a.guid = h.GetString(k, "NetCfgInstanceId");
        a.ifType = h.GetDword(k, "*IfType", 6);
        // Miniports without TCP/IP binding, loopback and tunnels are not reported.
        if (a.guid.empty() || !h.HasKey(TcpipKeyOf(a.guid)) || a.ifType == 24 || a.ifType == 131)
            continue;
        a.description = h.GetString(k, "DriverDesc");
        a.classKey = k;
        a.ifIndex = h.GetDword(k, "IfIndex", 0);
        a.connectionName =
            h.GetString(std::string(keys::kNetworkConnections) + "\\" + a.guid + "\\Connection", "Name");
        if (a.connectionName.empty())
            a.connectionName = a.description;
        highest = std::max(highest, a.ifIndex);
        list.push_back(a);
    }
    // An export from a real machine has no IfIndex: number those after the rest.
    for (AdapterRef& a : list)
        if (a.ifIndex == 0)
            a.ifIndex = ++highest;
    return list;
}

bool FindAdapter(const Hive& h, const std::string& indexOrName, AdapterRef* out)
{
    const bool byIndex = AllDigits(indexOrName);
    for (const AdapterRef& a : ListAdapters(h)) {
        const bool match = byIndex ? std::to_string(a.ifIndex) == indexOrName
                                   : EqualNoCase(a.connectionName, indexOrName) || EqualNoCase(a.guid, indexOrName);
        if (match) {
            if (out)
                *out = a;
            return true;
        }
    }
    return false;
}

AdapterState ReadAdapterState(const Hive& h, const AdapterRef& ref, int64_t nowMs)
{
    AdapterState s;
    s.ref = ref;
    const std::string tcp = TcpipKeyOf(ref.guid), nbt = NetBTKeyOf(ref.guid);
    s.dhcp = h.GetDword(tcp, "EnableDHCP", 0) != 0;
    if (s.dhcp) {
        const std::string ip = h.GetString(tcp, "DhcpIPAddress"), mask = h.GetString(tcp, "DhcpSubnetMask");
        s.addresses.emplace_back(ip.empty() ? "0.0.0.0" : ip, mask.empty() ? "0.0.0.0" : mask);
        s.gateways = h.GetMultiString(tcp, "DhcpDefaultGateway");
        s.dhcpServer = h.GetString(tcp, "DhcpServer");
        s.leaseObtained = h.GetDword(tcp, "LeaseObtainedTime");
        s.leaseExpires = h.GetDword(tcp, "LeaseTerminatesTime");
    } else {
        const auto ips = h.GetMultiString(tcp, "IPAddress"), masks = h.GetMultiString(tcp, "SubnetMask");
        for (size_t i = 0; i < ips.size(); ++i)
            s.addresses.emplace_back(ips[i], i < masks.size() ? masks[i] : "0.0.0.0");
        if (s.addresses.empty())
            s.addresses.emplace_back("0.0.0.0", "0.0.0.0");
    }
    if (h.HasKey(keys::kTentative)) {
        for (auto& address : s.addresses) {
            const int64_t until = TentativeUntil(h, ref.guid, address.first);
            if (until > nowMs) {
                address = {"0.0.0.0", "0.0.0.0"};
                s.settlesAt = s.settlesAt ? std::min(s.settlesAt, until) : until;
            }
        }
    }
    for (const std::string& g : h.GetMultiString(tcp, "DefaultGateway"))
        s.gateways.push_back(g);
    s.dns = SplitList(h.GetString(tcp, "NameServer"));
    if (s.dns.empty() && s.dhcp)
        s.dns = SplitList(h.GetString(tcp, "DhcpNameServer"));
    s.wins = h.GetMultiString(nbt, "NameServerList");
    if (s.wins.empty() && s.dhcp)
        s.wins = h.GetMultiString(nbt, "DhcpNameServerList");
    s.mac = ParseMac(h.GetString(ref.classKey, "NetworkAddress"));
    return s;
}

bool TakeDhcpOffer(Hive& h, const std::string& guid)
{
    const std::string offer = std::string(keys::kDhcpOffers) + "\\" + guid;
    const std::string address = h.GetString(offer, "IPAddress");
    if (address.empty())
        return false;
    const std::string tcp = TcpipKeyOf(guid);
    const uint32_t now = static_cast<uint32_t>(std::time(nullptr));
    h.SetString(tcp, "DhcpIPAddress", address);
    h.SetString(tcp, "DhcpSubnetMask", h.GetString(offer, "SubnetMask"));
    h.SetString(tcp, "DhcpServer", h.GetString(offer, "DhcpServer"));
    h.SetString(tcp, "DhcpNameServer", h.GetString(offer, "NameServer"));
    h.SetMultiString(tcp, "DhcpDefaultGateway", h.GetMultiString(offer, "DefaultGateway"));
    h.SetDword(tcp, "LeaseObtainedTime", now);
    h.SetDword(tcp, "LeaseTerminatesTime", now + h.GetDword(offer, "LeaseSeconds", 86400));
    h.SetMultiString(NetBTKeyOf(guid), "DhcpNameServerList", h.GetMultiString(offer, "WinsServers"));
    return true;
}

void ReleaseDhcpLease(Hive& h, const std::string& guid)
{
    const std::string tcp = TcpipKeyOf(guid);
    h.SetString(tcp, "DhcpIPAddress", "0.0.0.0");
    h.SetString(tcp, "DhcpSubnetMask", "0.0.0.0");
    h.SetString(tcp, "DhcpServer", "255.255.255.255");
    h.SetString(tcp, "DhcpNameServer", "");
    h.SetMultiString(tcp, "DhcpDefaultGateway", {});
    h.SetDword(tcp, "LeaseObtainedTime", 0);
    h.SetDword(tcp, "LeaseTerminatesTime", 0);
    h.SetMultiString(NetBTKeyOf(guid), "DhcpNameServerList", {});
}

}  // namespace winsys
