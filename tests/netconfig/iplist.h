#pragma once

// Address lists written as dotted texts, for building and checking cards.

#include "ipaddress.h"

#include <QStringList>

namespace iptest {

inline CIPAddressList Ips(const QStringList& texts)
{
    CIPAddressList list;
    for (const QString& text : texts)
        list.append(CIPAddress(text));
    return list;
}

inline QStringList Texts(const CIPAddressList& list)
{
    QStringList texts;
    for (const CIPAddress& address : list)
        texts << address.ToString();
    return texts;
}

} // namespace iptest
