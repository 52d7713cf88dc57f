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
        // Options in any order, and each count past the first.
        Row("3 addresses, 3 gateways, 4 dns servers", "--dns 4 --gateways 3 --adapters 2 --addresses 3",
            "dhcp 0, ip 172.16.0.5/255.255.255.0, ip 172.16.0.6/255.255.255.0, ip 172.16.0.7/255.255.255.0, "
            "gw 172.16.0.1, gw 172.16.0.254, gw 172.16.0.253, "
            "dns 172.16.0.1, dns 172.16.0.101, dns 172.16.0.102, dns 172.16.0.103",
            "dhcp 1, ip 10.16.1.23/255.255.255.0, gw 10.16.1.1, gw 10.16.1.254, gw 10.16.1.253, "
            "dns 10.16.1.1, dns 10.16.1.101, dns 10.16.1.102, dns 10.16.1.103");
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
};

QTEST_GUILESS_MAIN(TestWinhost)
#include "tst_winhost.moc"
