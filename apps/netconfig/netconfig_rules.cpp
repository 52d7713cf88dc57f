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
