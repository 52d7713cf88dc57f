// WriteSettings / ReadSettings: the INI form of the adapter model.
#include "netconfigimpl.h"

#include "inifile.h"
#include "settingsfiletest.h"
#include "testenv.h"

#include <QDir>
#include <QtTest>

#include <memory>
#include <unistd.h>

using namespace settingstest;

Q_DECLARE_METATYPE(CNetworkCard)

namespace {

CNetworkCard StaticCard(const QString& ip, const QString& mask, const QStringList& gateways,
                        const QStringList& dns, const QString& wins1, const QString& wins2)
{
    CNetworkCard card;
    card.m_IPAddress = CIPAddress(ip);
    card.m_SubnetMask = CIPAddress(mask);
    card.m_Gateways = Ips(gateways);
    card.m_DNSServers = Ips(dns);
    card.m_PrimaryWINS = CIPAddress(wins1);
    card.m_SecondaryWINS = CIPAddress(wins2);
    return card;
}

CNetworkCard DhcpCard(const QString& mask, const QStringList& gateways)
{
    CNetworkCard card = StaticCard(QString(), mask, gateways, {}, QString(), QString());
    card.m_DHCPEnabled = card.m_DNSAuto = card.m_WINSAuto = true;
    return card;
}

// The card every read case starts from: static, nothing changed.
CNetworkCard BaseCard()
{
    return StaticCard("192.168.1.5", "255.255.255.0", {"192.168.1.1"}, {"192.168.1.1"}, "192.168.1.2", QString());
}

const char* const kBase = "dhcp=0 ip=192.168.1.5 mask=255.255.255.0 gw=[192.168.1.1] dnsAuto=0 "
                          "dns=[192.168.1.1] winsAuto=0 wins=192.168.1.2,0.0.0.0 changed=---";

// kBase with the given change flags and some fields replaced.
QString Expect(const char* changed, std::initializer_list<std::pair<const char*, const char*>> edits = {})
{
    QString text = QString(kBase).replace(QLatin1String("changed=---"), QLatin1String("changed=") + changed);
    for (const auto& [from, to] : edits)
        text.replace(QLatin1String(from), QLatin1String(to));
    return text;
}

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_Env;
    std::unique_ptr<CNetConfigImpl> m_Dialog;

    QString Path(const QString& name) const { return m_Env->path(name); }
    CNetworkCardList& Cards() { return m_Dialog->Adapters(); }

    QString WriteFile(const QString& name, const QByteArray& text)
    {
        const QString path = Path(name);
        if (!WriteText(path, text))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // Identification values can only enter the model through a file.
    void SetIdentification(const QByteArray& name, const QByteArray& workgroup, const QByteArray& suffix)
    {
        const QString path = WriteFile(QStringLiteral("id.ini"), "[HostInformation]\nComputerName=" + name
                                                                     + "\nWorkgroup=" + workgroup
                                                                     + "\nPrimaryDNS=" + suffix + "\n");
        QCOMPARE(m_Dialog->ReadSettings(path), 0);
    }

    QStringList Identification() const
    {
        return {m_Dialog->ComputerName(), m_Dialog->Workgroup(), m_Dialog->DNSSuffix()};
    }

private slots:
    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        m_Dialog = std::make_unique<CNetConfigImpl>();
    }

    void cleanup()
    {
        m_Dialog.reset();
        m_Env.reset();
    }

    void writesTheDocumentedExample()
    {
        CNetworkCard dhcp = DhcpCard("255.255.255.0", {});
        dhcp.m_IPAddress = CIPAddress(QStringLiteral("10.0.0.23")); // a lease is not written
        Cards() << StaticCard("192.168.1.5", "255.255.255.0", {"192.168.1.1"}, {"192.168.1.1", "10.0.0.1"},
                              QString(), QString())
                << dhcp;
        SetIdentification("WS01", "WORKGROUP", "lan");
        const QString path = WriteFile(QStringLiteral("network.ini"), QByteArray());

        QCOMPARE(m_Dialog->WriteSettings(path), 0);
        const QStringList expected{"[Interface1]", "protocol=192.168.1.5", "mask=255.255.255.0",
                                   "DNS=192.168.1.1;10.0.0.1;", "Wins=0.0.0.0", "Wins2=0.0.0.0",
                                   "Gateway=192.168.1.1;", "[Interface2]", "protocol=dhcp",
                                   "mask=255.255.255.0", "DNS=dhcp", "Wins=dhcp", "[HostInformation]",
                                   "ComputerName=WS01", "Workgroup=WORKGROUP", "PrimaryDNS=lan"};
        QCOMPARE(IniLines(path), expected);
    }

    void writesKeysUnderTheirConditions_data()
    {
        QTest::addColumn<CNetworkCard>("card");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("all automatic") << DhcpCard("255.255.255.0", {})
                                       << QStringList{"protocol=dhcp", "mask=255.255.255.0", "DNS=dhcp", "Wins=dhcp"};
        QTest::newRow("gateway assigned by DHCP")
            << DhcpCard("255.255.255.0", {"10.0.0.1"})
            << QStringList{"protocol=dhcp", "mask=255.255.255.0", "DNS=dhcp", "Wins=dhcp", "Gateway=10.0.0.1;"};
        // As read from a host without servers: the lists hold one 0.0.0.0.
        QTest::newRow("manual without servers")
            << StaticCard("10.1.1.1", "255.0.0.0", {"0.0.0.0"}, {"0.0.0.0"}, QString(), QString())
            << QStringList{"protocol=10.1.1.1", "mask=255.0.0.0", "Wins=0.0.0.0", "Wins2=0.0.0.0"};
        QTest::newRow("zero entries skipped")
            << StaticCard("10.1.1.1", "255.0.0.0", {"10.0.0.1", "0.0.0.0", "10.0.0.254"},
                          {"0.0.0.0", "10.0.0.2", "0.0.0.0"}, "10.0.0.8", "10.0.0.9")
            << QStringList{"protocol=10.1.1.1", "mask=255.0.0.0", "DNS=10.0.0.2;", "Wins=10.0.0.8",
                           "Wins2=10.0.0.9", "Gateway=10.0.0.1;10.0.0.254;"};
        CNetworkCard staleDns = StaticCard("10.1.1.1", "255.0.0.0", {}, {"10.0.0.2"}, QString(), QString());
        staleDns.m_DNSAuto = true;
        QTest::newRow("automatic DNS hides the list")
            << staleDns << QStringList{"protocol=10.1.1.1", "mask=255.0.0.0", "DNS=dhcp", "Wins=0.0.0.0",
                                       "Wins2=0.0.0.0"};
    }

    void writesKeysUnderTheirConditions()
    {
        QFETCH(CNetworkCard, card);
        QFETCH(QStringList, expected);
        Cards() << card;
        const QString path = WriteFile(QStringLiteral("out.ini"), QByteArray());

        QCOMPARE(m_Dialog->WriteSettings(path), 0);
        const QStringList lines = IniLines(path);
        const int host = lines.indexOf(QStringLiteral("[HostInformation]"));
        QVERIFY(host > 0);
        QCOMPARE(lines.mid(1, host - 1), expected);
        QCOMPARE(lines.first(), QStringLiteral("[Interface1]"));
    }

    void writeNeedsAnExistingFile()
    {
        Cards() << BaseCard();
        const QString missing = Path(QStringLiteral("missing.ini"));
        QVERIFY(m_Dialog->WriteSettings(missing) != 0);
        QVERIFY(!QFile::exists(missing));
        QVERIFY(m_Dialog->WriteSettings(m_Env->root()) != 0);
    }

    // Keys the configuration no longer calls for must not survive a save
    // into an older file; sections of other programs stay.
    void rewriteReplacesOnlyOurSections()
    {
        Cards() << DhcpCard("255.255.255.0", {});
        const QString path = WriteFile(QStringLiteral("old.ini"),
                                       "[Other]\nkeep=1\n[Interface1]\nGateway=1.2.3.4;\nWins2=9.9.9.9\nextra=x\n"
                                       "[Interface3]\nprotocol=dhcp\n[HostInformation]\nComputerName=OLD\n");

        QCOMPARE(m_Dialog->WriteSettings(path), 0);
        CIniFile ini;
        QVERIFY(ini.SetIniFileName(path));
        QCOMPARE(ini.readEntry(QStringLiteral("Other/keep")), QStringLiteral("1"));
        QCOMPARE(ini.GetSectionKeys(QStringLiteral("Interface1")),
                 (QStringList{"protocol", "mask", "DNS", "Wins"}));
        QVERIFY(ini.GetSectionKeys(QStringLiteral("Interface3")).isEmpty());
        QCOMPARE(ini.readEntry(QStringLiteral("HostInformation/ComputerName"), QStringLiteral("unset")),
                 QString());
    }

    void readsAdapterKeys_data()
    {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QString>("expected");

        QTest::newRow("dhcp in any case inside a word")
            << QByteArray("protocol=viaDhCpServer") << Expect("A--", {{"dhcp=0 ip=192.168.1.5", "dhcp=1 ip=0.0.0.0"}});
        QTest::newRow("static address")
            << QByteArray("protocol=010.001.002.003\nmask=255.0.0.0")
            << Expect("A--", {{"ip=192.168.1.5 mask=255.255.255.0", "ip=10.1.2.3 mask=255.0.0.0"}});
        QTest::newRow("equal values still count as changes")
            << QByteArray("protocol=192.168.1.5\nmask=255.255.255.0\nDNS=192.168.1.1;\nWins=192.168.1.2\n"
                          "Gateway=192.168.1.1;")
            << Expect("ADW");
        QTest::newRow("doubled separators")
            << QByteArray("DNS=10.0.0.1;;10.0.0.2;") << Expect("-D-", {{"dns=[192.168.1.1]", "dns=[10.0.0.1,10.0.0.2]"}});
        QTest::newRow("a part that is no address")
            << QByteArray("Gateway=10.0.0.1;router;") << Expect("A--", {{"gw=[192.168.1.1]", "gw=[10.0.0.1,0.0.0.0]"}});
        QTest::newRow("malformed mask")
            << QByteArray("mask=255.255.255") << Expect("A--", {{"mask=255.255.255.0", "mask=0.0.0.0"}});
        QTest::newRow("automatic DNS empties the list")
            << QByteArray("DNS=dhcp") << Expect("-D-", {{"dnsAuto=0 dns=[192.168.1.1]", "dnsAuto=1 dns=[]"}});
        QTest::newRow("automatic WINS ignores Wins2")
            << QByteArray("Wins=Dhcp\nWins2=10.9.9.9")
            << Expect("--W", {{"winsAuto=0 wins=192.168.1.2,0.0.0.0", "winsAuto=1 wins=0.0.0.0,0.0.0.0"}});
        QTest::newRow("manual WINS with Wins2")
            << QByteArray("Wins=10.8.8.8\nWins2=10.9.9.9")
            << Expect("--W", {{"wins=192.168.1.2,0.0.0.0", "wins=10.8.8.8,10.9.9.9"}});
        QTest::newRow("Wins2 without Wins") << QByteArray("Wins2=10.9.9.9") << QString(kBase);
        QTest::newRow("empty values") << QByteArray("protocol=\nmask=\nDNS=\nWins=\nWins2=\nGateway=")
                                      << QString(kBase);
    }

    void readsAdapterKeys()
    {
        QFETCH(QByteArray, section);
        QFETCH(QString, expected);
        Cards() << BaseCard();
        QCOMPARE(Describe(Cards().first()), QString(kBase));
        const QString path = WriteFile(QStringLiteral("in.ini"), "[Interface1]\n" + section + "\n");

        QCOMPARE(m_Dialog->ReadSettings(path), 0);
        QCOMPARE(Describe(Cards().first()), expected);
    }

    void readingNeverClearsAFlag()
    {
        CNetworkCard card = BaseCard();
        card.m_AddressChanged = card.m_DNSChanged = card.m_WINSChanged = true;
        Cards() << card;
        const QString path = WriteFile(QStringLiteral("in.ini"), "[Interface1]\nWins2=1.1.1.1\nmask=\n");

        QCOMPARE(m_Dialog->ReadSettings(path), 0);
        QCOMPARE(Describe(Cards().first()), Expect("ADW"));
    }

    void readMatchesSectionsByPosition()
    {
        Cards() << BaseCard() << BaseCard() << BaseCard();
        const QString path = WriteFile(QStringLiteral("in.ini"), "[Interface3]\nmask=255.0.0.0\n"
                                                                 "[Interface4]\nprotocol=dhcp\n"
                                                                 "[Interface1]\nprotocol=10.0.0.1\n");

        QCOMPARE(m_Dialog->ReadSettings(path), 0);
        QCOMPARE(DescribeAll(Cards()), (QStringList{Expect("A--", {{"ip=192.168.1.5", "ip=10.0.0.1"}}), kBase,
                                                    Expect("A--", {{"mask=255.255.255.0", "mask=255.0.0.0"}})}));
    }

    void readsIdentification_data()
    {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("all three") << QByteArray("ComputerName=WS02\nWorkgroup=CORP\nPrimaryDNS=corp.lan")
                                   << QStringList{"WS02", "CORP", "corp.lan"};
        QTest::newRow("empty values keep the old ones")
            << QByteArray("ComputerName=\nWorkgroup=CORP\nPrimaryDNS=") << QStringList{"WS01", "CORP", "lan"};
    }

    void readsIdentification()
    {
        QFETCH(QByteArray, section);
        QFETCH(QStringList, expected);
        Cards() << BaseCard();
        SetIdentification("WS01", "WORKGROUP", "lan");
        const QString path = WriteFile(QStringLiteral("in.ini"), "[HostInformation]\n" + section + "\n");

        QCOMPARE(m_Dialog->ReadSettings(path), 0);
        QCOMPARE(Identification(), expected);
        QCOMPARE(Describe(Cards().first()), QString(kBase));
    }

    void refusedFilesChangeNothing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("missing") << "missing" << QByteArray();
        QTest::newRow("empty") << "file" << QByteArray();
        static const char junk[] = "\x01\x02\xff garbage\nprotocol=dhcp\n=x\n\x7f\x00zz";
        QTest::newRow("junk") << "file" << QByteArray(junk, sizeof(junk) - 1);
        QTest::newRow("another program's INI") << "file" << QByteArray("[Settings]\nprotocol=dhcp\n");
        QTest::newRow("our headers without keys") << "file" << QByteArray("[Interface1]\n[HostInformation]\n");
        QTest::newRow("no permission") << "unreadable" << QByteArray("[Interface1]\nprotocol=dhcp\n");
    }

    void refusedFilesChangeNothing()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, content);
        if (kind == QLatin1String("unreadable") && geteuid() == 0)
            QSKIP("root reads files whatever their permissions");
        Cards() << BaseCard();
        SetIdentification("WS01", "WORKGROUP", "lan");
        QString path = Path(QStringLiteral("bad.ini"));
        if (kind != QLatin1String("missing"))
            path = WriteFile(QStringLiteral("bad.ini"), content);
        if (kind == QLatin1String("unreadable"))
            QVERIFY(QFile::setPermissions(path, {}));

        QVERIFY(m_Dialog->ReadSettings(path) != 0);
        QCOMPARE(Describe(Cards().first()), QString(kBase));
        QCOMPARE(Identification(), (QStringList{"WS01", "WORKGROUP", "lan"}));
    }

    void writtenFileReadsBackTheSameModel()
    {
        const CNetworkCard first = StaticCard("172.16.5.4", "255.255.0.0", {"172.16.0.1", "172.16.0.2"},
                                              {"172.16.0.10", "10.0.0.1", "172.16.0.10"}, "172.16.0.20",
                                              "172.16.0.21");
        CNetworkCard second = DhcpCard("255.255.255.0", {"10.0.0.1"});
        second.m_WINSAuto = false;
        second.m_PrimaryWINS = CIPAddress(QStringLiteral("10.0.0.2"));
        Cards() << first << second;
        SetIdentification("HOST-7", "LAB", "lab.example");
        const QString path = WriteFile(QStringLiteral("round.ini"), QByteArray());
        QCOMPARE(m_Dialog->WriteSettings(path), 0);

        CNetConfigImpl reader;
        reader.Adapters() << BaseCard() << BaseCard();
        QCOMPARE(reader.ReadSettings(path), 0);
        QCOMPARE(Describe(reader.Adapters().at(0)), Describe(first).replace("changed=---", "changed=ADW"));
        QCOMPARE(Describe(reader.Adapters().at(1)), Describe(second).replace("changed=---", "changed=ADW"));
        QCOMPARE(QStringList({reader.ComputerName(), reader.Workgroup(), reader.DNSSuffix()}),
                 (QStringList{"HOST-7", "LAB", "lab.example"}));
    }
};

QTEST_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
