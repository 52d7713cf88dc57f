#pragma once

// What the winsys tests share: the IP Helper calls' view of an adapter of the
// emulated host, netsh.exe runs, hive changes and data rows.
#include "testenv.h"

#include <QProcess>
#include <QStringList>
#include <QtTest>

#include <array>

#include <winsys.h>
#include <winsys/hive.h>

// The columns of a data table: Columns<QString, int>({"name", "count"}).
template <typename... T> void Columns(const std::array<const char*, sizeof...(T)>& names)
{
    size_t i = 0;
    (QTest::addColumn<T>(names[i++]), ...);
}

// One row of a data table.
template <typename... T> void Row(const char* tag, const T&... values)
{
    (QTest::newRow(tag) << ... << values);
}

// Reads the host's hive; the error, 0 when it could be read.
template <typename Look> uint32_t ReadHost(Look look)
{
    return winsys::ReadHive([&](const winsys::Hive& h) -> uint32_t {
        look(h);
        return 0;
    });
}

// Changes the host's hive; false when that failed.
template <typename Change> bool ChangeHive(Change change)
{
    return winsys::ModifyHive([&](winsys::Hive& h) -> uint32_t {
               change(h);
               return 0;
           }) == 0;
}

inline QString Netsh()
{
    return TestEnv::systemDir() + QStringLiteral("/netsh.exe");
}

// A netsh command line; one that starts with a verb is in the "interface ip" context.
inline QString InContext(const QString& line)
{
    return (QStringList{"set", "add", "delete"}.contains(line.section(' ', 0, 0)) ? "interface ip " : "") + line;
}

// Runs netsh.exe once a line (see InContext); a line starting with "!" must
// fail, the others succeed. Empty when all did, else what went wrong.
inline QString RunNetsh(const TestEnv& env, const QStringList& lines)
{
    for (QString line : lines) {
        const bool fail = line.startsWith('!');
        line = InContext(line.mid(fail ? 1 : 0));
        QString out;
        const int code = env.runProgram(Netsh(), QProcess::splitCommand(line), &out);
        if (code != (fail ? 1 : 0))
            return QStringLiteral("%1 -> %2: %3").arg(line).arg(code).arg(out);
    }
    return {};
}

// A writer in another process may grow the data between the sizing call and
// the next, so an overflow means "ask again".
template <typename Call> DWORD Fill(QByteArray& buffer, Call call)
{
    ULONG size = 0;
    DWORD rc;
    while ((rc = call(buffer.data(), &size)) == ERROR_BUFFER_OVERFLOW)
        buffer.resize(qsizetype(size));
    return rc;
}

// What the IP Helper calls report for an adapter, of the kinds named (dhcp ip
// gw wins dns): "kind value", an address with its mask, ", " between them;
// "error N" when a call fails.
inline QString Facts(DWORD ifIndex, const QString& kinds)
{
    const QStringList wanted = kinds.split(' ');
    QStringList out;
    const auto chain = [&](const IP_ADDR_STRING* s, const QString& kind) {
        for (; s && wanted.contains(kind); s = s->Next) {
            const QString addr = QString::fromLatin1(s->IpAddress.String);
            // Windows reports "no gateway" as a first gateway of 0.0.0.0.
            if (!addr.isEmpty() && (addr != "0.0.0.0" || kind != "gw"))
                out << kind + " " + addr + (kind == "ip" ? "/" + QString::fromLatin1(s->IpMask.String) : QString());
        }
    };
    QByteArray buffer;
    DWORD rc =
        Fill(buffer, [](char* b, ULONG* s) { return GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(b), s); });
    for (auto* a = reinterpret_cast<const IP_ADAPTER_INFO*>(buffer.constData()); rc == ERROR_SUCCESS && a;
         a = a->Next) {
        if (a->Index != ifIndex)
            continue;
        if (wanted.contains("dhcp"))
            out << QStringLiteral("dhcp %1").arg(a->DhcpEnabled);
        chain(&a->IpAddressList, "ip");
        chain(&a->GatewayList, "gw");
        chain(&a->PrimaryWinsServer, "wins");
        chain(&a->SecondaryWinsServer, "wins");
    }
    if (rc == ERROR_SUCCESS)
        rc = Fill(buffer, [ifIndex](char* b, ULONG* s) {
            return GetPerAdapterInfo(ifIndex, reinterpret_cast<IP_PER_ADAPTER_INFO*>(b), s);
        });
    if (rc == ERROR_SUCCESS)
        chain(&reinterpret_cast<const IP_PER_ADAPTER_INFO*>(buffer.constData())->DnsServerList, "dns");
    else
        out << QStringLiteral("error %1").arg(rc);
    return out.join(", ");
}

// The entry of GetInterfaceInfo for an interface index, as the application finds it.
inline IP_ADAPTER_INDEX_MAP InterfaceEntry(DWORD ifIndex)
{
    QByteArray buffer(4096, '\0');
    ULONG size = ULONG(buffer.size());
    IP_ADAPTER_INDEX_MAP entry{};
    auto* table = reinterpret_cast<IP_INTERFACE_INFO*>(buffer.data());
    if (GetInterfaceInfo(table, &size) == NO_ERROR)
        for (LONG i = 0; i < table->NumAdapters; ++i)
            if (table->Adapter[i].Index == ifIndex)
                entry = table->Adapter[i];
    return entry;
}
