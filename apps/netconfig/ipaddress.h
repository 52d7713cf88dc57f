#pragma once

#include <QList>
#include <QString>

// One IPv4 address or mask, first octet in the most significant byte.
// The value 0 (0.0.0.0) also means "no address" throughout the program.
class CIPAddress
{
public:
    CIPAddress(quint32 value = 0) : m_Value(value) {}
    // Loose conversion: four groups of 1-3 digits, not range-checked; any
    // other text gives 0. Typed text is validated before it gets here.
    explicit CIPAddress(const QString& text);

    quint32 Value() const { return m_Value; }
    QString ToString() const;

    bool operator==(const CIPAddress& other) const { return m_Value == other.m_Value; }
    bool operator!=(const CIPAddress& other) const { return m_Value != other.m_Value; }

private:
    quint32 m_Value;
};

using CIPAddressList = QList<CIPAddress>;
