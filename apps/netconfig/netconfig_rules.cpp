#include "netconfig_rules.h"

#include <QRegularExpression>

namespace {

const char kOctet[] = "(25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)";

} // namespace

bool IsStrictAddress(const QString& text)
{
    static const QRegularExpression strict(
        QRegularExpression::anchoredPattern(QStringLiteral("%1\\.%1\\.%1\\.%1").arg(QLatin1String(kOctet))));
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

bool IsContiguousMask(quint32 mask)
{
    const quint32 hosts = ~mask;
    return (hosts & (hosts + 1)) == 0;
}

HostAddressProblem CheckHostAddress(quint32 address, quint32 mask)
{
    const quint32 first = address >> 24;
    if (first == 0)
        return HostAddressProblem::Reserved;
    if (first == 127)
        return HostAddressProblem::Loopback;
    if (first >= 224)
        return HostAddressProblem::NotUnicast;
    // A subnet of one or two addresses has no network or broadcast address.
    const quint32 hosts = ~mask;
    if (hosts <= 1)
        return HostAddressProblem::None;
    if ((address & hosts) == 0)
        return HostAddressProblem::NetworkAddress;
    if ((address & hosts) == hosts)
        return HostAddressProblem::BroadcastAddress;
    return HostAddressProblem::None;
}

bool InSubnet(quint32 gateway, quint32 address, quint32 mask)
{
    return (gateway & mask) == (address & mask);
}
