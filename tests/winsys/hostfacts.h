#pragma once

// What the IP Helper calls report for one adapter of the emulated host.
#include "testenv.h"

#include <QStringList>

#include <winsys.h>

inline QString Netsh()
{
    return TestEnv::systemDir() + QStringLiteral("/netsh.exe");
}

inline void Chain(const IP_ADDR_STRING* s, const QString& kind, bool withMask, QStringList& out)
{
    for (; s; s = s->Next) {
        const QString addr = QString::fromLatin1(s->IpAddress.String);
        // Windows reports "no gateway" as a first gateway of 0.0.0.0.
        if (!addr.isEmpty() && (addr != QLatin1String("0.0.0.0") || kind != QLatin1String("gw ")))
            out << kind + addr + (withMask ? "/" + QString::fromLatin1(s->IpMask.String) : QString());
    }
}

// A writer in another process may grow the data between the sizing call and
// the next, so an overflow means "ask again".
template <typename Call>
DWORD Fill(QByteArray& buffer, Call call)
{
    ULONG size = 0;
    DWORD rc;
    while ((rc = call(buffer.data(), &size)) == ERROR_BUFFER_OVERFLOW)
        buffer.resize(qsizetype(size));
    return rc;
}

// One "kind value" line per fact: dhcp, ip (with mask), gw, wins, dns; "error N" when a call fails.
inline QStringList Observe(DWORD ifIndex)
{
    QByteArray buffer;
    DWORD rc = Fill(buffer, [](char* b, ULONG* s) { return GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(b), s); });
    if (rc != ERROR_SUCCESS)
        return {QStringLiteral("error %1").arg(rc)};
    QStringList out;
    for (auto* a = reinterpret_cast<const IP_ADAPTER_INFO*>(buffer.constData()); a; a = a->Next) {
        if (a->Index != ifIndex)
            continue;
        out << QStringLiteral("dhcp %1").arg(a->DhcpEnabled ? 1 : 0);
        Chain(&a->IpAddressList, "ip ", true, out);
        Chain(&a->GatewayList, "gw ", false, out);
        Chain(&a->PrimaryWinsServer, "wins ", false, out);
        Chain(&a->SecondaryWinsServer, "wins ", false, out);
    }
    buffer.clear();
    rc = Fill(buffer, [ifIndex](char* b, ULONG* s) {
        return GetPerAdapterInfo(ifIndex, reinterpret_cast<IP_PER_ADAPTER_INFO*>(b), s);
    });
    if (rc != ERROR_SUCCESS)
        return out << QStringLiteral("error %1").arg(rc);
    Chain(&reinterpret_cast<const IP_PER_ADAPTER_INFO*>(buffer.constData())->DnsServerList, "dns ", false, out);
    return out;
}

inline QStringList Only(const QStringList& facts, const QStringList& kinds)
{
    QStringList out;
    for (const QString& f : facts)
        if (kinds.contains(f.section(' ', 0, 0)))
            out << f;
    return out;
}
