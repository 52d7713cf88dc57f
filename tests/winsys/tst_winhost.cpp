// winhost init: generated hosts with several addresses, gateways and DNS
// servers per adapter, read back through the IP Helper calls.
#include "hostfacts.h"

#include <QtTest>

#include <winsys/host.h>

namespace {

QString Winhost()
{
    return TestEnv::binDir() + QStringLiteral("/winhost");
}

QStringList Prefixed(const QString& kind, const QString& prefix, const QStringList& hosts)
{
    QStringList out;
    for (const QString& h : hosts)
        out << kind + prefix + h;
    return out;
}

}  // namespace

class TestWinhost : public QObject
{
    Q_OBJECT

private slots:
    void generatedShape_data();
    void generatedShape();
    void badOptions_data();
    void badOptions();
    void usageNamesTheOptions();
};

void TestWinhost::generatedShape_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("staticFacts");   // adapter 100
    QTest::addColumn<QStringList>("dhcpFacts");     // adapter 101

    const QString s = "172.16.0.", d = "10.16.1.";
    QTest::newRow("one of each by default") << QStringList{"--adapters", "2"}
        << QStringList{"dhcp 0", "ip 172.16.0.5/255.255.255.0", "gw 172.16.0.1", "dns 172.16.0.1"}
        << QStringList{"dhcp 1", "ip 10.16.1.23/255.255.255.0", "gw 10.16.1.1", "dns 10.16.1.1"};
    QTest::newRow("3 addresses, 3 gateways, 4 dns servers")
        << QStringList{"--adapters", "2", "--addresses", "3", "--gateways", "3", "--dns", "4"}
        << QStringList{"dhcp 0"} + Prefixed("ip ", s, {"5/255.255.255.0", "6/255.255.255.0", "7/255.255.255.0"}) +
               Prefixed("gw ", s, {"1", "254", "253"}) + Prefixed("dns ", s, {"1", "101", "102", "103"})
        << QStringList{"dhcp 1", "ip 10.16.1.23/255.255.255.0"} + Prefixed("gw ", d, {"1", "254", "253"}) +
               Prefixed("dns ", d, {"1", "101", "102", "103"});
    QTest::newRow("any order, one option alone") << QStringList{"--dns", "2", "--adapters", "2"}
        << QStringList{"dhcp 0", "ip 172.16.0.5/255.255.255.0", "gw 172.16.0.1", "dns 172.16.0.1", "dns 172.16.0.101"}
        << QStringList{"dhcp 1", "ip 10.16.1.23/255.255.255.0", "gw 10.16.1.1", "dns 10.16.1.1", "dns 10.16.1.101"};
}

void TestWinhost::generatedShape()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, staticFacts);
    QFETCH(QStringList, dhcpFacts);
    TestEnv env;
    QString err;
    QCOMPARE(env.runProgram(Winhost(), QStringList{"init", env.hostDir()} + options, nullptr, &err), 0);
    QVERIFY2(err.isEmpty(), qPrintable(err));
    QCOMPARE(Observe(100), staticFacts);
    QCOMPARE(Observe(101), dhcpFacts);
    // netsh sees the same addresses: setting one replaces them all.
    QCOMPARE(env.runProgram(Netsh(), {"interface", "ip", "set", "address", "100", "source=static", "10.1.1.1",
                                      "255.0.0.0"}),
             0);
    QCOMPARE(Only(Observe(100), {"ip", "gw"}), QStringList{"ip 10.1.1.1/255.0.0.0"});
}

void TestWinhost::badOptions_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("message");
    QTest::newRow("shape without adapters") << QStringList{"--addresses", "2"} << "give --adapters N too";
    QTest::newRow("no addresses") << QStringList{"--adapters", "2", "--addresses", "0"}
                                  << "--addresses needs a number from 1 to 32, not \"0\"";
    QTest::newRow("too many gateways") << QStringList{"--adapters", "2", "--gateways", "33"}
                                       << "--gateways needs a number from 1 to 32, not \"33\"";
    QTest::newRow("number missing") << QStringList{"--adapters", "2", "--dns"} << "--dns needs a number";
    QTest::newRow("twice") << QStringList{"--adapters", "2", "--dns", "2", "--dns", "3"} << "--dns is given twice";
    QTest::newRow("unknown option") << QStringList{"--adapters", "2", "--wins", "2"} << "unknown option \"--wins\"";
    QTest::newRow("adapters not a number") << QStringList{"--adapters", "two"}
                                           << "--adapters needs a positive number, not \"two\"";
}

void TestWinhost::badOptions()
{
    QFETCH(QStringList, options);
    QFETCH(QString, message);
    TestEnv env;
    QString err;
    QCOMPARE(env.runProgram(Winhost(), QStringList{"init", env.hostDir()} + options, nullptr, &err), 2);
    QVERIFY2(err.startsWith("winhost: ") && err.contains(message) && err.contains("Usage: winhost init"),
             qPrintable(err));
    QVERIFY(!QFile::exists(QString::fromStdString(winsys::HivePath(env.hostDir().toStdString()))));
}

void TestWinhost::usageNamesTheOptions()
{
    TestEnv env;
    QString out;
    QCOMPARE(env.runProgram(Winhost(), {"--help"}, &out), 0);
    for (const char* option : {"--adapters N", "--addresses K", "--gateways K", "--dns K"})
        QVERIFY2(out.contains(QLatin1String(option)), option);
}

QTEST_GUILESS_MAIN(TestWinhost)
#include "tst_winhost.moc"
