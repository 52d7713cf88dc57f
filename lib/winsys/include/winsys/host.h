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
// The shape of a generated host: every static adapter has `addresses` IP addresses, `gateways` default
// gateways and `dns` DNS servers; every DHCP adapter's server offers that many gateways and DNS servers.
struct GeneratedShape {
    int adapters = 1;
    int addresses = 1, gateways = 1, dns = 1;   // 1 to kMaxGeneratedPerAdapter
};
inline constexpr int kMaxGeneratedPerAdapter = 32;
bool InitGeneratedHost(const std::string& dir, int adapters, std::string* error = nullptr);
bool InitGeneratedHost(const std::string& dir, const GeneratedShape& shape, std::string* error = nullptr);
bool EnsureDefaultHost();   // creates the sample host at HostRoot() when missing
std::string ShowHost(const std::string& dir);   // ipconfig /all style text
bool CheckHost(const std::string& dir, std::string* message);   // names the first bad line

// The text of the built-in sample hive and of a generated one.
std::string SampleHiveText();
std::string GeneratedHiveText(int adapters);
std::string GeneratedHiveText(const GeneratedShape& shape);

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
// "MachineGuid": what tells this machine from every other.
inline constexpr char kCryptography[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Cryptography";
inline constexpr char kActiveComputerName[] =
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ActiveComputerName";
// What Windows keeps outside the registry:
//   values "Membership" (REG_SZ), "MembershipType" (DWORD, NETSETUP_JOIN_STATUS: 2 workgroup, 3 domain),
//   "JoinableDomains", "Shares", "LocalDrives", "OfflineServers" (REG_MULTI_SZ);
//     LocalDrives: the machine's own drives ("D:") besides C:, which it always has;
//   subkey DhcpOffers\{GUID}: "IPAddress", "SubnetMask", "DhcpServer", "NameServer" (blank-separated)
//     (REG_SZ), "DefaultGateway", "WinsServers" (REG_MULTI_SZ), "LeaseSeconds" (DWORD);
//   subkey Connections\<n> (in connection order): "LocalName" ("Z:" or ""), "RemoteName" (REG_SZ),
//     "OpenFiles" (DWORD, non-zero: files are open on it);
//   subkey Tentative\{GUID}: one REG_QWORD per address of the adapter that is still tentative, named by
//     the address: the wall-clock time (milliseconds since 1970, UTC) at which it becomes usable.
inline constexpr char kEmulatedHost[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Emulated Host";
inline constexpr char kDhcpOffers[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Emulated Host\\DhcpOffers";
inline constexpr char kConnections[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Emulated Host\\Connections";
inline constexpr char kTentative[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Emulated Host\\Tentative";
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

// Settling of new addresses. Windows does not use an address until duplicate
// address detection has ended; meanwhile GetAdaptersInfo lists it as 0.0.0.0.
// WINSYS_SETTLE_MS=N (N > 0) gives an address that netsh sets or adds, and a
// lease just taken, N milliseconds of that state; without it (or 0) nothing
// is ever tentative and nothing is recorded.
int64_t SettleMsFromEnvironment();   // 0 when unset or not a number from 0 to kMaxSettleMs
inline constexpr int64_t kMaxSettleMs = 3600000;
int64_t WallClockMs();               // milliseconds since 1970, UTC: the same in every process
// After the adapter's addresses changed: each address of `fresh` is tentative
// until nowMs + settleMs (with settleMs 0 it is usable at once), and records of
// addresses the adapter no longer has, or that have settled, go. Touches the
// hive only when there is something to record or to forget.
void RecordSettling(Hive& h, const std::string& guid, const std::vector<std::string>& fresh, int64_t nowMs,
                    int64_t settleMs);
// When the adapter's address becomes usable (ms since 1970); 0 when it is not tentative.
int64_t TentativeUntil(const Hive& h, const std::string& guid, const std::string& address);
// The addresses the adapter is configured with: its lease on DHCP, else its static ones.
std::vector<std::string> ConfiguredAddresses(const Hive& h, const std::string& guid);

}  // namespace winsys
