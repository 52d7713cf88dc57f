#pragma once

// Settings-file helpers: file text in and out, one readable line per adapter.

#include "iplist.h"
#include "networkcard.h"

#include <QFile>
#include <QStringList>

namespace settingstest {

using iptest::Ips;

inline bool WriteText(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

// The file's non-blank lines without line ends.
inline QStringList IniLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("<cannot open %1>").arg(path)};
    QStringList lines;
    for (const QString& line : QString::fromUtf8(file.readAll()).remove(u'\r').split(u'\n'))
        if (!line.trimmed().isEmpty())
            lines << line;
    return lines;
}

inline QString Join(const CIPAddressList& list)
{
    return iptest::Texts(list).join(QLatin1Char(','));
}

// Every field the settings file and the address lists can touch.
inline QString Describe(const CNetworkCard& card)
{
    return QStringLiteral("dhcp=%1 ip=%2 mask=%3 gw=[%4] dnsAuto=%5 dns=[%6] winsAuto=%7 wins=%8,%9 changed=%10")
        .arg(int(card.m_DHCPEnabled))
        .arg(card.m_IPAddress.ToString(), card.m_SubnetMask.ToString(), Join(card.m_Gateways))
        .arg(int(card.m_DNSAuto))
        .arg(Join(card.m_DNSServers))
        .arg(int(card.m_WINSAuto))
        .arg(card.m_PrimaryWINS.ToString(), card.m_SecondaryWINS.ToString())
        .arg(QString(card.m_AddressChanged ? 'A' : '-') + (card.m_DNSChanged ? 'D' : '-') +
             (card.m_WINSChanged ? 'W' : '-'));
}

} // namespace settingstest
