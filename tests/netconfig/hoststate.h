#pragma once

// A host's registry read back, one line per adapter, lists in stored order.

#include "hosthive.h"

#include <QStringList>

namespace hoststate {

// The sample host's two adapters.
inline const QString kWired =
    QStringLiteral("dhcp=0 ip=192.168.1.5 mask=255.255.255.0 gw=192.168.1.1 dns=192.168.1.1,10.0.0.1 wins=192.168.1.2");
inline const QString kWireless = QStringLiteral("dhcp=1 dns= wins=");

// Empty when the host's registry cannot be parsed.
inline QStringList Adapters(const TestEnv& env)
{
    HostHive host;
    std::string error;
    int line = 0;
    if (!winsys::ParseHive(env.readHive().toStdString(), host.Hive(), &error, &line))
        return {};
    const winsys::Hive& hive = host.Hive();
    auto list = [&hive](const std::string& key, const char* name) {
        QStringList parts;
        for (const std::string& part : hive.GetMultiString(key, name))
            parts << QString::fromStdString(part);
        return parts.join(QLatin1Char(','));
    };
    QStringList adapters;
    for (int i = 0; i < int(host.AdapterKeys().size()); ++i) {
        const std::string tcpip = host.TcpipKey(i);
        QString adapter = QStringLiteral("dhcp=1");
        if (hive.GetDword(tcpip, "EnableDHCP", 0) == 0)
            adapter = QStringLiteral("dhcp=0 ip=%1 mask=%2 gw=%3")
                          .arg(list(tcpip, "IPAddress"), list(tcpip, "SubnetMask"), list(tcpip, "DefaultGateway"));
        adapters << adapter + QStringLiteral(" dns=%1 wins=%2")
                                  .arg(QString::fromStdString(hive.GetString(tcpip, "NameServer")),
                                       list(host.NetBTKey(i), "NameServerList"));
    }
    return adapters;
}

} // namespace hoststate
