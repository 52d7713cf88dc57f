// netsh's parser in-process, and netsh.exe run as a real process against a
// fresh sample host, read back through the IP Helper calls.
#include "hostfacts.h"
#include "netshparse.h"

#include <QtTest>

#include <winsys/hive.h>
#include <winsys/host.h>

namespace {

// The parameters a command line parsed into, or netsh's message for it.
QString Parsed(const QString& line)
{
    netsh::Command c;
    const netsh::Result r = netsh::Parse(netsh::SplitCommandLine(line.toStdString()), &c);
    if (r.status != netsh::Status::Ok)
        return QString::fromStdString(netsh::Message(r)).section('\n', 0, 0);
    QStringList out{"iface=" + QString::fromStdString(c.iface)};
    if (c.source != netsh::Source::Unset)
        out << (c.source == netsh::Source::Dhcp ? "dhcp" : "static");
    const std::pair<const char*, std::string> fields[] = {
        {"addr", c.addr}, {"mask", c.mask}, {"gw", c.gateway}, {"register", c.registerMode}};
    for (const auto& [name, value] : fields)
        if (!value.empty())
            out << QString::fromLatin1(name) + "=" + QString::fromStdString(value);
    if (c.hasMetric)
        out << "metric=" + QString::number(c.gwmetric);
    if (c.index)
        out << "index=" + QString::number(c.index);
    return out.join(' ');
}

}  // namespace

class TestNetsh : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void applySequence_data();
    void applySequence();
    void automaticPrivateAddress();
    void refusedLeavesHive_data();
    void refusedLeavesHive();
    void interactive_data();
    void interactive();
};

void TestNetsh::parse_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("parsed");
    const QString bad = "The parameter is incorrect.", missing = "One or more essential parameters were not entered.";
    QTest::newRow("positional, by name") << "int ip set address \"local area connection\" static 10.5.5.5 255.0.0.0 10.0.0.254 1"
        << "iface=local area connection static addr=10.5.5.5 mask=255.0.0.0 gw=10.0.0.254 metric=1";
    QTest::newRow("tagged, ipv4 spelling") << "interface ipv4 set address name=11 source=static address=192.168.1.9/24"
        << "iface=11 static addr=192.168.1.9 mask=255.255.255.0";
    QTest::newRow("prefix, gateway takes the mask's place") << "interface ip set address 11 static 10.5.5.5/8 10.0.0.254 1"
        << "iface=11 static addr=10.5.5.5 mask=255.0.0.0 gw=10.0.0.254 metric=1";
    QTest::newRow("abbreviated words") << "int ip add dnss 11 10.0.0.9 index=1" << "iface=11 addr=10.0.0.9 index=1";
    QTest::newRow("set without a gateway") << "interface ip set address 11 static 10.1.2.3 255.0.0.0 gateway=none"
        << "iface=11 static addr=10.1.2.3 mask=255.0.0.0 gw=none";
    QTest::newRow("delete every gateway") << "interface ip delete address 11 gateway=all" << "iface=11 gw=all";
    QTest::newRow("dns with registration") << "interface ip set dns 11 static 10.0.0.1 both"
        << "iface=11 static addr=10.0.0.1 register=both";
    QTest::newRow("unknown command") << "interface ip frob dns 11" << "The following command was not found: interface ip frob dns 11.";
    QTest::newRow("mask missing") << "interface ip set address 11 source=static 10.1.2.3" << missing;
    QTest::newRow("mask without address") << "interface ip add address 11 mask=255.0.0.0 gateway=10.0.0.1" << missing;
    QTest::newRow("bad octet") << "interface ip set address 11 source=static 10.1.2.300 255.0.0.0"
        << "Invalid address parameter (10.1.2.300). It should be a valid IPv4 address.";
    QTest::newRow("four-digit octet") << "interface ip set address 11 static 0010.1.2.3 255.0.0.0"
        << "Invalid address parameter (0010.1.2.3). It should be a valid IPv4 address.";
    QTest::newRow("loopback address") << "interface ip add address 11 addr=127.0.0.2 mask=255.0.0.0"
        << "Invalid address parameter (127.0.0.2). It should be a valid IPv4 address.";
    QTest::newRow("multicast address") << "interface ip add address 11 addr=224.0.0.1 mask=255.0.0.0"
        << "Invalid address parameter (224.0.0.1). It should be a valid IPv4 address.";
    QTest::newRow("prefix too long") << "interface ip set address 11 static 10.1.2.3/33"
        << "Invalid address parameter (10.1.2.3/33). It should be a valid IPv4 address.";
    QTest::newRow("prefix zero") << "interface ip set address 11 static 10.1.2.3/0"
        << "Invalid address parameter (10.1.2.3/0). It should be a valid IPv4 address.";
    QTest::newRow("prefix to delete") << "interface ip delete address 11 192.168.1.5/24"
        << "Invalid address parameter (192.168.1.5/24). It should be a valid IPv4 address.";
    QTest::newRow("prefix and mask") << "interface ip set address 11 static 10.1.2.3/8 mask=255.0.0.0" << bad;
    QTest::newRow("holes in mask") << "interface ip set address 11 static 10.1.2.3 255.0.255.0"
        << "Invalid mask parameter (255.0.255.0).";
    QTest::newRow("zero mask") << "interface ip set address 11 static 10.1.2.3 0.0.0.0" << "Invalid mask parameter (0.0.0.0).";
    QTest::newRow("bad gateway") << "interface ip set address 11 static 10.1.2.3 255.0.0.0 gateway=10.0.0.256"
        << "Invalid gateway parameter (10.0.0.256). It should be a valid IPv4 address.";
    QTest::newRow("no gateway to add") << "interface ip add address 11 gateway=none" << "Invalid gateway parameter (none). It should be a valid IPv4 address.";
    QTest::newRow("metric without gateway") << "interface ip add address 11 10.1.2.3 255.0.0.0 gwmetric=1" << bad;
    QTest::newRow("unspecified server") << "interface ip add dns 11 addr=0.0.0.0" << bad;
    QTest::newRow("semicolon in value") << "interface ip add dns 11 addr=10.0.0.9;touch" << bad;
}

void TestNetsh::parse()
{
    QFETCH(QString, line);
    QTEST(Parsed(line), "parsed");
}

void TestNetsh::applySequence_data()
{
    QTest::addColumn<int>("ifIndex");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QList<int>>("exits");
    // The facts of the kinds named here; a kind alone ("gw") says there is none of it.
    QTest::addColumn<QStringList>("expected");

    // The application's command sequences; the sample adapter 11 is static
    // (192.168.1.5, gateway 192.168.1.1), adapter 14 takes a DHCP lease of 10.0.0.23.
    QTest::newRow("static dns, two servers") << 11
        << QStringList{"interface ip delete dns 11 all",
                       "interface ip set dns 11 source=static addr=10.0.0.1 ddns=enabled register=primary",
                       "interface ip add dns 11 addr=10.0.0.1", "interface ip add dns 11 addr=10.0.0.2"}
        << QList<int>{0, 0, 1, 0} << QStringList{"dns 10.0.0.1", "dns 10.0.0.2"};
    QTest::newRow("dns back to dhcp") << 14
        << QStringList{"interface ip set dns 14 source=static addr=10.0.0.9 ddns=enabled register=primary",
                       "interface ip delete dns 14 addr=10.0.0.9", "interface ip set dns 14 source=dhcp"}
        << QList<int>{0, 0, 0} << QStringList{"dns 10.0.0.1"};
    QTest::newRow("static wins, both") << 11
        << QStringList{"interface ip set wins 11 source=static addr=10.0.0.8", "interface ip add wins 11 addr=10.0.0.9"}
        << QList<int>{0, 0} << QStringList{"wins 10.0.0.8", "wins 10.0.0.9"};
    QTest::newRow("static address, two gateways") << 11
        << QStringList{"interface ip set address 11 source=static 192.168.2.5 255.255.255.0",
                       "interface ip add address 11 gateway=192.168.2.1 gwmetric=0 ",
                       "interface ip add address 11 gateway=192.168.2.254 gwmetric=0 "}
        << QList<int>{0, 0, 0}
        << QStringList{"dhcp 0", "ip 192.168.2.5/255.255.255.0", "gw 192.168.2.1", "gw 192.168.2.254"};
    QTest::newRow("dhcp adapter made static") << 14
        << QStringList{"interface ip set address 14 source=static 10.0.0.50 255.255.255.0"}
        << QList<int>{0} << QStringList{"dhcp 0", "ip 10.0.0.50/255.255.255.0", "gw", "dns"};
    QTest::newRow("static without a gateway") << 11
        << QStringList{"interface ip set address 11 static 10.1.2.3 255.0.0.0 gateway=none"}
        << QList<int>{0} << QStringList{"ip 10.1.2.3/255.0.0.0", "gw"};
    QTest::newRow("first address after the last went") << 11
        << QStringList{"interface ip delete address 11 addr=192.168.1.5", "interface ip add address 11 10.1.1.1 255.0.0.0"}
        << QList<int>{0, 0} << QStringList{"ip 10.1.1.1/255.0.0.0"};
    QTest::newRow("back to dhcp takes the offer") << 14
        << QStringList{"interface ip set address 14 source=static 10.0.0.50 255.255.255.0",
                       "interface ip delete address 14 addr=10.0.0.50", "interface ip set address 14 source=dhcp"}
        << QList<int>{0, 0, 0} << QStringList{"dhcp 1", "ip 10.0.0.23/255.255.255.0", "gw 10.0.0.1"};
    // The application sends this only for a static adapter; on DHCP already it is refused.
    QTest::newRow("dhcp again on a dhcp adapter") << 14
        << QStringList{"interface ip delete address 14 addr=10.0.0.23", "interface ip set address 14 source=dhcp"}
        << QList<int>{1, 1} << QStringList{"dhcp 1", "ip 10.0.0.23/255.255.255.0"};
    QTest::newRow("no servers at all") << 11
        << QStringList{"interface ip delete dns 11 all", "interface ip set dns 11 source=static addr=none ddns=enabled",
                       "interface ip set wins 11 source=static addr=none"}
        << QList<int>{0, 0, 0} << QStringList{"dns", "wins"};
    // Forms a person types.
    QTest::newRow("by connection name, positional") << 11
        << QStringList{"int ip set address \"local area connection\" static 10.5.5.5 255.0.0.0 10.0.0.254 1"}
        << QList<int>{0} << QStringList{"ip 10.5.5.5/255.0.0.0", "gw 10.0.0.254"};
    QTest::newRow("prefix, tagged") << 11
        << QStringList{"interface ipv4 set address name=11 source=static address=192.168.1.9/24"}
        << QList<int>{0} << QStringList{"ip 192.168.1.9/255.255.255.0", "gw"};
    QTest::newRow("prefix, positional gateway follows") << 11
        << QStringList{"interface ip set address 11 static 10.5.5.5/8 10.0.0.254 1",
                       "interface ip add address 11 172.16.1.1/12"}
        << QList<int>{0, 0}
        << QStringList{"ip 10.5.5.5/255.0.0.0", "ip 172.16.1.1/255.240.0.0", "gw 10.0.0.254"};
    // Several addresses, as Windows keeps them: each with its mask, in the order they came.
    QTest::newRow("secondary addresses") << 11
        << QStringList{"interface ip add address 11 addr=10.1.1.1 mask=255.0.0.0",
                       "interface ip add address name=11 addr=172.16.5.5 mask=255.255.0.0"}
        << QList<int>{0, 0}
        << QStringList{"ip 192.168.1.5/255.255.255.0", "ip 10.1.1.1/255.0.0.0", "ip 172.16.5.5/255.255.0.0",
                       "gw 192.168.1.1"};
    QTest::newRow("set replaces every address") << 11
        << QStringList{"interface ip add address 11 addr=10.1.1.1 mask=255.0.0.0",
                       "interface ip set address 11 source=static 192.168.3.5 255.255.255.0"}
        << QList<int>{0, 0} << QStringList{"ip 192.168.3.5/255.255.255.0", "gw"};
    QTest::newRow("delete one of three") << 11
        << QStringList{"interface ip add address 11 addr=10.1.1.1 mask=255.0.0.0",
                       "interface ip add address 11 addr=10.2.2.2 mask=255.255.0.0",
                       "interface ip delete address 11 addr=10.1.1.1"}
        << QList<int>{0, 0, 0} << QStringList{"ip 192.168.1.5/255.255.255.0", "ip 10.2.2.2/255.255.0.0"};
    QTest::newRow("delete the first, the next one leads") << 11
        << QStringList{"interface ip add address 11 addr=10.1.1.1 mask=255.0.0.0",
                       "interface ip delete address 11 addr=192.168.1.5"}
        << QList<int>{0, 0} << QStringList{"ip 10.1.1.1/255.0.0.0", "gw 192.168.1.1"};
    QTest::newRow("new primary, secondaries added again, gateways") << 11
        << QStringList{"interface ip set address 11 source=static 192.168.4.5 255.255.255.0",
                       "interface ip add address 11 addr=192.168.4.6 mask=255.255.255.128",
                       "interface ip add address 11 addr=10.4.4.4 mask=255.0.0.0",
                       "interface ip add address 11 gateway=192.168.4.1 gwmetric=0 ",
                       "interface ip add address 11 gateway=192.168.4.2 gwmetric=0 ",
                       "interface ip add address 11 gateway=10.0.0.1 gwmetric=0 "}
        << QList<int>{0, 0, 0, 0, 0, 0}
        << QStringList{"ip 192.168.4.5/255.255.255.0", "ip 192.168.4.6/255.255.255.128", "ip 10.4.4.4/255.0.0.0",
                       "gw 192.168.4.1", "gw 192.168.4.2", "gw 10.0.0.1"};
    QTest::newRow("several dns servers in order") << 11
        << QStringList{"interface ip delete dns 11 all",
                       "interface ip set dns 11 source=static addr=10.0.0.1 ddns=enabled register=primary",
                       "interface ip add dns 11 addr=10.0.0.1", "interface ip add dns 11 addr=10.0.0.3",
                       "interface ip add dns 11 addr=10.0.0.2", "interface ip add dns 11 addr=10.0.0.4"}
        << QList<int>{0, 0, 1, 0, 0, 0} << QStringList{"dns 10.0.0.1", "dns 10.0.0.3", "dns 10.0.0.2", "dns 10.0.0.4"};
    QTest::newRow("ipv4 context") << 11
        << QStringList{"interface ipv4 set dnsservers name=11 source=static address=10.7.7.7 register=none",
                       "interface ipv4 add dnsservers name=11 address=10.7.7.8 index=1"}
        << QList<int>{0, 0} << QStringList{"dns 10.7.7.8", "dns 10.7.7.7"};
}

void TestNetsh::applySequence()
{
    QFETCH(int, ifIndex);
    QFETCH(QStringList, lines);
    QFETCH(QList<int>, exits);
    QFETCH(QStringList, expected);
    TestEnv env;
    QVERIFY(env.initSampleHost());
    for (int i = 0; i < lines.size(); ++i) {
        QString out;
        const int code = env.runProgram(Netsh(), QProcess::splitCommand(lines[i]), &out);
        QVERIFY2(code == exits[i], qPrintable(lines[i] + " -> " + QString::number(code) + ": " + out));
    }
    QStringList kinds;
    for (const QString& e : expected)
        kinds << e.section(' ', 0, 0);
    expected.removeIf([](const QString& e) { return !e.contains(' '); });
    QCOMPARE(Only(Observe(DWORD(ifIndex)), kinds), expected);
}

void TestNetsh::automaticPrivateAddress()
{
    TestEnv env;
    QVERIFY(env.initSampleHost());
    QCOMPARE(env.runProgram(Netsh(), {"interface", "ip", "delete", "address", "11", "addr=192.168.1.5"}), 0);
    QCOMPARE(env.runProgram(Netsh(), {"interface", "ip", "set", "address", "11", "source=dhcp"}), 0);
    const QStringList facts = Observe(11);
    const QStringList ips = Only(facts, {"ip"});
    QCOMPARE(ips.size(), 1);
    QVERIFY2(QRegularExpression("^ip 169\\.254\\.\\d+\\.\\d+/255\\.255\\.0\\.0$").match(ips[0]).hasMatch(), qPrintable(ips[0]));
    QCOMPARE(Only(facts, {"dhcp", "gw"}), QStringList{"dhcp 1"});
}

void TestNetsh::refusedLeavesHive_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("hive");   // empty: the sample host
    const QString badName = "The filename, directory name, or volume label syntax is incorrect.";
    const QString dhcpOn = "DHCP is already enabled on this interface.\n";
    QTest::newRow("parse error") << "interface ip set address 11 static 10.1.2.3 255.0.255.0" << "Invalid mask parameter (255.0.255.0).\n" << QString();
    QTest::newRow("no such index") << "interface ip set address 99 source=dhcp" << "Element not found." << QString();
    QTest::newRow("no such name") << "interface ip set address name=eth0 source=dhcp" << badName << QString();
    QTest::newRow("by description") << "interface ip set address \"Gigabit Ethernet Controller\" dhcp" << badName << QString();
    QTest::newRow("by adapter GUID") << "interface ip set address {6B1D8F3A-2C4E-4F5B-9A7D-1E2F3A4B5C6D} dhcp" << badName << QString();
    QTest::newRow("dhcp already on") << "interface ip set address 14 source=dhcp" << dhcpOn << QString();
    QTest::newRow("dhcp already on, by name") << "int ip set address \"Wireless Network Connection\" dhcp" << dhcpOn << QString();
    QTest::newRow("static address on dhcp") << "interface ip add address 14 10.0.0.60 255.255.255.0" << "The parameter is incorrect." << QString();
    QTest::newRow("address it does not have") << "interface ip delete address 11 addr=10.9.9.9" << "Element not found." << QString();
    QTest::newRow("address already there") << "interface ip add address 11 addr=192.168.1.5 mask=255.255.255.0" << "The object already exists." << QString();
    QTest::newRow("address already there, other mask") << "interface ip add address 11 192.168.1.5 255.255.0.0" << "The object already exists." << QString();
    QTest::newRow("gateway already there") << "interface ip add address 11 gateway=192.168.1.1 gwmetric=0" << "The object already exists." << QString();
    QTest::newRow("dns duplicate") << "interface ip add dns 11 addr=192.168.1.1" << "The object is already in the list." << QString();
    QTest::newRow("broken hive") << "interface ip set dns 11 dhcp" << "The configuration registry database is corrupt."
                                 << "[HKEY_LOCAL_MACHINE\\SYSTEM]\r\n\"broken\"=dword:nothex\r\n";
}

void TestNetsh::refusedLeavesHive()
{
    QFETCH(QString, line);
    QFETCH(QString, message);
    QFETCH(QString, hive);
    TestEnv env;
    QVERIFY(hive.isEmpty() ? env.initSampleHost() : env.writeHive(hive));
    const QString before = env.readHive();
    QString out;
    QCOMPARE(env.runProgram(Netsh(), QProcess::splitCommand(line), &out), 1);
    QVERIFY2(out.startsWith(message), qPrintable(out));
    QCOMPARE(env.readHive(), before);
}

void TestNetsh::interactive_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QStringList>("facts");   // adapter 11 afterwards
    QTest::newRow("contexts, then exit") << QByteArray("interface ip\r\nset address 11 static 10.9.9.9/16\n\n..\n"
                                                       "frob\nexit\nset address 11 dhcp\n")
        << "netsh>netsh interface ip>Ok.\n\nnetsh interface ip>netsh interface ip>netsh interface>"
           "The following command was not found: frob.\n\nnetsh interface>"
        << QStringList{"dhcp 0", "ip 10.9.9.9/255.255.0.0"};
    QTest::newRow("whole commands up to the end of the input")
        << QByteArray("int ip add dns 11 addr=192.168.1.1\ninterface ip set address 11 dhcp")
        << "netsh>The object is already in the list.\n\nnetsh>Ok.\n\nnetsh>\n" << QStringList{"dhcp 1", "ip 10.0.0.50/255.255.255.0"};
    QTest::newRow("nothing") << QByteArray() << "netsh>\n" << QStringList{"dhcp 0", "ip 192.168.1.5/255.255.255.0"};
}

void TestNetsh::interactive()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, facts);
    TestEnv env;
    QVERIFY(env.initSampleHost());
    QVERIFY(winsys::ModifyHive([](winsys::Hive& h) -> uint32_t {   // adapter 11's DHCP server
                std::string base = winsys::keys::kDhcpOffers;
                h.SetString(base + "\\{6B1D8F3A-2C4E-4F5B-9A7D-1E2F3A4B5C6D}", "IPAddress", "10.0.0.50");
                h.SetString(base + "\\{6B1D8F3A-2C4E-4F5B-9A7D-1E2F3A4B5C6D}", "SubnetMask", "255.255.255.0");
                return 0;
            }) == 0);
    QProcess netsh;
    netsh.setProcessEnvironment(env.environment());
    netsh.start(Netsh(), QStringList());
    QVERIFY(netsh.waitForStarted());
    netsh.write(input);
    netsh.closeWriteChannel();
    QVERIFY(netsh.waitForFinished(60000));
    QFETCH(QString, output);
    QCOMPARE(QString::fromUtf8(netsh.readAllStandardOutput()), output);
    QCOMPARE(netsh.exitCode(), 0);
    QCOMPARE(Only(Observe(11), {"dhcp", "ip"}), facts);
}

QTEST_GUILESS_MAIN(TestNetsh)
#include "tst_netsh.moc"
