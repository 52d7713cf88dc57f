// The built-in hosts: the sample machine and generated ones for scale tests.
#include <winsys/hive.h>
#include <winsys/host.h>

#include <cstdio>
#include <ctime>

namespace winsys {

namespace {

const std::string kHKLM = "HKEY_LOCAL_MACHINE";

struct AdapterSpec {
    std::string guid, description, connection, mac;
    uint32_t ifIndex, ifType;
};

struct LeaseSpec {
    std::string address, mask, server, dns;
    std::vector<std::string> gateways, wins;
};

std::string Padded(uint32_t n, int width)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*u", width, n);
    return buf;
}

std::string TcpipKey(const std::string& guid)
{
    return std::string(keys::kTcpipInterfaces) + "\\" + guid;
}

std::string NetBTKey(const std::string& guid)
{
    return std::string(keys::kNetBTInterfaces) + "\\Tcpip_" + guid;
}

void AddAdapter(Hive& h, int ordinal, const AdapterSpec& a)
{
    const std::string cls = std::string(keys::kAdapterClass) + "\\" + Padded(ordinal, 4);
    h.SetString(cls, "DriverDesc", a.description);
    h.SetString(cls, "NetCfgInstanceId", a.guid);
    h.SetDword(cls, "*IfType", a.ifType);
    h.SetString(cls, "NetworkAddress", a.mac);
    h.SetDword(cls, "IfIndex", a.ifIndex);
    h.SetString(std::string(keys::kNetworkConnections) + "\\" + a.guid + "\\Connection", "Name", a.connection);
}

void SetStatic(Hive& h, const std::string& guid, const std::vector<std::string>& ips,
               const std::vector<std::string>& masks, const std::vector<std::string>& gateways,
               const std::string& dns, const std::vector<std::string>& wins)
{
    const std::string k = TcpipKey(guid);
    h.SetDword(k, "EnableDHCP", 0);
    h.SetMultiString(k, "IPAddress", ips);
    h.SetMultiString(k, "SubnetMask", masks);
    h.SetMultiString(k, "DefaultGateway", gateways);
    h.SetMultiString(k, "DefaultGatewayMetric", std::vector<std::string>(gateways.size(), "0"));
    h.SetString(k, "NameServer", dns);
    h.SetMultiString(NetBTKey(guid), "NameServerList", wins);
}

// A DHCP adapter holding the lease its server offers.
void SetDhcp(Hive& h, const std::string& guid, const LeaseSpec& lease)
{
    const std::string k = TcpipKey(guid);
    h.SetDword(k, "EnableDHCP", 1);
    h.SetMultiString(k, "IPAddress", {"0.0.0.0"});
    h.SetMultiString(k, "SubnetMask", {"0.0.0.0"});
    h.SetMultiString(k, "DefaultGateway", {});
    h.SetString(k, "NameServer", "");
    h.SetMultiString(NetBTKey(guid), "NameServerList", {});
    const std::string offer = std::string(keys::kDhcpOffers) + "\\" + guid;
    h.SetString(offer, "IPAddress", lease.address);
    h.SetString(offer, "SubnetMask", lease.mask);
    h.SetMultiString(offer, "DefaultGateway", lease.gateways);
    h.SetString(offer, "DhcpServer", lease.server);
    h.SetString(offer, "NameServer", lease.dns);
    h.SetMultiString(offer, "WinsServers", lease.wins);
    h.SetDword(offer, "LeaseSeconds", 8 * 24 * 3600);
    TakeDhcpOffer(h, guid);
}

// Host parts of the generated subnet prefix + "n": the first gateway and DNS
// server are .1, further gateways count down from .254 and further servers up
// from .101, apart from the addresses (.5 upwards).
std::vector<std::string> Gateways(const std::string& prefix, int count)
{
    std::vector<std::string> list;
    for (int j = 0; j < count; ++j)
        list.push_back(prefix + std::to_string(j == 0 ? 1 : 255 - j));
    return list;
}

std::vector<std::string> Servers(const std::string& prefix, int count)
{
    std::vector<std::string> list;
    for (int j = 0; j < count; ++j)
        list.push_back(prefix + std::to_string(j == 0 ? 1 : 100 + j));
    return list;
}

std::string Join(const std::vector<std::string>& list, const char* separator)
{
    std::string out;
    for (const std::string& s : list)
        out += (out.empty() ? "" : separator) + s;
    return out;
}

void SetIdentity(Hive& h)
{
    h.SetString(keys::kComputerName, "ComputerName", "WS01");
    h.SetString(keys::kActiveComputerName, "ComputerName", "WS01");
    h.SetString(keys::kTcpipParameters, "Hostname", "WS01");
    h.SetString(keys::kTcpipParameters, "NV Hostname", "WS01");
    h.SetString(keys::kTcpipParameters, "Domain", "lan");
    h.SetString(keys::kTcpipParameters, "NV Domain", "lan");
    h.SetString(keys::kEmulatedHost, "Membership", "WORKGROUP");
    h.SetDword(keys::kEmulatedHost, "MembershipType", 2);
    h.SetMultiString(keys::kEmulatedHost, "JoinableDomains", {"CORP"});
    h.SetMultiString(keys::kEmulatedHost, "LocalDrives", {"C:"});
}

void AddConnection(Hive& h, int n, const std::string& local, const std::string& remote)
{
    const std::string k = std::string(keys::kConnections) + "\\" + std::to_string(n);
    h.SetString(k, "LocalName", local);
    h.SetString(k, "RemoteName", remote);
    h.SetDword(k, "OpenFiles", 0);
}

void RememberConnection(Hive& h, const std::string& letter, const std::string& remote)
{
    const std::string k = std::string(keys::kUserNetwork) + "\\" + letter;
    h.SetString(k, "RemotePath", remote);
    h.SetString(k, "UserName", "");
    h.SetString(k, "ProviderName", "Microsoft Windows Network");
    h.SetDword(k, "ProviderType", 0x20000);
    h.SetDword(k, "ConnectionType", 1);
    h.SetDword(k, "DeferFlags", 4);
}

}  // namespace

std::string SampleHiveText()
{
    Hive h;
    const std::string wired = "{6B1D8F3A-2C4E-4F5B-9A7D-1E2F3A4B5C6D}";
    const std::string wireless = "{9C8B7A6F-5E4D-4C3B-8A29-1F0E9D8C7B6A}";
    AddAdapter(h, 0, {wired, "Gigabit Ethernet Controller", "Local Area Connection", "00155D010203", 11, 6});
    AddAdapter(h, 1, {wireless, "Wireless Network Adapter", "Wireless Network Connection", "0013CE4A5B6C", 14, 71});
    SetStatic(h, wired, {"192.168.1.5"}, {"255.255.255.0"}, {"192.168.1.1"}, "192.168.1.1,10.0.0.1",
              {"192.168.1.2"});
    SetDhcp(h, wireless, {"10.0.0.23", "255.255.255.0", "10.0.0.1", "10.0.0.1", {"10.0.0.1"}, {"10.0.0.2"}});
    SetIdentity(h);
    h.SetMultiString(keys::kEmulatedHost, "Shares",
                     {"\\\\fileserver\\public", "\\\\fileserver\\scans", "\\\\fileserver\\home"});
    AddConnection(h, 0, "Z:", "\\\\fileserver\\public");
    AddConnection(h, 1, "", "\\\\fileserver\\scans");
    RememberConnection(h, "Z", "\\\\fileserver\\public");
    return FormatHive(h);
}

std::string GeneratedHiveText(int adapters)
{
    GeneratedShape shape;
    shape.adapters = adapters;
    return GeneratedHiveText(shape);
}

std::string GeneratedHiveText(const GeneratedShape& shape)
{
    Hive h;
    for (int i = 0; i < shape.adapters; ++i) {
        char guid[64], mac[16];
        std::snprintf(guid, sizeof guid, "{00000000-0000-4000-8000-%012d}", i);
        std::snprintf(mac, sizeof mac, "02%010X", unsigned(i));
        const std::string n = std::to_string(i + 1);
        AddAdapter(h, i, {guid, "Generated Adapter #" + n, "Connection " + n, mac, uint32_t(100 + i), 6});
        const std::string net = std::to_string(16 + (i / 250) % 16) + "." + std::to_string(i % 250);
        if (i % 2 == 0) {
            const std::string prefix = "172." + net + ".";
            std::vector<std::string> ips, masks;
            for (int j = 0; j < shape.addresses; ++j) {
                ips.push_back(prefix + std::to_string(5 + j));
                masks.push_back("255.255.255.0");
            }
            SetStatic(h, guid, ips, masks, Gateways(prefix, shape.gateways), Join(Servers(prefix, shape.dns), ","),
                      {});
        } else {
            const std::string prefix = "10." + net + ".";
            SetDhcp(h, guid, {prefix + "23", "255.255.255.0", prefix + "1", Join(Servers(prefix, shape.dns), " "),
                              Gateways(prefix, shape.gateways), {}});
        }
    }
    SetIdentity(h);
    h.SetMultiString(keys::kEmulatedHost, "Shares", {"\\\\fileserver\\public"});
    return FormatHive(h);
}

}  // namespace winsys
