// Reading the live configuration of the emulated host into the dialog's
// model, and the registry string helper it uses.
#include "hosthive.h"
#include "netconfigimpl.h"
#include "settingsfiletest.h"

#include <QtTest>

#include <memory>

using settingstest::Describe;

namespace {

const char kParameters[] = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";

} // namespace

class TestReadConfig : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_Env;
    HostHive m_Host; // the sample host, edited per case before Read()

    // The edited host, read by a fresh dialog.
    std::unique_ptr<CNetConfigImpl> Read(unsigned long expected = 0)
    {
        if (!m_Host.WriteTo(*m_Env))
            return nullptr;
        auto dialog = std::make_unique<CNetConfigImpl>();
        if (dialog->ReadConfiguration() != expected)
            return nullptr;
        return dialog;
    }

private slots:
    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        QVERIFY(m_Env->initSampleHost());
        m_Host = HostHive();
        QVERIFY(m_Host.IsValid());
    }
    void cleanup() { m_Env.reset(); }

    void sampleHost();
    void staticAddresses_data();
    void staticAddresses();
    void staticAdapterWithoutDNS();
    void automaticSources_data();
    void automaticSources();
    void identification_data();
    void identification();
    void noAdapter();
    void failedRereadKeepsModel();
    void rereadDropsEdits();
    void registryString_data();
    void registryString();
    void registryMissingKey();
};

void TestReadConfig::sampleHost()
{
    auto dialog = Read();
    QVERIFY(dialog);
    const CNetworkCardList& cards = dialog->Adapters();
    QCOMPARE(cards.count(), 2);
    QCOMPARE(dialog->cbAdapters->count(), 2);
    QCOMPARE(cards[0].m_Description, QStringLiteral("Gigabit Ethernet Controller"));
    QCOMPARE(dialog->cbAdapters->itemText(0), cards[0].m_Description);
    QCOMPARE(cards[1].m_Description, QStringLiteral("Wireless Network Adapter"));
    QCOMPARE(dialog->cbAdapters->itemText(1), cards[1].m_Description);
    QCOMPARE(cards[0].m_Index, quint32(11));
    QCOMPARE(cards[1].m_Index, quint32(14));
    // Two DNS servers are configured on the first; only the first is read.
    QCOMPARE(Describe(cards[0]), QStringLiteral("dhcp=0 ip=192.168.1.5 mask=255.255.255.0 gw=[192.168.1.1] "
                                                "dnsAuto=0 dns=[192.168.1.1] winsAuto=0 wins=192.168.1.2,0.0.0.0 "
                                                "changed=---"));
    QCOMPARE(Describe(cards[1]), QStringLiteral("dhcp=1 ip=10.0.0.23 mask=255.255.255.0 gw=[10.0.0.1] dnsAuto=1 "
                                                "dns=[10.0.0.1] winsAuto=1 wins=10.0.0.2,0.0.0.0 changed=---"));
    QCOMPARE(QStringList({dialog->ComputerName(), dialog->Workgroup(), dialog->DNSSuffix()}),
             (QStringList{"WS01", "WORKGROUP", "lan"}));
}

void TestReadConfig::staticAddresses_data()
{
    using V = std::vector<std::string>;
    QTest::addColumn<V>("addresses");
    QTest::addColumn<V>("masks");
    QTest::addColumn<V>("gateways");
    QTest::addColumn<QString>("expectedGateways");

    QTest::newRow("no gateway") << V{"192.168.1.5"} << V{"255.255.255.0"} << V{} << "0.0.0.0";
    QTest::newRow("first address only") << V{"192.168.1.5", "172.16.0.9"} << V{"255.255.255.0", "255.255.0.0"}
                                        << V{"192.168.1.1"} << "192.168.1.1";
    QTest::newRow("gateway chain in order")
        << V{"192.168.1.5"} << V{"255.255.255.0"} << V{"192.168.1.254", "192.168.1.1", "192.168.1.100"}
        << "192.168.1.254,192.168.1.1,192.168.1.100";
}

void TestReadConfig::staticAddresses()
{
    using V = std::vector<std::string>;
    QFETCH(V, addresses);
    QFETCH(V, masks);
    QFETCH(V, gateways);
    QFETCH(QString, expectedGateways);
    m_Host.SetStatic(0, addresses, masks, gateways);
    auto dialog = Read();
    QVERIFY(dialog);
    const CNetworkCard& card = dialog->Adapters()[0];
    QCOMPARE(card.m_IPAddress.ToString(), QStringLiteral("192.168.1.5"));
    QCOMPARE(card.m_SubnetMask.ToString(), QStringLiteral("255.255.255.0"));
    QCOMPARE(settingstest::Join(card.m_Gateways), expectedGateways);
    dialog->SelectAdapter(0);
    QCOMPARE(dialog->ledGateway->text(), expectedGateways.section(QLatin1Char(','), 0, 0));
}

void TestReadConfig::staticAdapterWithoutDNS()
{
    m_Host.SetString(m_Host.TcpipKey(0), "NameServer", "");
    auto dialog = Read();
    QVERIFY(dialog);
    // The per-adapter query answers with an empty first entry.
    QCOMPARE(dialog->Adapters()[0].m_DNSServers, CIPAddressList{CIPAddress()});
    QVERIFY(dialog->Adapters()[0].m_DNSAuto);
    dialog->SelectAdapter(0);
    QCOMPARE(dialog->ledDNSServer->text(), QStringLiteral("0.0.0.0"));
}

void TestReadConfig::automaticSources_data()
{
    QTest::addColumn<bool>("dhcp");
    QTest::addColumn<QString>("nameServer");
    QTest::addColumn<QString>("winsList");
    QTest::addColumn<bool>("dnsAuto");
    QTest::addColumn<bool>("winsAuto");

    QTest::newRow("dhcp, nothing static") << true << "" << "" << true << true;
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
    const int wireless = 1;
    if (!dhcp)
        m_Host.SetStatic(wireless, {"10.0.0.23"}, {"255.255.255.0"}, {"10.0.0.1"});
    m_Host.SetString(m_Host.TcpipKey(wireless), "NameServer", nameServer.toStdString());
    std::vector<std::string> wins;
    if (!winsList.isEmpty())
        wins.push_back(winsList.toStdString());
    m_Host.Hive().SetMultiString(m_Host.NetBTKey(wireless), "NameServerList", wins);
    auto dialog = Read();
    QVERIFY(dialog);
    const CNetworkCard& card = dialog->Adapters()[wireless];
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
    m_Host.SetString(HostHive::kPendingName, "ComputerName", pendingName.toStdString());
    m_Host.SetString(HostHive::kTcpipParameters, "NV Domain", suffix.toStdString());
    auto dialog = Read();
    QVERIFY(dialog);
    const QStringList expected{shownName, QStringLiteral("WORKGROUP"), suffix};
    QCOMPARE(QStringList({dialog->ComputerName(), dialog->Workgroup(), dialog->DNSSuffix()}), expected);
    dialog->SelectAdapter(0);
    QCOMPARE(QStringList({dialog->ledHostName->text(), dialog->ledDomain->text(), dialog->ledDNSSuffix->text()}),
             expected);
}

void TestReadConfig::noAdapter()
{
    m_Host.RemoveAdapters();
    auto dialog = Read(1222);
    QVERIFY(dialog);
    QVERIFY(dialog->Adapters().isEmpty());
    QCOMPARE(dialog->cbAdapters->count(), 0);
}

void TestReadConfig::failedRereadKeepsModel()
{
    auto dialog = Read();
    QVERIFY(dialog);
    // Nothing reported at all: the old adapters stay and no 1222 comes back.
    m_Host.RemoveAdapters();
    QVERIFY(m_Host.WriteTo(*m_Env));
    QVERIFY(dialog->ReadConfiguration() != 1222ul);
    QCOMPARE(dialog->Adapters().count(), 2);

    QVERIFY(m_Env->writeHive(QStringLiteral("[HKEY_LOCAL_MACHINE\\SYSTEM\n\"broken\n")));
    dialog->ReadConfiguration();
    QCOMPARE(dialog->Adapters().count(), 2);
    QCOMPARE(dialog->Adapters()[1].m_IPAddress.ToString(), QStringLiteral("10.0.0.23"));
    QCOMPARE(dialog->cbAdapters->count(), 2);
    QCOMPARE(dialog->cbAdapters->itemText(1), QStringLiteral("Wireless Network Adapter"));
}

void TestReadConfig::rereadDropsEdits()
{
    auto dialog = Read();
    QVERIFY(dialog);
    const QStringList read = settingstest::DescribeAll(dialog->Adapters());
    dialog->Adapters()[0].m_IPAddress = CIPAddress(QStringLiteral("1.2.3.4"));
    dialog->Adapters()[0].AddGateway(CIPAddress(QStringLiteral("192.168.1.254")));
    dialog->Adapters()[1].m_WINSChanged = true;

    QCOMPARE(dialog->ReadConfiguration(), 0ul);
    QCOMPARE(dialog->cbAdapters->count(), 2);
    QCOMPARE(settingstest::DescribeAll(dialog->Adapters()), read);
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
}

void TestReadConfig::registryString()
{
    QFETCH(int, type);
    QFETCH(QByteArray, data);
    QFETCH(QString, expected);
    m_Host.Hive().SetValue(HostHive::kTcpipParameters, "Probe",
                           winsys::RegValue{uint32_t(type), std::vector<uint8_t>(data.begin(), data.end())});
    QVERIFY(m_Host.WriteTo(*m_Env));
    CNetConfigImpl dialog;
    QCOMPARE(dialog.ReadRegistryString(QLatin1String(kParameters), QStringLiteral("Probe")), expected);
}

void TestReadConfig::registryMissingKey()
{
    QVERIFY(m_Host.WriteTo(*m_Env));
    CNetConfigImpl dialog;
    QVERIFY(dialog.ReadRegistryString(QStringLiteral("SYSTEM\\NoSuchKey"), QStringLiteral("Value")).isNull());
    QVERIFY(dialog.ReadRegistryString(QLatin1String(kParameters), QStringLiteral("NoSuchValue")).isEmpty());
    // Key paths are handed over as UTF-8, value names too.
    QCOMPARE(dialog.ReadRegistryString(QLatin1String(kParameters), QStringLiteral("NV Domain")), QStringLiteral("lan"));
}

QTEST_MAIN(TestReadConfig)
#include "tst_readconfig.moc"
