// The netsh queues built for each apply phase, compared as the exact text
// that reaches netsh (blanks included).
#include "iplist.h"
#include "netconfig_rules.h"

#include <QtTest>

namespace {

using iptest::Ips;

QStringList Entries(std::initializer_list<const char*> parameters)
{
    QStringList entries;
    for (const char* p : parameters)
        entries << QStringLiteral("netsh.exe;") + QLatin1String(p);
    return entries;
}

CNetworkCard Card()
{
    CNetworkCard card;
    card.m_Index = 7;
    return card;
}

} // namespace

class TestApply : public QObject
{
    Q_OBJECT

private slots:
    void dnsQueue_data();
    void dnsQueue();
    void winsQueue_data();
    void winsQueue();
    void addressQueue_data();
    void addressQueue();
    void interfaceIndexIsPlainDecimal();
    void parametersKey();
};

void TestApply::dnsQueue_data()
{
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<QStringList>("servers");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("static, two servers") << false << QStringList{"10.0.0.1", "10.0.0.2"}
        << Entries({"interface ip delete dns 7 all",
                    "interface ip set dns 7 source=static addr=10.0.0.1 ddns=enabled register=primary",
                    "interface ip add dns 7 addr=10.0.0.1", "interface ip add dns 7 addr=10.0.0.2"});
    QTest::newRow("static, empty list") << false << QStringList()
        << Entries({"interface ip delete dns 7 all", "interface ip set dns 7 source=static addr=none ddns=enabled "});
    // A first entry of 0 means "no preferred server", yet it is still added.
    QTest::newRow("static, first entry 0") << false << QStringList{"0.0.0.0", "10.0.0.2"}
        << Entries({"interface ip delete dns 7 all", "interface ip set dns 7 source=static addr=none ddns=enabled ",
                    "interface ip add dns 7 addr=0.0.0.0", "interface ip add dns 7 addr=10.0.0.2"});
    QTest::newRow("dhcp, stale list") << true << QStringList{"10.0.0.1", "10.0.0.2"}
        << Entries({"interface ip delete dns 7 addr=10.0.0.1", "interface ip delete dns 7 addr=10.0.0.2",
                    "interface ip set dns 7 source=dhcp"});
    QTest::newRow("dhcp, entry 0 included") << true << QStringList{"0.0.0.0"}
        << Entries({"interface ip delete dns 7 addr=0.0.0.0", "interface ip set dns 7 source=dhcp"});
    QTest::newRow("dhcp, empty list") << true << QStringList() << Entries({"interface ip set dns 7 source=dhcp"});
}

void TestApply::dnsQueue()
{
    QFETCH(bool, automatic);
    QFETCH(QStringList, servers);
    QFETCH(QStringList, expected);
    CNetworkCard card = Card();
    card.m_DNSAuto = automatic;
    card.m_DNSServers = Ips(servers);
    QCOMPARE(BuildDNSCommands(card), expected);
}

void TestApply::winsQueue_data()
{
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<QString>("primary");
    QTest::addColumn<QString>("secondary");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("static, both") << false << "10.0.0.8" << "10.0.0.9"
        << Entries({"interface ip set wins 7 source=static addr=10.0.0.8", "interface ip add wins 7 addr=10.0.0.9"});
    QTest::newRow("static, secondary only") << false << "0.0.0.0" << "10.0.0.9"
        << Entries({"interface ip set wins 7 source=static addr=none", "interface ip add wins 7 addr=10.0.0.9"});
    QTest::newRow("static, primary only") << false << "10.0.0.8" << "0.0.0.0"
        << Entries({"interface ip set wins 7 source=static addr=10.0.0.8"});
    QTest::newRow("static, none") << false << "0.0.0.0" << "0.0.0.0"
        << Entries({"interface ip set wins 7 source=static addr=none"});
    QTest::newRow("dhcp, both") << true << "10.0.0.8" << "10.0.0.9"
        << Entries({"interface ip delete wins 7 addr=10.0.0.8", "interface ip delete wins 7 addr=10.0.0.9",
                    "interface ip set wins 7 source=dhcp"});
    QTest::newRow("dhcp, secondary only") << true << "0.0.0.0" << "10.0.0.9"
        << Entries({"interface ip delete wins 7 addr=10.0.0.9", "interface ip set wins 7 source=dhcp"});
}

void TestApply::winsQueue()
{
    QFETCH(bool, automatic);
    QFETCH(QString, primary);
    QFETCH(QString, secondary);
    QFETCH(QStringList, expected);
    CNetworkCard card = Card();
    card.m_WINSAuto = automatic;
    card.m_PrimaryWINS = CIPAddress(primary);
    card.m_SecondaryWINS = CIPAddress(secondary);
    QCOMPARE(BuildWINSCommands(card), expected);
}

void TestApply::addressQueue_data()
{
    QTest::addColumn<bool>("dhcp");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QStringList>("gateways");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("static, two gateways in list order")
        << false << "192.168.1.5" << "255.255.255.0" << QStringList{"192.168.1.254", "192.168.1.1"}
        << Entries({"interface ip set address 7 source=static 192.168.1.5 255.255.255.0",
                    "interface ip add address 7 gateway=192.168.1.254 gwmetric=0 ",
                    "interface ip add address 7 gateway=192.168.1.1 gwmetric=0 "});
    QTest::newRow("static, no gateway") << false << "192.168.1.5" << "255.255.255.0" << QStringList()
        << Entries({"interface ip set address 7 source=static 192.168.1.5 255.255.255.0"});
    QTest::newRow("static, gateway 0 included") << false << "10.1.2.3" << "255.0.0.0" << QStringList{"0.0.0.0"}
        << Entries({"interface ip set address 7 source=static 10.1.2.3 255.0.0.0",
                    "interface ip add address 7 gateway=0.0.0.0 gwmetric=0 "});
    QTest::newRow("dhcp, with address") << true << "192.168.1.5" << "255.255.255.0" << QStringList{"192.168.1.1"}
        << Entries({"interface ip delete address 7 addr=192.168.1.5", "interface ip set address 7 source=dhcp"});
    QTest::newRow("dhcp, address 0") << true << "0.0.0.0" << "0.0.0.0" << QStringList()
        << Entries({"interface ip set address 7 source=dhcp"});
}

void TestApply::addressQueue()
{
    QFETCH(bool, dhcp);
    QFETCH(QString, address);
    QFETCH(QString, mask);
    QFETCH(QStringList, gateways);
    QFETCH(QStringList, expected);
    CNetworkCard card = Card();
    card.m_DHCPEnabled = dhcp;
    card.m_IPAddress = CIPAddress(address);
    card.m_SubnetMask = CIPAddress(mask);
    card.m_Gateways = Ips(gateways);
    QCOMPARE(BuildAddressCommands(card), expected);
}

void TestApply::interfaceIndexIsPlainDecimal()
{
    CNetworkCard card;
    card.m_Index = 4294967295u;
    QCOMPARE(BuildWINSCommands(card), Entries({"interface ip set wins 4294967295 source=static addr=none"}));
}

void TestApply::parametersKey()
{
    QCOMPARE(AdapterParametersKey(QStringLiteral("{ABC}")),
             QStringLiteral("SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\{ABC}"));
}

QTEST_APPLESS_MAIN(TestApply)
#include "tst_apply.moc"
