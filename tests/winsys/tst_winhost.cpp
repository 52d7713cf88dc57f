// winhost init: generated hosts with several addresses, gateways and DNS
// servers per adapter, read back through the IP Helper calls.
#include "hostfacts.h"

#include <QtTest>

#include <winsys/host.h>

class TestWinhost : public QObject
{
    Q_OBJECT

private slots:
    void generatedShape_data()
    {
        // The facts of adapter 100 (static) and 101 (DHCP).
        Columns<QString, QString, QString>({"options", "staticFacts", "dhcpFacts"});
        Row("one of each by default", "--adapters 2",
            "dhcp 0, ip 172.16.0.5/255.255.255.0, gw 172.16.0.1, dns 172.16.0.1",
            "dhcp 1, ip 10.16.1.23/255.255.255.0, gw 10.16.1.1, dns 10.16.1.1");
        Row("3 addresses, 3 gateways, 4 dns servers", "--adapters 2 --addresses 3 --gateways 3 --dns 4",
            "dhcp 0, ip 172.16.0.5/255.255.255.0, ip 172.16.0.6/255.255.255.0, ip 172.16.0.7/255.255.255.0, "
            "gw 172.16.0.1, gw 172.16.0.254, gw 172.16.0.253, "
            "dns 172.16.0.1, dns 172.16.0.101, dns 172.16.0.102, dns 172.16.0.103",
            "dhcp 1, ip 10.16.1.23/255.255.255.0, gw 10.16.1.1, gw 10.16.1.254, gw 10.16.1.253, "
            "dns 10.16.1.1, dns 10.16.1.101, dns 10.16.1.102, dns 10.16.1.103");
        Row("any order, one option alone", "--dns 2 --adapters 2",
            "dhcp 0, ip 172.16.0.5/255.255.255.0, gw 172.16.0.1, dns 172.16.0.1, dns 172.16.0.101",
            "dhcp 1, ip 10.16.1.23/255.255.255.0, gw 10.16.1.1, dns 10.16.1.1, dns 10.16.1.101");
    }
    void generatedShape()
    {
        QFETCH(QString, options);
        TestEnv env;
        QString err;
        QCOMPARE(env.runProgram(TestEnv::binDir() + "/winhost", QStringList{"init", env.hostDir()} + options.split(' '),
                                nullptr, &err),
                 0);
        QCOMPARE(err, QString());
        QTEST(Facts(100, "dhcp ip gw dns wins"), "staticFacts");
        QTEST(Facts(101, "dhcp ip gw dns wins"), "dhcpFacts");
        // netsh sees the same addresses: setting one replaces them all.
        QCOMPARE(RunNetsh(env, {"set address 100 source=static 10.1.1.1 255.0.0.0"}), QString());
        QCOMPARE(Facts(100, "ip gw"), "ip 10.1.1.1/255.0.0.0");
    }

    // Refused with a message and the usage, and no host written.
    void badOptions_data()
    {
        Columns<QString, QString>({"options", "message"});
        Row("shape without adapters", "--addresses 2", "give --adapters N too");
        Row("no addresses", "--adapters 2 --addresses 0", "--addresses needs a number from 1 to 32, not \"0\"");
        Row("too many gateways", "--adapters 2 --gateways 33", "--gateways needs a number from 1 to 32, not \"33\"");
        Row("number missing", "--adapters 2 --dns", "--dns needs a number");
        Row("twice", "--adapters 2 --dns 2 --dns 3", "--dns is given twice");
        Row("unknown option", "--adapters 2 --wins 2", "unknown option \"--wins\"");
        Row("adapters not a number", "--adapters two", "--adapters needs a positive number, not \"two\"");
    }
    void badOptions()
    {
        QFETCH(QString, options);
        QFETCH(QString, message);
        TestEnv env;
        QString err;
        QCOMPARE(env.runProgram(TestEnv::binDir() + "/winhost", QStringList{"init", env.hostDir()} + options.split(' '),
                                nullptr, &err),
                 2);
        QVERIFY2(err.startsWith("winhost: ") && err.contains(message) && err.contains("Usage: winhost init"),
                 qPrintable(err));
        QVERIFY(!QFile::exists(QString::fromStdString(winsys::HivePath(env.hostDir().toStdString()))));
        QString out;
        QCOMPARE(env.runProgram(TestEnv::binDir() + "/winhost", {"--help"}, &out), 0);
        for (const char* option : {"--adapters N", "--addresses K", "--gateways K", "--dns K"})
            QVERIFY2(out.contains(QLatin1String(option)), option);
    }
};

QTEST_GUILESS_MAIN(TestWinhost)
#include "tst_winhost.moc"
