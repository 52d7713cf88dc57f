#include "hosthive.h"
#include "netconfigimpl.h"

#include <QtTest>

namespace {

CIPAddress Ip(const char* text)
{
    return CIPAddress(QString::fromLatin1(text));
}

const char kParameters[] = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";

} // namespace

// Reading the live configuration of the emulated host into the dialog's
// model, and the registry string helper it uses.
class TestReadConfig : public QObject
{
    Q_OBJECT

private slots:
    void sampleHost();
    void adapterWithoutGateway();
    void firstAddressOnly();
    void gatewayChainInOrder();
    void staticAdapterWithoutDNS();
    void automaticSources_data();
    void automaticSources();
    void identification_data();
    void identification();
    void noAdapter();
    void vanishedAdaptersKeepOldModel();
    void brokenHostKeepsModel();
    void rereadDropsEdits();
    void registryString_data();
    void registryString();
    void registryMissingKey();
};

void TestReadConfig::sampleHost()
{
    TestEnv env;
    QVERIFY(env.initSampleHost());
    CNetConfigImpl dialog;
    QCOMPARE(dialog.ReadConfiguration(), 0ul);

    const CNetworkCardList& cards = dialog.Adapters();
    QCOMPARE(cards.count(), 2);
    QCOMPARE(dialog.cbAdapters->count(), 2);

    const CNetworkCard& wired = cards[0];
    QCOMPARE(wired.m_Description, QStringLiteral("Gigabit Ethernet Controller"));
    QCOMPARE(dialog.cbAdapters->itemText(0), wired.m_Description);
    QVERIFY(wired.m_AdapterName.startsWith(QLatin1Char('{')) && wired.m_AdapterName.endsWith(QLatin1Char('}')));
    QCOMPARE(wired.m_Index, quint32(11));
    QVERIFY(!wired.m_DHCPEnabled);
    QCOMPARE(wired.m_IPAddress, Ip("192.168.1.5"));
    QCOMPARE(wired.m_SubnetMask, Ip("255.255.255.0"));
    QCOMPARE(wired.m_Gateways, CIPAddressList{Ip("192.168.1.1")});
    // Two servers are configured; only the first is read.
    QCOMPARE(wired.m_DNSServers, CIPAddressList{Ip("192.168.1.1")});
    QCOMPARE(wired.m_PrimaryWINS, Ip("192.168.1.2"));
    QCOMPARE(wired.m_SecondaryWINS, CIPAddress());
    QVERIFY(!wired.m_DNSAuto);
    QVERIFY(!wired.m_WINSAuto);

    const CNetworkCard& wireless = cards[1];
    QCOMPARE(wireless.m_Description, QStringLiteral("Wireless Network Adapter"));
    QCOMPARE(dialog.cbAdapters->itemText(1), wireless.m_Description);
    QCOMPARE(wireless.m_Index, quint32(14));
    QVERIFY(wireless.m_DHCPEnabled);
    QCOMPARE(wireless.m_IPAddress, Ip("10.0.0.23"));
    QCOMPARE(wireless.m_Gateways, CIPAddressList{Ip("10.0.0.1")});
    QCOMPARE(wireless.m_DNSServers, CIPAddressList{Ip("10.0.0.1")});
    QCOMPARE(wireless.m_PrimaryWINS, Ip("10.0.0.2"));
    QVERIFY(wireless.m_DNSAuto);
    QVERIFY(wireless.m_WINSAuto);

    for (const CNetworkCard& card : cards)
        QVERIFY(!card.m_AddressChanged && !card.m_DNSChanged && !card.m_WINSChanged);

    QCOMPARE(dialog.ComputerName(), QStringLiteral("WS01"));
    QCOMPARE(dialog.Workgroup(), QStringLiteral("WORKGROUP"));
    QCOMPARE(dialog.DNSSuffix(), QStringLiteral("lan"));
}

void TestReadConfig::adapterWithoutGateway()
{
    TestEnv env;
    HostHive host;
    QVERIFY(host.IsValid());
    host.SetStatic(0, {"192.168.1.5"}, {"255.255.255.0"}, {});
    QVERIFY(host.WriteTo(env));

    CNetConfigImpl dialog;
    QCOMPARE(dialog.ReadConfiguration(), 0ul);
    QCOMPARE(dialog.Adapters()[0].m_Gateways, CIPAddressList{CIPAddress()});
    dialog.SelectAdapter(0);
    QCOMPARE(dialog.ledGateway->text(), QStringLiteral("0.0.0.0"));
}

void TestReadConfig::firstAddressOnly()
{
    TestEnv env;
    HostHive host;
    QVERIFY(host.IsValid());
    host.SetStatic(0, {"192.168.1.5", "172.16.0.9", "10.9.9.9"}, {"255.255.255.0", "255.255.0.0", "255.0.0.0"},
                   {"192.168.1.1"});
    QVERIFY(host.WriteTo(env));

    CNetConfigImpl dialog;
    QCOMPARE(dialog.ReadConfiguration(), 0ul);
    QCOMPARE(dialog.Adapters()[0].m_IPAddress, Ip("192.168.1.5"));
    QCOMPARE(dialog.Adapters()[0].m_SubnetMask, Ip("255.255.255.0"));
}

void TestReadConfig::gatewayChainInOrder()
{
    TestEnv env;
    HostHive host;
    QVERIFY(host.IsValid());
    host.SetStatic(0, {"192.168.1.5"}, {"255.255.255.0"}, {"192.168.1.254", "192.168.1.1", "192.168.1.100"});
    QVERIFY(host.WriteTo(env));

    CNetConfigImpl dialog;
    QCOMPARE(dialog.ReadConfiguration(), 0ul);
    const CIPAddressList expected{Ip("192.168.1.254"), Ip("192.168.1.1"), Ip("192.168.1.100")};
    QCOMPARE(dialog.Adapters()[0].m_Gateways, expected);
    dialog.SelectAdapter(0);
    QCOMPARE(dialog.ledGateway->text(), QStringLiteral("192.168.1.254"));
}

void TestReadConfig::staticAdapterWithoutDNS()
{
    TestEnv env;
    HostHive host;
    QVERIFY(host.IsValid());
    host.SetString(host.TcpipKey(0), "NameServer", "");
    QVERIFY(host.WriteTo(env));

    CNetConfigImpl dialog;
    QCOMPARE(dialog.ReadConfiguration(), 0ul);
    const CNetworkCard& card = dialog.Adapters()[0];
    // The per-adapter query answers with an empty first entry.
    QCOMPARE(card.m_DNSServers, CIPAddressList{CIPAddress()});
    QVERIFY(card.m_DNSAuto);
    dialog.SelectAdapter(0);
    QCOMPARE(dialog.ledDNSServer->text(), QStringLiteral("0.0.0.0"));
}

void TestReadConfig::automaticSources_data()
{
    QTest::addColumn<bool>("dhcp");
    QTest::addColumn<QString>("nameServer");
    QTest::addColumn<QString>("winsList");
    QTest::addColumn<bool>("dnsAuto");
    QTest::addColumn<bool>("winsAuto");

    QTest::newRow("dhcp, nothing static") << true << "" << "" << true << true;
    QTest::newRow("static, nothing static") << false << "" << "" << true << false;
    QTest::newRow("dhcp, static WINS") << true << "" << "10.0.0.2" << true << false;
    QTest::newRow("dhcp, static DNS") << true << "10.0.0.1" << "" << false << true;
    QTest::newRow("static, both static") << false << "10.0.0.1,10.0.0.3" << "10.0.0.2" << false << false;
}

void TestReadConfig::automaticSources()
{
    QFETCH(bool, dhcp);
    QFETCH(QString, nameServer);
    QFETCH(QString, winsList);
    QFETCH(bool, dnsAuto);
    QFETCH(bool, winsAuto);

    TestEnv env;
    HostHive host;
    QVERIFY(host.IsValid());
    const int wireless = 1;
    if (!dhcp)
        host.SetStatic(wireless, {"10.0.0.23"}, {"255.255.255.0"}, {"10.0.0.1"});
    host.SetString(host.TcpipKey(wireless), "NameServer", nameServer.toStdString());
    std::vector<std::string> wins;
    if (!winsList.isEmpty())
        wins.push_back(winsList.toStdString());
    host.Hive().SetMultiString(host.NetBTKey(wireless), "NameServerList", wins);
    QVERIFY(host.WriteTo(env));

    CNetConfigImpl dialog;
    QCOMPARE(dialog.ReadConfiguration(), 0ul);
    const CNetworkCard& card = dialog.Adapters()[wireless];
    QCOMPARE(card.m_DHCPEnabled, dhcp);
    QCOMPARE(card.m_DNSAuto, dnsAuto);
    QCOMPARE(card.m_WINSAuto, winsAuto);
}

void TestReadConfig::identification_data()
{
    QTest::addColumn<QString>("pendingName");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("shownName");

    QTest::newRow("rename pending") << "WS02" << "corp.example" << "WS02";
    QTest::newRow("no pending name") << "" << "" << "WS01";
}

void TestReadConfig::identification()
{
    QFETCH(QString, pendingName);
    QFETCH(QString, suffix);
    QFETCH(QString, shownName);

    TestEnv env;
    HostHive host;
    QVERIFY(host.IsValid());
    host.SetString(HostHive::kPendingName, "ComputerName", pendingName.toStdString());
    host.SetString(HostHive::kTcpipParameters, "NV Domain", suffix.toStdString());
    QVERIFY(host.WriteTo(env));

    CNetConfigImpl dialog;
    QCOMPARE(dialog.ReadConfiguration(), 0ul);
    QCOMPARE(dialog.ComputerName(), shownName);
    QCOMPARE(dialog.Workgroup(), QStringLiteral("WORKGROUP"));
    QCOMPARE(dialog.DNSSuffix(), suffix);
    dialog.SelectAdapter(0);
    QCOMPARE(dialog.ledHostName->text(), shownName);
    QCOMPARE(dialog.ledDomain->text(), QStringLiteral("WORKGROUP"));
    QCOMPARE(dialog.ledDNSSuffix->text(), suffix);
}

void TestReadConfig::noAdapter()
{
    TestEnv env;
    HostHive host;
    QVERIFY(host.IsValid());
    host.RemoveAdapters();
    QVERIFY(host.WriteTo(env));

    CNetConfigImpl dialog;
    QCOMPARE(dialog.ReadConfiguration(), 1222ul);
    QVERIFY(dialog.Adapters().isEmpty());
    QCOMPARE(dialog.cbAdapters->count(), 0);
}

void TestReadConfig::vanishedAdaptersKeepOldModel()
{
    TestEnv env;
    QVERIFY(env.initSampleHost());
    CNetConfigImpl dialog;
    QCOMPARE(dialog.ReadConfiguration(), 0ul);

    HostHive host;
    host.RemoveAdapters();
    QVERIFY(host.WriteTo(env));
    // Nothing reported at all: the old adapters stay and no 1222 comes back.
    QVERIFY(dialog.ReadConfiguration() != 1222ul);
    QCOMPARE(dialog.Adapters().count(), 2);
    QCOMPARE(dialog.cbAdapters->count(), 2);
}

void TestReadConfig::brokenHostKeepsModel()
{
    TestEnv env;
    QVERIFY(env.initSampleHost());
    CNetConfigImpl dialog;
    QCOMPARE(dialog.ReadConfiguration(), 0ul);

    QVERIFY(env.writeHive(QStringLiteral("[HKEY_LOCAL_MACHINE\\SYSTEM\n\"broken\n")));
    dialog.ReadConfiguration();
    QCOMPARE(dialog.Adapters().count(), 2);
    QCOMPARE(dialog.Adapters()[1].m_IPAddress, Ip("10.0.0.23"));
    QCOMPARE(dialog.cbAdapters->count(), 2);
    QCOMPARE(dialog.cbAdapters->itemText(1), QStringLiteral("Wireless Network Adapter"));
}

void TestReadConfig::rereadDropsEdits()
{
    TestEnv env;
    QVERIFY(env.initSampleHost());
    CNetConfigImpl dialog;
    QCOMPARE(dialog.ReadConfiguration(), 0ul);
    dialog.Adapters()[0].m_IPAddress = Ip("1.2.3.4");
    dialog.Adapters()[0].AddGateway(Ip("192.168.1.254"));
    dialog.Adapters()[1].m_WINSChanged = true;

    QCOMPARE(dialog.ReadConfiguration(), 0ul);
    QCOMPARE(dialog.Adapters().count(), 2);
    QCOMPARE(dialog.cbAdapters->count(), 2);
    QCOMPARE(dialog.Adapters()[0].m_IPAddress, Ip("192.168.1.5"));
    QCOMPARE(dialog.Adapters()[0].m_Gateways, CIPAddressList{Ip("192.168.1.1")});
    for (const CNetworkCard& card : dialog.Adapters())
        QVERIFY(!card.m_AddressChanged && !card.m_DNSChanged && !card.m_WINSChanged);
}

void TestReadConfig::registryString_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("expected");

    const QByteArray fits(1023, 'x');
    const QByteArray tooLong(1024, 'x');
    QTest::newRow("plain") << REG_SZ << QByteArray("corp.example", 13) << "corp.example";
    QTest::newRow("fills the buffer") << REG_SZ << (fits + '\0') << QString::fromLatin1(fits);
    QTest::newRow("one byte too long") << REG_SZ << (tooLong + '\0') << "";
    QTest::newRow("multi-string gives the first") << REG_MULTI_SZ << QByteArray("one\0two\0\0", 9) << "one";
    QTest::newRow("type not checked") << REG_DWORD << QByteArray("A\0\0\0", 4) << "A";
    QTest::newRow("non-ASCII") << REG_SZ << QByteArray("B\xc3\xbcro\0", 6) << QStringLiteral("B\u00fcro");
    QTest::newRow("empty") << REG_SZ << QByteArray("\0", 1) << "";
}

void TestReadConfig::registryString()
{
    QFETCH(int, type);
    QFETCH(QByteArray, data);
    QFETCH(QString, expected);

    TestEnv env;
    HostHive host;
    QVERIFY(host.IsValid());
    host.Hive().SetValue(HostHive::kTcpipParameters, "Probe",
                         winsys::RegValue{uint32_t(type), std::vector<uint8_t>(data.begin(), data.end())});
    QVERIFY(host.WriteTo(env));

    CNetConfigImpl dialog;
    const QString text = dialog.ReadRegistryString(QLatin1String(kParameters), QStringLiteral("Probe"));
    QCOMPARE(text, expected);
}

void TestReadConfig::registryMissingKey()
{
    TestEnv env;
    QVERIFY(env.initSampleHost());
    CNetConfigImpl dialog;
    QVERIFY(dialog.ReadRegistryString(QStringLiteral("SYSTEM\\NoSuchKey"), QStringLiteral("Value")).isNull());
    QVERIFY(dialog.ReadRegistryString(QLatin1String(kParameters), QStringLiteral("NoSuchValue")).isEmpty());
    // Key paths are handed over as UTF-8, value names too.
    QCOMPARE(dialog.ReadRegistryString(QLatin1String(kParameters), QStringLiteral("NV Domain")), QStringLiteral("lan"));
}

QTEST_MAIN(TestReadConfig)
#include "tst_readconfig.moc"
