// Switching an adapter's address to DHCP: the lease comes from the emulated
// DHCP server's offer, as IpRenewAddress takes it.
#include "netshapply.h"

#include <winsys/host.h>

namespace netsh {

namespace {

// Windows picks its automatic private address from a hash of the adapter;
// the GUID stands in for the hardware address so the choice is stable.
std::string AutomaticAddress(const Adapter& a)
{
    uint32_t hash = 2166136261u;
    for (char c : a.guid)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return "169.254." + std::to_string(1 + hash % 254) + "." + std::to_string((hash >> 8) % 256);
}

}  // namespace

void EnableDhcp(winsys::Hive& hive, const Adapter& a, int64_t now)
{
    const std::string& k = a.tcpipKey;
    hive.SetDword(k, "EnableDHCP", 1);
    hive.SetMultiString(k, "IPAddress", {"0.0.0.0"});
    hive.SetMultiString(k, "SubnetMask", {"0.0.0.0"});
    hive.SetMultiString(k, "DefaultGateway", {});
    hive.SetMultiString(k, "DefaultGatewayMetric", {});
    if (winsys::TakeDhcpOffer(hive, a.guid))
        return;
    // No server answers: Windows configures itself from 169.254.0.0/16.
    hive.SetString(k, "DhcpIPAddress", AutomaticAddress(a));
    hive.SetString(k, "DhcpSubnetMask", "255.255.0.0");
    hive.SetString(k, "DhcpServer", "255.255.255.255");
    hive.SetString(k, "DhcpNameServer", "");
    hive.SetMultiString(k, "DhcpDefaultGateway", {});
    hive.SetDword(k, "LeaseObtainedTime", uint32_t(now));
    hive.SetDword(k, "LeaseTerminatesTime", uint32_t(now));
    hive.SetMultiString(a.netbtKey, "DhcpNameServerList", {});
}

}  // namespace netsh
