#pragma once

#include <QString>

// Every registry location the program reads or writes, all under
// HKEY_LOCAL_MACHINE, as the 8-bit registry calls take them.
namespace regkeys {

inline const char kTcpipInterfaces[] = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
inline const char kNetBTInterfaces[] = "SYSTEM\\CurrentControlSet\\Services\\NetBT\\Parameters\\Interfaces";
inline const char kComputerName[] = "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName";
inline const char kTcpipParameters[] = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";

// The adapter's TCP/IP values ("NameServer").
inline QString AdapterTcpip(const QString& adapterName)
{
    return QStringLiteral("%1\\%2").arg(QLatin1String(kTcpipInterfaces), adapterName);
}

// The adapter's NetBIOS over TCP/IP values ("NameServerList").
inline QString AdapterNetBT(const QString& adapterName)
{
    return QStringLiteral("%1\\Tcpip_%2").arg(QLatin1String(kNetBTInterfaces), adapterName);
}

} // namespace regkeys
