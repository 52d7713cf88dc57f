#include "configreader.h"

#include "registrykeys.h"
#include "winresources.h"

#include "netprotocol.h"

namespace {

const DWORD kRegistryBufferSize = 1024; // longer values read as empty

// The system's fixed-size text fields need not be NUL-terminated when full.
template <size_t N> QString SystemText(const char (&text)[N])
{
    return QString::fromLocal8Bit(text, int(qstrnlen(text, N)));
}

CIPAddress AddressOf(const IP_ADDR_STRING& entry)
{
    return CIPAddress(SystemText(entry.IpAddress.String));
}

// The usual two calls (size, then data), repeated while the data grows: a
// netsh.exe writing at the same time can add entries between them.
template <typename T, typename Call> ULONG QueryGrowing(CSystemBuffer<T>& buffer, ULONG& size, Call call)
{
    ULONG result = call();
    while (result == ERROR_BUFFER_OVERFLOW && size != 0) {
        if (!buffer.Resize(size))
            return ERROR_NOT_ENOUGH_MEMORY;
        result = call();
    }
    return result;
}

// Every DNS server of the per-adapter information (an empty first entry
// reads as 0.0.0.0); the list stays empty when the query fails.
CIPAddressList DNSServers(DWORD ifIndex)
{
    CIPAddressList servers;
    CSystemBuffer<IP_PER_ADAPTER_INFO> info;
    ULONG size = 0;
    if (QueryGrowing(info, size, [&] { return GetPerAdapterInfo(ifIndex, info.Get(), &size); }) != ERROR_SUCCESS)
        return servers;
    servers.append(AddressOf(info->DnsServerList));
    for (const IP_ADDR_STRING* server = info->DnsServerList.Next; server; server = server->Next) {
        if (qstrnlen(server->IpAddress.String, sizeof(server->IpAddress.String)) != 0)
            servers.append(AddressOf(*server));
    }
    return servers;
}

// The first address and mask go to the page's fields, the rest alongside.
void ReadAddresses(const IP_ADDR_STRING& list, CNetworkCard& card)
{
    card.m_IPAddress = AddressOf(list);
    card.m_SubnetMask = CIPAddress(SystemText(list.IpMask.String));
    for (const IP_ADDR_STRING* entry = list.Next; entry; entry = entry->Next) {
        const CAddressWithMask address{AddressOf(*entry), CIPAddress(SystemText(entry->IpMask.String))};
        if (address.address.Value() != 0)
            card.m_SecondaryAddresses.append(address);
    }
}

CNetworkCard CardOf(const IP_ADAPTER_INFO& adapter)
{
    CNetworkCard card;
    card.m_AdapterName = SystemText(adapter.AdapterName);
    card.m_Description = SystemText(adapter.Description);
    card.m_Index = adapter.Index;
    card.m_DHCPEnabled = adapter.DhcpEnabled != 0;
    ReadAddresses(adapter.IpAddressList, card);
    for (const IP_ADDR_STRING* gateway = &adapter.GatewayList; gateway; gateway = gateway->Next)
        card.m_Gateways.append(AddressOf(*gateway));
    card.m_DNSServers = DNSServers(adapter.Index);
    card.m_PrimaryWINS = AddressOf(adapter.PrimaryWinsServer);
    card.m_SecondaryWINS = AddressOf(adapter.SecondaryWinsServer);
    card.m_DNSAuto =
        ReadRegistryString(regkeys::AdapterTcpip(card.m_AdapterName), QStringLiteral("NameServer")).isEmpty();
    card.m_WINSAuto =
        ReadRegistryString(regkeys::AdapterNetBT(card.m_AdapterName), QStringLiteral("NameServerList")).isEmpty() &&
        card.m_DHCPEnabled;
    return card;
}

} // namespace

unsigned long ReadAdapterCards(CNetworkCardList& cards)
{
    CSystemBuffer<IP_ADAPTER_INFO> adapters;
    ULONG size = 0;
    const ULONG result = QueryGrowing(adapters, size, [&] { return GetAdaptersInfo(adapters.Get(), &size); });
    if (size == 0)
        return ERROR_SUCCESS;
    if (result != ERROR_SUCCESS)
        return result;
    cards.clear();
    for (const IP_ADAPTER_INFO* adapter = adapters.Get(); adapter; adapter = adapter->Next)
        cards.append(CardOf(*adapter));
    return ERROR_SUCCESS;
}

void ReadIdentity(CIdentity& identity)
{
    CNetNProtocol::GetDomainInfo(identity.workgroup, identity.computerName);
    // A rename waiting for the next restart is what the user wants to see.
    const QString pendingName =
        ReadRegistryString(QLatin1String(regkeys::kComputerName), QStringLiteral("ComputerName"));
    if (!pendingName.isEmpty())
        identity.computerName = pendingName;
    identity.dnsSuffix = ReadRegistryString(QLatin1String(regkeys::kTcpipParameters), QStringLiteral("NV Domain"));
}

QString ReadRegistryString(const QString& keyPath, const QString& valueName)
{
    CRegKey key;
    if (key.Open(keyPath) != ERROR_SUCCESS)
        return QString();
    // The type is not checked: of a multi-string only the first string
    // counts, and a value that does not fit the buffer reads as empty.
    char buffer[kRegistryBufferSize] = {};
    DWORD bufferSize = sizeof(buffer);
    if (RegQueryValueExA(key.Get(), valueName.toUtf8().constData(), nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer),
                         &bufferSize) != ERROR_SUCCESS)
        return QString();
    return SystemText(buffer);
}
