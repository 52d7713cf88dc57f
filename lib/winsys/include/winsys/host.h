// The emulated Windows host: a folder holding registry.reg. For tests,
// winhost, netsh.exe and benchmarks; the application never includes this.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace winsys {

class Hive;

std::string HostRoot();   // WINSYS_ROOT, else $XDG_DATA_HOME/netconfig/host (~/.local/share/...)
std::string HivePath(const std::string& root = HostRoot());   // root + "/registry.reg"
bool InitSampleHost(const std::string& dir, std::string* error = nullptr);
bool InitGeneratedHost(const std::string& dir, int adapters, std::string* error = nullptr);
bool EnsureDefaultHost();   // creates the sample host at HostRoot() when missing
std::string ShowHost(const std::string& dir);   // ipconfig /all style text
bool CheckHost(const std::string& dir, std::string* message);   // names the first bad line

// The text of the built-in sample hive and of a generated one.
std::string SampleHiveText();
std::string GeneratedHiveText(int adapters);

// Key paths of the hive. Adapter keys append "\\" + the adapter GUID
// ("\\Tcpip_" + GUID for NetBT, "\\" + GUID + "\\Connection" for the name).
namespace keys {
inline constexpr char kAdapterClass[] =
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
inline constexpr char kNetworkConnections[] =
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
inline constexpr char kTcpipParameters[] = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
inline constexpr char kTcpipInterfaces[] =
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
inline constexpr char kNetBTInterfaces[] =
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\NetBT\\Parameters\\Interfaces";
inline constexpr char kComputerName[] =
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName";
inline constexpr char kActiveComputerName[] =
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ActiveComputerName";
// What Windows keeps outside the registry:
//   values "Membership" (REG_SZ), "MembershipType" (DWORD, NETSETUP_JOIN_STATUS: 2 workgroup, 3 domain),
//   "JoinableDomains", "Shares", "LocalDrives", "OfflineServers" (REG_MULTI_SZ);
//     LocalDrives: the machine's own drives ("D:") besides C:, which it always has;
//   subkey DhcpOffers\{GUID}: "IPAddress", "SubnetMask", "DhcpServer", "NameServer" (blank-separated)
//     (REG_SZ), "DefaultGateway", "WinsServers" (REG_MULTI_SZ), "LeaseSeconds" (DWORD);
//   subkey Connections\<n> (in connection order): "LocalName" ("Z:" or ""), "RemoteName" (REG_SZ),
//     "OpenFiles" (DWORD, non-zero: files are open on it).
inline constexpr char kEmulatedHost[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Emulated Host";
inline constexpr char kDhcpOffers[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Emulated Host\\DhcpOffers";
inline constexpr char kConnections[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Emulated Host\\Connections";
inline constexpr char kUserNetwork[] = "HKEY_CURRENT_USER\\Network";   // remembered drive letters
}  // namespace keys

// One network adapter of a hive, in report order.
struct AdapterRef {
    std::string guid;             // "{...}", the adapter name
    std::string description;      // DriverDesc
    std::string connectionName;   // the connection's friendly name (netsh's interface name)
    uint32_t ifIndex = 0;
    uint32_t ifType = 6;          // MIB_IF_TYPE_ETHERNET or IF_TYPE_IEEE80211
    std::string classKey;         // full path of its network class subkey
};
std::vector<AdapterRef> ListAdapters(const Hive& h);
// Finds an adapter by interface index ("7") or by connection name (case-insensitive).
bool FindAdapter(const Hive& h, const std::string& indexOrName, AdapterRef* out);

// The DHCP client of an adapter: take the server's offer as the current lease
// (false, nothing changed, when the host has no offer for it) or drop the lease.
bool TakeDhcpOffer(Hive& h, const std::string& guid);
void ReleaseDhcpLease(Hive& h, const std::string& guid);

}  // namespace winsys
