// The netsh queues built for each apply phase, exact text (blanks included).
#include "iplist.h"
#include "netconfig_rules.h"

#include <QtTest>

namespace {

QStringList Entries(std::initializer_list<const char*> parameters)
{
    QStringList entries;
    for (const char* p : parameters)
        entries << QStringLiteral("netsh.exe;") + QLatin1String(p);
    return entries;
}

} // namespace

class TestApply : public QObject
{
    Q_OBJECT

private slots:
    void queue_data();
    void queue();
};

// values: DNS servers; primary and secondary WINS; address, mask, gateways.
void TestApply::queue_data()
{
    QTest::addColumn<QString>("phase");
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("dns static") << "dns" << false << QStringList{"10.0.0.1", "10.0.0.2"}
        << Entries({"interface ip delete dns 7 all",
                    "interface ip set dns 7 source=static addr=10.0.0.1 ddns=enabled register=primary",
                    "interface ip add dns 7 addr=10.0.0.1", "interface ip add dns 7 addr=10.0.0.2"});
    // A first entry of 0 means "no preferred server", yet it is still added.
    QTest::newRow("dns static, first 0") << "dns" << false << QStringList{"0.0.0.0", "10.0.0.2"}
        << Entries({"interface ip delete dns 7 all", "interface ip set dns 7 source=static addr=none ddns=enabled ",
                    "interface ip add dns 7 addr=0.0.0.0", "interface ip add dns 7 addr=10.0.0.2"});
    QTest::newRow("dns dhcp, stale list") << "dns" << true << QStringList{"10.0.0.1", "0.0.0.0"}
        << Entries({"interface ip delete dns 7 addr=10.0.0.1", "interface ip delete dns 7 addr=0.0.0.0",
                    "interface ip set dns 7 source=dhcp"});
    QTest::newRow("wins static") << "wins" << false << QStringList{"10.0.0.8", "10.0.0.9"}
        << Entries({"interface ip set wins 7 source=static addr=10.0.0.8", "interface ip add wins 7 addr=10.0.0.9"});
    QTest::newRow("wins static, secondary only") << "wins" << false << QStringList{"0.0.0.0", "10.0.0.9"}
        << Entries({"interface ip set wins 7 source=static addr=none", "interface ip add wins 7 addr=10.0.0.9"});
    QTest::newRow("wins dhcp, secondary only") << "wins" << true << QStringList{"0.0.0.0", "10.0.0.9"}
        << Entries({"interface ip delete wins 7 addr=10.0.0.9", "interface ip set wins 7 source=dhcp"});
    QTest::newRow("address static, gateways in order")
        << "address" << false << QStringList{"192.168.1.5", "255.255.255.0", "192.168.1.254", "0.0.0.0"}
        << Entries({"interface ip set address 7 source=static 192.168.1.5 255.255.255.0",
                    "interface ip add address 7 gateway=192.168.1.254 gwmetric=0 ",
                    "interface ip add address 7 gateway=0.0.0.0 gwmetric=0 "});
    QTest::newRow("address dhcp") << "address" << true << QStringList{"192.168.1.5", "255.255.255.0", "192.168.1.1"}
        << Entries({"interface ip delete address 7 addr=192.168.1.5", "interface ip set address 7 source=dhcp"});
    QTest::newRow("address dhcp, address 0") << "address" << true << QStringList{"0.0.0.0", "0.0.0.0"}
        << Entries({"interface ip set address 7 source=dhcp"});
}

void TestApply::queue()
{
    QFETCH(QString, phase);
    QFETCH(bool, automatic);
    QFETCH(QStringList, values);
    QFETCH(QStringList, expected);
    CNetworkCard card;
    card.m_Index = 7;
    if (phase == QLatin1String("dns")) {
        card.m_DNSAuto = automatic;
        card.m_DNSServers = iptest::Ips(values);
        QCOMPARE(BuildDNSCommands(card), expected);
    } else if (phase == QLatin1String("wins")) {
        card.m_WINSAuto = automatic;
        card.m_PrimaryWINS = CIPAddress(values.at(0));
        card.m_SecondaryWINS = CIPAddress(values.at(1));
        QCOMPARE(BuildWINSCommands(card), expected);
    } else {
        card.m_DHCPEnabled = automatic;
        card.m_IPAddress = CIPAddress(values.at(0));
        card.m_SubnetMask = CIPAddress(values.at(1));
        card.m_Gateways = iptest::Ips(values.mid(2));
        QCOMPARE(BuildAddressCommands(card), expected);
    }
    // The interface index goes out as plain unsigned decimal.
    card.m_Index = 4294967295u;
    QVERIFY(BuildWINSCommands(card).first().contains(QLatin1String(" wins 4294967295 ")));
}

QTEST_APPLESS_MAIN(TestApply)
#include "tst_apply.moc"
