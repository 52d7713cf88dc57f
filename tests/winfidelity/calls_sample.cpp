// What the reading code gets from the emulated sample host: two adapters, a
// static wired one (index 11) and a wireless one on DHCP (index 14).
#include "calls.h"
#include "iphelper.h"

#include <cstring>

namespace winfidelity {

namespace {

const char kWired[] = "{6B1D8F3A-2C4E-4F5B-9A7D-1E2F3A4B5C6D}";
const char kWireless[] = "{9C8B7A6F-5E4D-4C3B-8A29-1F0E9D8C7B6A}";

// The application's reading of a fixed-size field: it need not be NUL-terminated.
template <size_t N> std::string FieldText(const char (&text)[N])
{
    size_t length = 0;
    while (length < N && text[length] != 0)
        ++length;
    return std::string(text, length);
}

void Expect(Report& report, const std::string& name, const std::string& actual, const std::string& expected)
{
    report.Add(name, 0, actual.size(), 0, actual == expected, "\"" + actual + "\", expected \"" + expected + "\"");
}

void Expect(Report& report, const std::string& name, unsigned long long actual, unsigned long long expected)
{
    report.Add(name, 0, actual, 0, actual == expected, "expected " + std::to_string(expected));
}

std::string FirstDnsServer(DWORD ifIndex)
{
    ULONG size = 0;
    GetPerAdapterInfo(ifIndex, nullptr, &size);
    if (size == 0)
        return std::string();
    std::unique_ptr<IP_PER_ADAPTER_INFO, FreeDeleter> info(static_cast<IP_PER_ADAPTER_INFO*>(std::malloc(size)));
    if (!info || GetPerAdapterInfo(ifIndex, info.get(), &size) != ERROR_SUCCESS)
        return std::string();
    return FieldText(info->DnsServerList.IpAddress.String);
}

void CheckWired(Report& report, const IP_ADAPTER_INFO& a)
{
    Expect(report, "sample.wired.name", FieldText(a.AdapterName), kWired);
    Expect(report, "sample.wired.description", FieldText(a.Description), "Gigabit Ethernet Controller");
    Expect(report, "sample.wired.index", a.Index, 11);
    Expect(report, "sample.wired.type", a.Type, MIB_IF_TYPE_ETHERNET);
    Expect(report, "sample.wired.dhcp", a.DhcpEnabled, 0);
    Expect(report, "sample.wired.mac", a.AddressLength, 6);
    Expect(report, "sample.wired.mac.last", a.Address[5], 0x03);
    Expect(report, "sample.wired.address", FieldText(a.IpAddressList.IpAddress.String), "192.168.1.5");
    Expect(report, "sample.wired.mask", FieldText(a.IpAddressList.IpMask.String), "255.255.255.0");
    Expect(report, "sample.wired.gateway", FieldText(a.GatewayList.IpAddress.String), "192.168.1.1");
    Expect(report, "sample.wired.wins", FieldText(a.PrimaryWinsServer.IpAddress.String), "192.168.1.2");
    Expect(report, "sample.wired.dns", FirstDnsServer(a.Index), "192.168.1.1");
}

void CheckWireless(Report& report, const IP_ADAPTER_INFO& a)
{
    Expect(report, "sample.wireless.name", FieldText(a.AdapterName), kWireless);
    Expect(report, "sample.wireless.index", a.Index, 14);
    Expect(report, "sample.wireless.type", a.Type, IF_TYPE_IEEE80211);
    Expect(report, "sample.wireless.dhcp", a.DhcpEnabled, 1);
    Expect(report, "sample.wireless.address", FieldText(a.IpAddressList.IpAddress.String), "10.0.0.23");
    Expect(report, "sample.wireless.gateway", FieldText(a.GatewayList.IpAddress.String), "10.0.0.1");
    Expect(report, "sample.wireless.dhcpserver", FieldText(a.DhcpServer.IpAddress.String), "10.0.0.1");
    Expect(report, "sample.wireless.lease", a.LeaseExpires > a.LeaseObtained ? 1 : 0, 1);
    Expect(report, "sample.wireless.dns", FirstDnsServer(a.Index), "10.0.0.1");
}

// The application's registry read: 1024 bytes, the type not asked for.
LSTATUS ReadString(const char* key, const char* value, std::string* text)
{
    HKEY hKey = nullptr;
    LSTATUS rc = RegOpenKeyA(HKEY_LOCAL_MACHINE, key, &hKey);
    if (rc != ERROR_SUCCESS)
        return rc;
    char buffer[1024] = {};
    DWORD bufferSize = sizeof(buffer);
    rc = RegQueryValueExA(hKey, value, nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), &bufferSize);
    if (rc == ERROR_SUCCESS)
        *text = FieldText(buffer);
    RegCloseKey(hKey);
    return rc;
}

void ExpectRegistry(Report& report, const std::string& name, const char* key, const char* value,
                    const std::string& expected)
{
    std::string text;
    const LSTATUS rc = ReadString(key, value, &text);
    report.Add(name, rc, text.size(), 0, rc == ERROR_SUCCESS && text == expected,
               "\"" + text + "\", expected \"" + expected + "\"");
}

std::string WirelessAddress()
{
    const AdapterList list = ReadAdapters();
    const IP_ADAPTER_INFO* wireless = list.adapters ? list.adapters->Next : nullptr;
    return wireless ? FieldText(wireless->IpAddressList.IpAddress.String) : std::string();
}

} // namespace

void CheckSampleAdapters(Report& report)
{
    const AdapterList list = ReadAdapters();
    const IP_ADAPTER_INFO* first = list.adapters.get();
    const IP_ADAPTER_INFO* second = first ? first->Next : nullptr;
    Expect(report, "sample.adapters", second ? (second->Next ? 3 : 2) : first ? 1 : 0, 2);
    if (!second)
        return;
    CheckWired(report, *first);
    CheckWireless(report, *second);
}

void CheckSampleRegistry(Report& report)
{
    const char tcpip[] = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
    ExpectRegistry(report, "sample.reg.suffix", tcpip, "NV Domain", "lan");
    ExpectRegistry(report, "sample.reg.pendingname", "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName",
                   "ComputerName", "WS01");
    const std::string wired = std::string(tcpip) + "\\Interfaces\\" + kWired;
    ExpectRegistry(report, "sample.reg.nameserver", wired.c_str(), "NameServer", "192.168.1.1,10.0.0.1");
    // A multi-string reads as its first string.
    const std::string netbt =
        std::string("SYSTEM\\CurrentControlSet\\Services\\NetBT\\Parameters\\Interfaces\\Tcpip_") + kWired;
    ExpectRegistry(report, "sample.reg.wins", netbt.c_str(), "NameServerList", "192.168.1.2");
}

// Release and renew through the interface table, as the application does.
void CheckDhcp(Report& report)
{
    const AdapterList list = ReadAdapters();
    const IP_ADAPTER_INFO* wireless = list.adapters ? list.adapters->Next : nullptr;
    const InterfaceTable interfaces = ReadInterfaces();
    IP_ADAPTER_INDEX_MAP* entry = wireless ? FindInterface(interfaces, *wireless) : nullptr;
    if (!entry) {
        report.Fail("sample.dhcp.interface", "the wireless adapter has no interface entry");
        return;
    }
    DWORD rc = IpReleaseAddress(entry);
    std::string address = WirelessAddress();
    report.Add("sample.dhcp.release", rc, address.size(), 0, rc == NO_ERROR && address == "0.0.0.0",
               "released address reads \"" + address + "\"");
    rc = IpRenewAddress(entry);
    address = WirelessAddress();
    report.Add("sample.dhcp.renew", rc, address.size(), 0, rc == NO_ERROR && address == "10.0.0.23",
               "renewed address reads \"" + address + "\"");
}

} // namespace winfidelity
