#include "netconfig_rules.h"

#include <QRegularExpression>

namespace {

const char kOctet[] = "(25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)";

// %2 of every template is the interface index. One multi-argument arg()
// pass, so a substituted value is never scanned for markers again; the
// number of values always equals the number of markers.
template <typename... Rest>
QString Templated(const char* pattern, const QString& a1, const CNetworkCard& card, const Rest&... rest)
{
    return NetshEntry(QString::fromLatin1(pattern).arg(a1, QString::number(card.m_Index), rest...));
}

QString ServerCommand(const char* action, const CNetworkCard& card, const CIPAddress& server)
{
    return Templated("interface ip %1 %2 addr=%3", QString::fromLatin1(action), card, server.ToString());
}

QString SourceDhcpCommand(const char* object, const CNetworkCard& card)
{
    return Templated("interface ip set %1 %2 source=%3", QString::fromLatin1(object), card,
                     QStringLiteral("dhcp"));
}

} // namespace

bool IsStrictAddress(const QString& text)
{
    static const QRegularExpression strict(QRegularExpression::anchoredPattern(
        QStringLiteral("%1\\.%1\\.%1\\.%1").arg(QLatin1String(kOctet))));
    return strict.match(text).hasMatch();
}

bool IsBlankOrZeroAddress(const QString& text)
{
    QString digits = text;
    digits.remove(QLatin1Char('.'));
    return digits.isEmpty() || digits.toUInt(nullptr, 10) == 0;
}

bool MaskFitsAddress(quint32 address, quint32 mask)
{
    const quint32 outside = address & ~mask;
    if ((outside & 0xFF000000u) != 0 || (outside & 0x00FF0000u) != 0)
        return false;
    const quint32 m1 = mask >> 24, m2 = (mask >> 16) & 0xFF, m3 = (mask >> 8) & 0xFF, m4 = mask & 0xFF;
    return m1 >= m2 && m1 >= m3 && m2 >= m3 && m1 >= m4 && m2 >= m4 && m3 >= m4;
}

bool IdentityDiffers(const QString& field, const QString& remembered)
{
    return field.toLower() != remembered.toLower();
}

QString NetshEntry(const QString& parameters)
{
    return QStringLiteral("%1;%2").arg(QString::fromLocal8Bit("netsh.exe"), parameters);
}

QStringList BuildDNSCommands(const CNetworkCard& card)
{
    QStringList queue;
    if (card.m_DNSAuto) {
        for (const CIPAddress& server : card.m_DNSServers)
            queue << ServerCommand("delete dns", card, server);
        queue << SourceDhcpCommand("dns", card);
        return queue;
    }
    const CIPAddress preferred = card.m_DNSServers.isEmpty() ? CIPAddress() : card.m_DNSServers.first();
    const bool none = preferred.Value() == 0;
    queue << Templated("interface ip delete %1 %2 all", QStringLiteral("dns"), card);
    queue << Templated("interface ip set %1 %2 source=%3 addr=%4 ddns=enabled %5", QStringLiteral("dns"),
                       card, QStringLiteral("static"), none ? QStringLiteral("none") : preferred.ToString(),
                       none ? QString() : QStringLiteral("register=primary"));
    for (const CIPAddress& server : card.m_DNSServers)
        queue << ServerCommand("add dns", card, server);
    return queue;
}

QStringList BuildWINSCommands(const CNetworkCard& card)
{
    QStringList queue;
    const bool havePrimary = card.m_PrimaryWINS.Value() != 0;
    const bool haveSecondary = card.m_SecondaryWINS.Value() != 0;
    if (card.m_WINSAuto) {
        if (havePrimary)
            queue << ServerCommand("delete wins", card, card.m_PrimaryWINS);
        if (haveSecondary)
            queue << ServerCommand("delete wins", card, card.m_SecondaryWINS);
        queue << SourceDhcpCommand("wins", card);
        return queue;
    }
    queue << Templated("interface ip set %1 %2 source=%3 addr=%4", QStringLiteral("wins"), card,
                       QStringLiteral("static"),
                       havePrimary ? card.m_PrimaryWINS.ToString() : QStringLiteral("none"));
    if (haveSecondary)
        queue << ServerCommand("add wins", card, card.m_SecondaryWINS);
    return queue;
}

QStringList BuildAddressCommands(const CNetworkCard& card)
{
    QStringList queue;
    if (card.m_DHCPEnabled) {
        if (card.m_IPAddress.Value() != 0)
            queue << ServerCommand("delete address", card, card.m_IPAddress);
        queue << SourceDhcpCommand("address", card);
        return queue;
    }
    queue << Templated("interface ip set %1 %2 source=%3 %4 %5", QStringLiteral("address"), card,
                       QStringLiteral("static"), card.m_IPAddress.ToString(), card.m_SubnetMask.ToString());
    for (const CIPAddress& gateway : card.m_Gateways)
        queue << Templated("interface ip %1 %2 gateway=%3 gwmetric=0 ", QStringLiteral("add address"), card,
                           gateway.ToString());
    return queue;
}

QString AdapterParametersKey(const QString& adapterName)
{
    return QStringLiteral("%1\\%2").arg(
        QStringLiteral("SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces"), adapterName);
}
