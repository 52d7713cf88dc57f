// WINSYS_SETTLE_MS: an address netsh.exe sets or adds, and a new DHCP lease,
// stay tentative for a while and the IP Helper calls list them as 0.0.0.0
// until then, in this process as in any other.
#include "hostfacts.h"

#include <QtTest>

#include <winsys/host.h>

namespace {

const char kWireless[] = "{9C8B7A6F-5E4D-4C3B-8A29-1F0E9D8C7B6A}"; // sample adapter 14, DHCP
const QString kUnusable = QStringLiteral("ip 0.0.0.0/0.0.0.0");

// Moves every recorded settling time into the past, as if the time had passed.
void LetEverythingSettle()
{
    ChangeHive([](winsys::Hive& h) {
        const std::string base = winsys::keys::kTentative;
        for (const std::string& sub : h.SubKeys(base))
            for (const std::string& name : h.ValueNames(base + "\\" + sub))
                h.SetValue(base + "\\" + sub, name, winsys::RegValue{11, {1, 0, 0, 0, 0, 0, 0, 0}});
    });
}

qint64 WirelessLeaseUntil()
{
    int64_t until = 0;
    ReadHost([&](const winsys::Hive& h) { until = winsys::TentativeUntil(h, kWireless, "10.0.0.23"); });
    return until;
}

} // namespace

class TestSettle : public QObject
{
    Q_OBJECT

private slots:
    void init() { qunsetenv("WINSYS_SETTLE_MS"); } // for this process and the programs it starts
    void cleanup() { qunsetenv("WINSYS_SETTLE_MS"); }

    void tentativeUntilSettled_data()
    {
        // The addresses while the time runs, and afterwards.
        Columns<int, QStringList, QString, QString>({"ifIndex", "lines", "during", "settled"});
        const QString primary = "ip 192.168.1.5/255.255.255.0";
        Row("static address set", 11, QStringList{"set address 11 source=static 192.168.2.5 255.255.255.0"}, kUnusable,
            "ip 192.168.2.5/255.255.255.0");
        Row("secondary added, primary stays usable", 11,
            QStringList{"add address 11 addr=192.168.1.6 mask=255.255.255.0"}, primary + ", " + kUnusable,
            primary + ", ip 192.168.1.6/255.255.255.0");
        Row("gateway and servers only", 11,
            QStringList{"add address 11 gateway=192.168.1.254 gwmetric=0", "set dns 11 source=static addr=10.0.0.1",
                        "add wins 11 addr=10.0.0.9"},
            primary, primary);
        // netsh tidies the records of the adapter it changes, and only those.
        Row("lease taken by netsh, another adapter changed", 14,
            QStringList{"set address 14 source=static 10.0.0.50 255.255.255.0", "delete address 14 addr=10.0.0.50",
                        "set address 14 source=dhcp", "set address 11 source=static 192.168.2.5 255.255.255.0"},
            kUnusable, "ip 10.0.0.23/255.255.255.0");
    }
    void tentativeUntilSettled()
    {
        QFETCH(int, ifIndex);
        QFETCH(QStringList, lines);
        QFETCH(QString, during);
        QFETCH(QString, settled);
        TestEnv env;
        QVERIFY(env.initSampleHost());
        qputenv("WINSYS_SETTLE_MS", "600000"); // far longer than the test takes
        QCOMPARE(RunNetsh(env, lines), QString());
        QCOMPARE(Facts(ifIndex, "ip"), during);
        LetEverythingSettle();
        QCOMPARE(Facts(ifIndex, "ip"), settled);
    }

    void settlesWithoutAFileChange()
    {
        TestEnv env;
        QVERIFY(env.initSampleHost());
        qputenv("WINSYS_SETTLE_MS", "1500");
        QCOMPARE(Facts(11, "ip"), "ip 192.168.1.5/255.255.255.0"); // this process has read the host
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(RunNetsh(env, {"set address 11 source=static 192.168.2.5 255.255.255.0"}), QString());
        const QString first = Facts(11, "ip");
        if (clock.elapsed() < 1400)
            QCOMPARE(first, kUnusable);
        const QString hive = env.readHive();
        QTRY_COMPARE_WITH_TIMEOUT(Facts(11, "ip"), "ip 192.168.2.5/255.255.255.0", 30000);
        QCOMPARE(env.readHive(), hive); // nobody wrote the host meanwhile
    }

    // Unset is the default every other winsys test runs with (tst_netsh takes a lease with it).
    void offOrInvalidRecordsNothing_data()
    {
        QTest::addColumn<QByteArray>("value");
        for (const char* value : {"0", "5s", "3600001"}) // the last: above an hour
            QTest::newRow(value) << QByteArray(value);
    }
    void offOrInvalidRecordsNothing()
    {
        QFETCH(QByteArray, value);
        TestEnv env;
        QVERIFY(env.initSampleHost());
        qputenv("WINSYS_SETTLE_MS", value);
        QCOMPARE(RunNetsh(env, {"set address 11 source=static 10.1.1.1 255.0.0.0",
                                "add address 11 addr=10.2.2.2 mask=255.255.0.0"}),
                 QString());
        QCOMPARE(Facts(11, "ip"), "ip 10.1.1.1/255.0.0.0, ip 10.2.2.2/255.255.0.0");
        QVERIFY(!env.readHive().contains("Tentative"));
    }

    void dhcpLease()
    {
        TestEnv env;
        QVERIFY(env.initSampleHost());
        qputenv("WINSYS_SETTLE_MS", "600000");
        IP_ADAPTER_INDEX_MAP wireless = InterfaceEntry(14);
        // Renewing the lease the adapter holds keeps its address in use.
        QCOMPARE(IpRenewAddress(&wireless), DWORD(NO_ERROR));
        QCOMPARE(Facts(14, "ip"), "ip 10.0.0.23/255.255.255.0");
        // A lease taken anew is tentative, and renewing it then does not start the time again.
        QCOMPARE(IpReleaseAddress(&wireless), DWORD(NO_ERROR));
        QCOMPARE(Facts(14, "ip"), kUnusable);
        const qint64 before = winsys::WallClockMs();
        QCOMPARE(IpRenewAddress(&wireless), DWORD(NO_ERROR));
        QCOMPARE(Facts(14, "ip dns"), kUnusable + ", dns 10.0.0.1"); // GetPerAdapterInfo is not about addresses
        const qint64 until = WirelessLeaseUntil();
        QVERIFY2(until >= before + 600000 && until <= winsys::WallClockMs() + 600000,
                 qPrintable(QString::number(until)));
        QCOMPARE(IpRenewAddress(&wireless), DWORD(NO_ERROR));
        QCOMPARE(WirelessLeaseUntil(), until);
        // Releasing it forgets it.
        QCOMPARE(IpReleaseAddress(&wireless), DWORD(NO_ERROR));
        QVERIFY(!env.readHive().contains("Tentative"));
        // An adapter without a server configures itself; that address is new too.
        QCOMPARE(RunNetsh(env, {"delete address 11 addr=192.168.1.5", "set address 11 source=dhcp"}), QString());
        QCOMPARE(Facts(11, "ip"), kUnusable);
    }
};

QTEST_GUILESS_MAIN(TestSettle)
#include "tst_settle.moc"
