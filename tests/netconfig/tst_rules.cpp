// The pure rules, each as a table: address text, the patterns, the mask
// rules, host addresses, identification comparison and the phase plan.
#include "iplist.h"
#include "netconfig_rules.h"
#include "verification.h"

#include <QtTest>

class TestRules : public QObject
{
    Q_OBJECT

private slots:
    void addressText_data();
    void addressText();
    void patterns_data();
    void patterns();
    void masks_data();
    void masks();
    void hostAddress_data();
    void hostAddress();
    void identityCase();
    void plannedPhases_data();
    void plannedPhases();
};

// The loose conversion: anchored, no range check, high bits wrap away.
void TestRules::addressText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<uint>("value");
    QTest::newRow("plain") << "192.168.0.1" << 0xC0A80001u;
    QTest::newRow("leading zeros") << "010.001.000.005" << 0x0A010005u;
    QTest::newRow("first group wraps") << "300.1.1.1" << 0x2C010101u;
    QTest::newRow("inner group spills into the one before") << "2.256.1.1" << 0x03000101u;
    QTest::newRow("empty") << "" << 0u;
    QTest::newRow("three groups") << "1.2.3" << 0u;
    QTest::newRow("five groups") << "1.2.3.4.5" << 0u;
    QTest::newRow("leading blank") << " 1.2.3.4" << 0u;
    QTest::newRow("trailing dot") << "1.2.3.4." << 0u;
    QTest::newRow("four digits") << "1234.1.1.1" << 0u;
    QTest::newRow("letters") << "a.b.c.d" << 0u;
}

void TestRules::addressText()
{
    QFETCH(QString, text);
    QFETCH(uint, value);
    const CIPAddress address(text);
    QCOMPARE(address.Value(), value);
    if (value != 0 && !text.startsWith(u'0'))
        QCOMPARE(CIPAddress(address.ToString()).Value(), value);
}

void TestRules::patterns_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("strict");
    QTest::addColumn<bool>("blankOrZero");
    QTest::newRow("address") << "10.0.0.1" << true << false;
    // Twelve digits do not fit in 32 bits: they read as 0, like a blank.
    QTest::newRow("255 is the top") << "255.255.255.255" << true << true;
    QTest::newRow("256") << "10.0.0.256" << false << false;
    QTest::newRow("three digits, zeros") << "010.000.000.001" << true << true;
    QTest::newRow("short enough to read") << "10.0.0.12" << true << false;
    QTest::newRow("four digits") << "0010.0.0.1" << false << false;
    QTest::newRow("cleared field") << "..." << false << true;
    QTest::newRow("zero") << "0.0.0.0" << true << true;
    QTest::newRow("zeros partly typed") << "0.0.." << false << true;
    QTest::newRow("too long to read is zero") << "192.168.001.001" << true << true;
    QTest::newRow("incomplete") << "192.168.." << false << false;
    QTest::newRow("blank inside reads as nothing") << "10.0 .0.1" << false << true;
}

void TestRules::patterns()
{
    QFETCH(QString, text);
    QFETCH(bool, strict);
    QFETCH(bool, blankOrZero);
    QCOMPARE(IsStrictAddress(text), strict);
    QCOMPARE(IsBlankOrZeroAddress(text), blankOrZero);
}

// fits: the dialog's old rule against the address; contiguous: what netsh
// takes as a mask at all.
void TestRules::masks_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<bool>("contiguous");
    QTest::newRow("class C") << "192.168.1.10"
                             << "255.255.255.0" << true << true;
    QTest::newRow("second octet outside") << "10.1.2.3"
                                          << "255.0.0.0" << false << true;
    QTest::newRow("first octet outside") << "10.0.0.0"
                                         << "0.0.0.0" << false << true;
    QTest::newRow("third octet not compared") << "172.16.5.4"
                                              << "255.255.0.0" << true << true;
    QTest::newRow("m3 below m4") << "10.0.0.1"
                                 << "255.255.0.255" << false << false;
    QTest::newRow("m2 below m3") << "10.0.0.1"
                                 << "255.254.255.0" << false << false;
    QTest::newRow("m1 below m2") << "0.0.0.1"
                                 << "0.255.0.0" << false << false;
    QTest::newRow("hole in the last octet") << "192.168.0.5"
                                            << "255.255.255.1" << true << false;
    QTest::newRow("/31") << "192.168.0.4"
                         << "255.255.255.254" << true << true;
    QTest::newRow("/32") << "192.168.0.4"
                         << "255.255.255.255" << true << true;
    QTest::newRow("/9") << "10.0.0.4"
                        << "255.128.0.0" << true << true;
}

void TestRules::masks()
{
    QFETCH(QString, address);
    QFETCH(QString, mask);
    QFETCH(bool, fits);
    QFETCH(bool, contiguous);
    QCOMPARE(MaskFitsAddress(CIPAddress(address).Value(), CIPAddress(mask).Value()), fits);
    QCOMPARE(IsContiguousMask(CIPAddress(mask).Value()), contiguous);
}

void TestRules::hostAddress_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<int>("problem");
    QTest::addColumn<QString>("inSubnet"); // a gateway in its subnet
    QTest::addColumn<QString>("outside");  // and one just outside
    const int none = int(HostAddressProblem::None);
    QTest::newRow("host") << "192.168.1.5"
                          << "255.255.255.0" << none << "192.168.1.254"
                          << "192.168.2.1";
    QTest::newRow("network") << "192.168.1.0"
                             << "255.255.255.0" << int(HostAddressProblem::NetworkAddress) << "192.168.1.1"
                             << "192.168.0.255";
    QTest::newRow("broadcast") << "10.0.255.255"
                               << "255.255.0.0" << int(HostAddressProblem::BroadcastAddress) << "10.0.0.1"
                               << "10.1.0.1";
    QTest::newRow("/31 has neither") << "10.0.0.0"
                                     << "255.255.255.254" << none << "10.0.0.1"
                                     << "10.0.0.2";
    QTest::newRow("/32 has neither") << "10.0.0.7"
                                     << "255.255.255.255" << none << "10.0.0.7"
                                     << "10.0.0.6";
    QTest::newRow("this network") << "0.0.0.9"
                                  << "255.0.0.0" << int(HostAddressProblem::Reserved) << "0.1.0.0"
                                  << "1.0.0.0";
    QTest::newRow("loopback") << "127.0.0.1"
                              << "255.0.0.0" << int(HostAddressProblem::Loopback) << "127.9.9.9"
                              << "128.0.0.1";
    QTest::newRow("last unicast") << "223.255.255.1"
                                  << "255.255.255.0" << none << "223.255.255.2"
                                  << "223.255.254.1";
    QTest::newRow("multicast") << "224.0.0.1"
                               << "255.255.255.0" << int(HostAddressProblem::NotUnicast) << "224.0.0.2"
                               << "225.0.0.1";
    QTest::newRow("experimental") << "250.1.1.1"
                                  << "255.0.0.0" << int(HostAddressProblem::NotUnicast) << "250.2.2.2"
                                  << "251.1.1.1";
}

void TestRules::hostAddress()
{
    QFETCH(QString, address);
    QFETCH(QString, mask);
    QFETCH(int, problem);
    QFETCH(QString, inSubnet);
    QFETCH(QString, outside);
    const quint32 a = CIPAddress(address).Value(), m = CIPAddress(mask).Value();
    QCOMPARE(int(CheckHostAddress(a, m)), problem);
    QVERIFY(InSubnet(CIPAddress(inSubnet).Value(), a, m));
    QVERIFY(!InSubnet(CIPAddress(outside).Value(), a, m));
}

void TestRules::identityCase()
{
    QVERIFY(!IdentityDiffers(QStringLiteral("ws01"), QStringLiteral("WS01")));
    QVERIFY(IdentityDiffers(QStringLiteral("WS01"), QStringLiteral("WS02")));
    QVERIFY(IdentityDiffers(QStringLiteral("WS01"), QString()));
    QVERIFY(!IdentityDiffers(QString(), QString()));
}

// live changes against a card asking for every phase: which still run.
void TestRules::plannedPhases_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("phases"); // D W A
    QTest::newRow("system holds it all") << ""
                                         << "";
    QTest::newRow("second DNS server differs") << "dns2"
                                               << "D";
    QTest::newRow("duplicate DNS server is no change") << "dnsdup"
                                                       << "";
    QTest::newRow("DNS from DHCP") << "dnsauto"
                                   << "D";
    QTest::newRow("secondary WINS") << "wins2"
                                    << "W";
    QTest::newRow("mask") << "mask"
                          << "A";
    QTest::newRow("gateway order") << "gworder"
                                   << "A";
    QTest::newRow("further address") << "more"
                                     << "A";
    QTest::newRow("address from DHCP") << "dhcp"
                                       << "A";
}

void TestRules::plannedPhases()
{
    QFETCH(QString, change);
    QFETCH(QString, phases);
    CNetworkCard wanted;
    wanted.m_IPAddress = CIPAddress(QStringLiteral("10.0.0.5"));
    wanted.m_SubnetMask = CIPAddress(QStringLiteral("255.255.255.0"));
    wanted.m_Gateways = iptest::Ips({"10.0.0.1", "10.0.0.2"});
    wanted.m_DNSServers = iptest::Ips({"10.0.0.1", "10.0.0.3"});
    wanted.m_PrimaryWINS = CIPAddress(QStringLiteral("10.0.0.4"));
    wanted.m_AddressChanged = wanted.m_DNSChanged = wanted.m_WINSChanged = true;
    CNetworkCard live = wanted;
    live.ClearChanges();
    if (change == QLatin1String("dns2"))
        live.m_DNSServers = iptest::Ips({"10.0.0.1"});
    if (change == QLatin1String("dnsdup"))
        wanted.m_DNSServers = iptest::Ips({"10.0.0.1", "10.0.0.3", "10.0.0.1"});
    if (change == QLatin1String("dnsauto"))
        live.m_DNSAuto = true;
    if (change == QLatin1String("wins2"))
        live.m_SecondaryWINS = CIPAddress(QStringLiteral("10.0.0.9"));
    if (change == QLatin1String("mask"))
        live.m_SubnetMask = CIPAddress(QStringLiteral("255.255.0.0"));
    if (change == QLatin1String("gworder"))
        live.m_Gateways = iptest::Ips({"10.0.0.2", "10.0.0.1"});
    if (change == QLatin1String("more"))
        live.m_SecondaryAddresses = {{CIPAddress(QStringLiteral("10.0.0.6")), wanted.m_SubnetMask}};
    if (change == QLatin1String("dhcp"))
        live.m_DHCPEnabled = true;
    QString planned;
    for (Phase phase : PlannedPhases(wanted, &live, 0))
        planned += QStringLiteral("DWA").at(int(phase));
    QCOMPARE(planned, phases);
    // Without knowing the system, everything asked for runs; nothing asked
    // for never runs.
    QCOMPARE(PlannedPhases(wanted, nullptr, 0).count(), 3);
    wanted.ClearChanges();
    QVERIFY(PlannedPhases(wanted, &live, 0).isEmpty());
}

QTEST_GUILESS_MAIN(TestRules)
#include "tst_rules.moc"
