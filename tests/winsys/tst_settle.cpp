// WINSYS_SETTLE_MS: an address netsh.exe sets or adds, and a new DHCP lease,
// stay tentative for a while and the IP Helper calls list them as 0.0.0.0
// until then, in this process as in any other.
#include "hostfacts.h"

#include <QtTest>

#include <winsys/hive.h>
#include <winsys/host.h>

namespace {

const char kWired[] = "{6B1D8F3A-2C4E-4F5B-9A7D-1E2F3A4B5C6D}";      // sample adapter 11, static
const char kWireless[] = "{9C8B7A6F-5E4D-4C3B-8A29-1F0E9D8C7B6A}";   // sample adapter 14, DHCP
const QString kUnusable = QStringLiteral("0.0.0.0/0.0.0.0");

// WINSYS_SETTLE_MS for this process and the programs it starts, while it lives.
class SettleKnob
{
public:
    explicit SettleKnob(const QByteArray& value)
        : m_Had(qEnvironmentVariableIsSet("WINSYS_SETTLE_MS")), m_Old(qgetenv("WINSYS_SETTLE_MS"))
    {
        if (value.isNull())
            qunsetenv("WINSYS_SETTLE_MS");
        else
            qputenv("WINSYS_SETTLE_MS", value);
    }
    ~SettleKnob()
    {
        if (m_Had)
            qputenv("WINSYS_SETTLE_MS", m_Old);
        else
            qunsetenv("WINSYS_SETTLE_MS");
    }
    SettleKnob(const SettleKnob&) = delete;
    SettleKnob& operator=(const SettleKnob&) = delete;

private:
    bool m_Had;
    QByteArray m_Old;
};

// Every entry of the adapter's IpAddressList as "address/mask", 0.0.0.0 included.
QStringList AddressList(DWORD ifIndex)
{
    QByteArray buffer;
    const DWORD rc =
        Fill(buffer, [](char* b, ULONG* s) { return GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(b), s); });
    if (rc != ERROR_SUCCESS)
        return {QStringLiteral("error %1").arg(rc)};
    QStringList out;
    for (auto* a = reinterpret_cast<const IP_ADAPTER_INFO*>(buffer.constData()); a; a = a->Next) {
        if (a->Index != ifIndex)
            continue;
        for (const IP_ADDR_STRING* e = &a->IpAddressList; e; e = e->Next)
            out << QString::fromLatin1(e->IpAddress.String) + "/" + QString::fromLatin1(e->IpMask.String);
    }
    return out;
}

bool RunAll(const TestEnv& env, const QStringList& lines)
{
    for (const QString& line : lines) {
        QString out;
        const int code = env.runProgram(Netsh(), QProcess::splitCommand(line), &out);
        if (code != 0) {
            qWarning("%s -> %d: %s", qPrintable(line), code, qPrintable(out));
            return false;
        }
    }
    return true;
}

// Moves every recorded settling time into the past, as if the time had passed.
void LetEverythingSettle()
{
    winsys::ModifyHive([](winsys::Hive& h) -> uint32_t {
        const std::string base = winsys::keys::kTentative;
        for (const std::string& sub : h.SubKeys(base))
            for (const std::string& name : h.ValueNames(base + "\\" + sub))
                h.SetValue(base + "\\" + sub, name, winsys::RegValue{11, {1, 0, 0, 0, 0, 0, 0, 0}});
        return 0;
    });
}

IP_ADAPTER_INDEX_MAP InterfaceEntry(DWORD ifIndex)
{
    QByteArray buffer(4096, '\0');
    ULONG size = ULONG(buffer.size());
    IP_ADAPTER_INDEX_MAP entry{};
    auto* table = reinterpret_cast<IP_INTERFACE_INFO*>(buffer.data());
    if (GetInterfaceInfo(table, &size) != NO_ERROR)
        return entry;
    for (LONG i = 0; i < table->NumAdapters; ++i)
        if (table->Adapter[i].Index == ifIndex)
            entry = table->Adapter[i];
    return entry;
}

qint64 RecordedUntil(const char* guid, const std::string& address)
{
    int64_t until = 0;
    winsys::ReadHive([&](const winsys::Hive& h) -> uint32_t {
        until = winsys::TentativeUntil(h, guid, address);
        return 0;
    });
    return until;
}

}  // namespace

class TestSettle : public QObject
{
    Q_OBJECT

private slots:
    void tentativeUntilSettled_data();
    void tentativeUntilSettled();
    void settlesWithoutAFileChange();
    void offOrInvalidRecordsNothing_data();
    void offOrInvalidRecordsNothing();
    void dhcpLease();
    void foreignRecordsAreIgnored();
};

void TestSettle::tentativeUntilSettled_data()
{
    QTest::addColumn<int>("ifIndex");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("during");    // the address list while the knob's time runs
    QTest::addColumn<QStringList>("settled");   // and afterwards

    const QString primary = "192.168.1.5/255.255.255.0";
    QTest::newRow("static address set") << 11 << QStringList{"interface ip set address 11 source=static 192.168.2.5 255.255.255.0"}
        << QStringList{kUnusable} << QStringList{"192.168.2.5/255.255.255.0"};
    QTest::newRow("secondary added, primary stays usable") << 11
        << QStringList{"interface ip add address 11 addr=192.168.1.6 mask=255.255.255.0"}
        << QStringList{primary, kUnusable} << QStringList{primary, "192.168.1.6/255.255.255.0"};
    QTest::newRow("set then secondaries, as the application applies") << 11
        << QStringList{"interface ip set address 11 source=static 10.1.1.1 255.0.0.0",
                       "interface ip add address 11 addr=10.2.2.2 mask=255.255.0.0",
                       "interface ip add address 11 gateway=10.0.0.254 gwmetric=0 "}
        << QStringList{kUnusable, kUnusable} << QStringList{"10.1.1.1/255.0.0.0", "10.2.2.2/255.255.0.0"};
    QTest::newRow("tentative secondary deleted") << 11
        << QStringList{"interface ip add address 11 addr=192.168.1.6 mask=255.255.255.0",
                       "interface ip delete address 11 addr=192.168.1.6"}
        << QStringList{primary} << QStringList{primary};
    QTest::newRow("gateway and servers only") << 11
        << QStringList{"interface ip add address 11 gateway=192.168.1.254 gwmetric=0 ",
                       "interface ip set dns 11 source=static addr=10.0.0.1", "interface ip add wins 11 addr=10.0.0.9"}
        << QStringList{primary} << QStringList{primary};
    QTest::newRow("dhcp adapter made static") << 14
        << QStringList{"interface ip set address 14 source=static 10.0.0.50 255.255.255.0"}
        << QStringList{kUnusable} << QStringList{"10.0.0.50/255.255.255.0"};
    QTest::newRow("lease taken by netsh") << 14
        << QStringList{"interface ip set address 14 source=static 10.0.0.50 255.255.255.0",
                       "interface ip delete address 14 addr=10.0.0.50", "interface ip set address 14 source=dhcp"}
        << QStringList{kUnusable} << QStringList{"10.0.0.23/255.255.255.0"};
}

void TestSettle::tentativeUntilSettled()
{
    QFETCH(int, ifIndex);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, during);
    QFETCH(QStringList, settled);
    TestEnv env;
    QVERIFY(env.initSampleHost());
    const SettleKnob knob("600000");   // far longer than the test takes
    QVERIFY(RunAll(env, lines));
    QCOMPARE(AddressList(DWORD(ifIndex)), during);
    // winhost's view agrees: a tentative address is not shown.
    const QString shown = QString::fromStdString(winsys::ShowHost(env.hostDir().toStdString()));
    for (const QString& address : settled)
        QCOMPARE(shown.contains(address.section('/', 0, 0) + "\n"), during.contains(address));
    LetEverythingSettle();
    QCOMPARE(AddressList(DWORD(ifIndex)), settled);
    // Records go with the addresses they are about (and once they have settled).
    QVERIFY(RunAll(env, {QString("interface ip set address %1 source=static 10.9.9.9 255.0.0.0").arg(ifIndex)}));
    QCOMPARE(AddressList(DWORD(ifIndex)), QStringList{kUnusable});
    QVERIFY(RunAll(env, {QString("interface ip delete address %1 addr=10.9.9.9").arg(ifIndex)}));
    QVERIFY2(!env.readHive().contains("Tentative"), qPrintable(env.readHive()));
}

void TestSettle::settlesWithoutAFileChange()
{
    TestEnv env;
    QVERIFY(env.initSampleHost());
    const SettleKnob knob("1500");
    QCOMPARE(AddressList(11), QStringList{"192.168.1.5/255.255.255.0"});   // this process has read the host
    QElapsedTimer clock;
    clock.start();
    QVERIFY(RunAll(env, {"interface ip set address 11 source=static 192.168.2.5 255.255.255.0"}));
    const QStringList first = AddressList(11);
    if (clock.elapsed() < 1400)
        QCOMPARE(first, QStringList{kUnusable});
    const QString hive = env.readHive();
    QTRY_COMPARE_WITH_TIMEOUT(AddressList(11), QStringList{"192.168.2.5/255.255.255.0"}, 30000);
    QCOMPARE(env.readHive(), hive);   // nobody wrote the host meanwhile
}

void TestSettle::offOrInvalidRecordsNothing_data()
{
    QTest::addColumn<QByteArray>("value");   // null: not set
    QTest::newRow("not set") << QByteArray();
    QTest::newRow("zero") << QByteArray("0");
    QTest::newRow("empty") << QByteArray("");
    QTest::newRow("negative") << QByteArray("-500");
    QTest::newRow("not a number") << QByteArray("5s");
    QTest::newRow("above an hour") << QByteArray("3600001");
}

void TestSettle::offOrInvalidRecordsNothing()
{
    QFETCH(QByteArray, value);
    const QStringList lines{"interface ip set address 11 source=static 10.1.1.1 255.0.0.0",
                            "interface ip add address 11 addr=10.2.2.2 mask=255.255.0.0",
                            "interface ip delete address 11 addr=10.1.1.1",
                            "interface ip set address 14 source=static 10.0.0.50 255.255.255.0"};
    // Both hosts start from the same text: the sample's lease times follow the clock.
    TestEnv reference;
    QVERIFY(reference.initSampleHost());
    const QString initial = reference.readHive();
    {
        const SettleKnob off(QByteArray{});
        QVERIFY(RunAll(reference, lines));
    }
    const QString expected = reference.readHive();

    TestEnv env;
    QVERIFY(env.writeHive(initial));
    const SettleKnob knob(value);
    QVERIFY(RunAll(env, lines));
    QCOMPARE(env.readHive(), expected);
    QCOMPARE(AddressList(11), QStringList{"10.2.2.2/255.255.0.0"});
    // The DHCP calls of this process follow the same knob.
    IP_ADAPTER_INDEX_MAP wireless = InterfaceEntry(14);
    QVERIFY(RunAll(env, {"interface ip set address 14 source=dhcp"}));
    QCOMPARE(IpReleaseAddress(&wireless), DWORD(NO_ERROR));
    QCOMPARE(IpRenewAddress(&wireless), DWORD(NO_ERROR));
    QCOMPARE(AddressList(14), QStringList{"10.0.0.23/255.255.255.0"});
    QVERIFY(!env.readHive().contains("Tentative"));
}

void TestSettle::dhcpLease()
{
    TestEnv env;
    QVERIFY(env.initSampleHost());
    const SettleKnob knob("600000");
    IP_ADAPTER_INDEX_MAP wireless = InterfaceEntry(14);
    // Renewing the lease the adapter holds keeps its address in use.
    QCOMPARE(IpRenewAddress(&wireless), DWORD(NO_ERROR));
    QCOMPARE(AddressList(14), QStringList{"10.0.0.23/255.255.255.0"});
    // A lease taken anew is tentative, and renewing it then does not start the time again.
    QCOMPARE(IpReleaseAddress(&wireless), DWORD(NO_ERROR));
    QCOMPARE(AddressList(14), QStringList{kUnusable});
    const qint64 before = winsys::WallClockMs();
    QCOMPARE(IpRenewAddress(&wireless), DWORD(NO_ERROR));
    QCOMPARE(AddressList(14), QStringList{kUnusable});
    const qint64 until = RecordedUntil(kWireless, "10.0.0.23");
    QVERIFY2(until >= before + 600000 && until <= winsys::WallClockMs() + 600000, qPrintable(QString::number(until)));
    QCOMPARE(IpRenewAddress(&wireless), DWORD(NO_ERROR));
    QCOMPARE(RecordedUntil(kWireless, "10.0.0.23"), until);
    // GetPerAdapterInfo is not about addresses.
    QCOMPARE(Only(Observe(14), {"dns"}), QStringList{"dns 10.0.0.1"});
    // Releasing it forgets it.
    QCOMPARE(IpReleaseAddress(&wireless), DWORD(NO_ERROR));
    QVERIFY(!env.readHive().contains("Tentative"));
    // An adapter without a server configures itself; that address is new too.
    QVERIFY(RunAll(env, {"interface ip delete address 11 addr=192.168.1.5", "interface ip set address 11 source=dhcp"}));
    QCOMPARE(AddressList(11), QStringList{kUnusable});
}

void TestSettle::foreignRecordsAreIgnored()
{
    TestEnv env;
    QVERIFY(env.initSampleHost());
    const qint64 later = winsys::WallClockMs() + 600000;
    winsys::RegValue qword{11, {}};
    for (int i = 0; i < 8; ++i)
        qword.data.push_back(uint8_t(quint64(later) >> (8 * i)));
    QCOMPARE(winsys::ModifyHive([&](winsys::Hive& h) -> uint32_t {
                 const std::string wired = std::string(winsys::keys::kTentative) + "\\" + kWired;
                 h.SetString(wired, "192.168.1.5", "later");                               // not a time
                 h.SetValue(wired, "10.0.0.23", qword);                                    // not this adapter's
                 h.SetValue(std::string(winsys::keys::kTentative) + "\\{nobody}", "10.0.0.23", qword);
                 return 0;
             }),
             0u);
    QCOMPARE(AddressList(11), QStringList{"192.168.1.5/255.255.255.0"});
    QCOMPARE(AddressList(14), QStringList{"10.0.0.23/255.255.255.0"});
    // netsh tidies the records of the adapter it changes, and only those.
    const SettleKnob knob(QByteArray{});
    QVERIFY(RunAll(env, {"interface ip add address 11 addr=192.168.1.6 mask=255.255.255.0"}));
    const QString hive = env.readHive();
    QVERIFY2(!hive.contains(QString("Tentative\\") + kWired) && hive.contains("Tentative\\{nobody}"), qPrintable(hive));
}

QTEST_GUILESS_MAIN(TestSettle)
#include "tst_settle.moc"
