#include "netconfigimpl.h"

#include "netprotocol.h"
#include "waitcursor.h"

#include <QComboBox>

#include <cstdlib>

namespace {

const char kInterfacesKey[] = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
const char kNetBTInterfacesKey[] = "SYSTEM\\CurrentControlSet\\Services\\NetBT\\Parameters\\Interfaces";
const char kComputerNameKey[] = "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName";
const char kTcpipParametersKey[] = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";

const DWORD kRegistryBufferSize = 1024; // longer values read as empty

// The system's fixed-size text fields need not be NUL-terminated when full.
template <size_t N>
QString SystemText(const char (&text)[N])
{
    return QString::fromLocal8Bit(text, int(qstrnlen(text, N)));
}

CIPAddress AddressOf(const IP_ADDR_STRING& entry)
{
    return CIPAddress(SystemText(entry.IpAddress.String));
}

// The usual two calls (size, then data), repeated while the data grows: a
// netsh.exe writing at the same time can add entries between them.
template <typename T, typename Call>
ULONG GrowUntilFits(T*& buffer, ULONG& size, Call call)
{
    ULONG result = call();
    while (result == ERROR_BUFFER_OVERFLOW && size != 0) {
        std::free(buffer);
        buffer = static_cast<T*>(std::malloc(size));
        if (!buffer)
            return ERROR_NOT_ENOUGH_MEMORY;
        result = call();
    }
    return result;
}

// Only the first DNS server of the per-adapter information is kept; the
// list stays empty when the query fails.
CIPAddressList FirstDNSServer(DWORD ifIndex)
{
    CIPAddressList servers;
    IP_PER_ADAPTER_INFO* info = nullptr;
    ULONG size = 0;
    if (GrowUntilFits(info, size, [&] { return GetPerAdapterInfo(ifIndex, info, &size); }) == ERROR_SUCCESS)
        servers.append(AddressOf(info->DnsServerList));
    std::free(info);
    return servers;
}

CNetworkCard CardOf(const IP_ADAPTER_INFO& adapter, CNetConfigImpl& reader)
{
    CNetworkCard card;
    card.m_AdapterName = SystemText(adapter.AdapterName);
    card.m_Description = SystemText(adapter.Description);
    card.m_Index = adapter.Index;
    card.m_DHCPEnabled = adapter.DhcpEnabled != 0;
    // Further addresses of the adapter are not part of the model.
    card.m_IPAddress = AddressOf(adapter.IpAddressList);
    card.m_SubnetMask = CIPAddress(SystemText(adapter.IpAddressList.IpMask.String));
    for (const IP_ADDR_STRING* gateway = &adapter.GatewayList; gateway; gateway = gateway->Next)
        card.m_Gateways.append(AddressOf(*gateway));
    card.m_DNSServers = FirstDNSServer(adapter.Index);
    card.m_PrimaryWINS = AddressOf(adapter.PrimaryWinsServer);
    card.m_SecondaryWINS = AddressOf(adapter.SecondaryWinsServer);

    const QString dnsKey = QStringLiteral("%1\\%2").arg(QLatin1String(kInterfacesKey), card.m_AdapterName);
    const QString winsKey =
        QStringLiteral("%1\\Tcpip_%2").arg(QLatin1String(kNetBTInterfacesKey), card.m_AdapterName);
    card.m_DNSAuto = reader.ReadRegistryString(dnsKey, QStringLiteral("NameServer")).isEmpty();
    card.m_WINSAuto =
        reader.ReadRegistryString(winsKey, QStringLiteral("NameServerList")).isEmpty() && card.m_DHCPEnabled;
    return card;
}

} // namespace

unsigned long CNetConfigImpl::ReadConfiguration()
{
    CWaitCursor waitCursor;

    ULONG size = 0;
    IP_ADAPTER_INFO* adapters = nullptr;
    const ULONG result = GrowUntilFits(adapters, size, [&] { return GetAdaptersInfo(adapters, &size); });
    // Nothing reported at all: keep whatever model there is (a refresh then
    // still lists the old adapters).
    if (size != 0) {
        if (result != ERROR_SUCCESS) {
            std::free(adapters);
            return result;
        }
        cbAdapters->clear();
        m_Adapters.clear();
        for (const IP_ADAPTER_INFO* adapter = adapters; adapter; adapter = adapter->Next) {
            m_Adapters.append(CardOf(*adapter, *this));
            cbAdapters->addItem(m_Adapters.last().m_Description);
        }
        std::free(adapters);
    }
    if (m_Adapters.isEmpty())
        return ERROR_NO_NETWORK;

    CNetNProtocol::GetDomainInfo(m_Workgroup, m_ComputerName);
    // A rename waiting for the next restart is what the user wants to see.
    const QString pendingName =
        ReadRegistryString(QLatin1String(kComputerNameKey), QStringLiteral("ComputerName"));
    if (!pendingName.isEmpty())
        m_ComputerName = pendingName;
    m_DNSSuffix = ReadRegistryString(QLatin1String(kTcpipParametersKey), QStringLiteral("NV Domain"));

    return RefreshConnections();
}

QString CNetConfigImpl::ReadRegistryString(const QString& keyPath, const QString& valueName)
{
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, keyPath.toUtf8().constData(), &key) != ERROR_SUCCESS)
        return QString();

    // The type is not checked: of a multi-string only the first string
    // counts, and a value that does not fit the buffer reads as empty.
    char buffer[kRegistryBufferSize] = {};
    DWORD bufferSize = sizeof(buffer);
    QString text;
    if (RegQueryValueExA(key, valueName.toUtf8().constData(), nullptr, nullptr,
                         reinterpret_cast<LPBYTE>(buffer), &bufferSize)
        == ERROR_SUCCESS)
        text = SystemText(buffer);
    RegCloseKey(key);
    return text;
}
