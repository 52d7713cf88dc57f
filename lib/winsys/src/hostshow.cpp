// winhost's views of a host folder: an ipconfig /all style report and a check.
#include <winsys/hive.h>
#include <winsys/host.h>

#include "adapters.h"
#include "connections.h"

#include <cstdio>
#include <ctime>

namespace winsys {

namespace {

std::string Field(const std::string& label, const std::string& value)
{
    std::string line = "   " + label + " ";
    while (line.size() < 37)
        line += line.back() == '.' ? " " : ".";
    return line + (line.back() == '.' ? " : " : ": ") + value + "\n";
}

std::string ListField(const std::string& label, const std::vector<std::string>& values)
{
    if (values.empty())
        return Field(label, "");
    std::string out = Field(label, values[0]);
    for (size_t i = 1; i < values.size(); ++i)
        out += std::string(41, ' ') + values[i] + "\n";
    return out;
}

std::string Mac(const std::vector<uint8_t>& mac)
{
    std::string out;
    char buf[4];
    for (size_t i = 0; i < mac.size(); ++i) {
        std::snprintf(buf, sizeof buf, i ? "-%02X" : "%02X", mac[i]);
        out += buf;
    }
    return out;
}

std::string Time(time_t t)
{
    if (t == 0)
        return std::string();
    char buf[64];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", std::localtime(&t));
    return buf;
}

std::string Identity(const Hive& h)
{
    const bool domain = h.GetDword(keys::kEmulatedHost, "MembershipType", 2) == 3;
    return "Windows IP Configuration\n\n" + Field("Host Name", h.GetString(keys::kTcpipParameters, "Hostname")) +
           Field("Primary Dns Suffix", h.GetString(keys::kTcpipParameters, "Domain")) +
           Field("Pending Computer Name", h.GetString(keys::kComputerName, "ComputerName")) +
           Field("Pending Dns Suffix", h.GetString(keys::kTcpipParameters, "NV Domain")) +
           Field(domain ? "Domain" : "Workgroup", h.GetString(keys::kEmulatedHost, "Membership"));
}

std::string Adapter(const AdapterState& a)
{
    std::vector<std::string> ips, masks;
    for (const auto& p : a.addresses) {
        ips.push_back(p.first);
        masks.push_back(p.second);
    }
    std::string out = "\n" + std::string(a.ref.ifType == 71 ? "Wireless LAN" : "Ethernet") + " adapter " +
                      a.ref.connectionName + ":\n\n";
    out += Field("Description", a.ref.description) + Field("Physical Address", Mac(a.mac)) +
           Field("Adapter Name", a.ref.guid) + Field("Interface Index", std::to_string(a.ref.ifIndex)) +
           Field("Dhcp Enabled", a.dhcp ? "Yes" : "No") + ListField("IP Address", ips) +
           ListField("Subnet Mask", masks) + ListField("Default Gateway", a.gateways);
    if (a.dhcp)
        out += Field("DHCP Server", a.dhcpServer);
    out += ListField("DNS Servers", a.dns) + Field("Primary WINS Server", a.wins.size() > 0 ? a.wins[0] : "") +
           Field("Secondary WINS Server", a.wins.size() > 1 ? a.wins[1] : "");
    if (a.dhcp)
        out += Field("Lease Obtained", Time(a.leaseObtained)) + Field("Lease Expires", Time(a.leaseExpires));
    return out;
}

}  // namespace

std::string ShowHost(const std::string& dir)
{
    Hive h;
    std::string error;
    int line = 0;
    if (!LoadHiveFile(HivePath(dir), h, &error, &line))
        return HivePath(dir) + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + error + "\n";
    std::string out = Identity(h);
    const int64_t now = WallClockMs();
    for (const AdapterRef& ref : ListAdapters(h))
        out += Adapter(ReadAdapterState(h, ref, now));
    out += "\nNetwork connections:\n\n";
    for (const Connection& c : ReadConnections(h))
        out += "   " + (c.local.empty() ? std::string("  ") : c.local) + "  " + c.remote +
               (c.openFiles ? "  (files open)" : "") + "\n";
    return out;
}

bool CheckHost(const std::string& dir, std::string* message)
{
    Hive h;
    std::string error;
    int line = 0;
    if (!LoadHiveFile(HivePath(dir), h, &error, &line)) {
        if (message)
            *message = HivePath(dir) + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + error;
        return false;
    }
    const size_t adapters = ListAdapters(h).size();
    if (message)
        *message = HivePath(dir) + ": OK, " + std::to_string(adapters) + (adapters == 1 ? " adapter" : " adapters");
    return true;
}

}  // namespace winsys
