// The netsh command-line parser and the registry changes of each command,
// in process on an in-memory copy of the sample host.
#include "netshapply.h"
#include "netshparse.h"

#include <QtTest>

#include <winsys/hive.h>
#include <winsys/host.h>

using netsh::Status;

namespace {

QStringList ToQt(const std::vector<std::string>& v)
{
    QStringList out;
    for (const std::string& s : v)
        out << QString::fromStdString(s);
    return out;
}

netsh::Result ParseLine(const QString& line, netsh::Command* cmd)
{
    return netsh::Parse(netsh::SplitCommandLine(line.toStdString()), cmd);
}

}  // namespace

class TestNetshParse : public QObject
{
    Q_OBJECT

private:
    winsys::Hive m_Hive;
    netsh::Adapter m_Wired;   // the sample host's static adapter, index 11

    QStringList Multi(const std::string& key, const char* name) const
    {
        return ToQt(m_Hive.GetMultiString(key, name));
    }
    void RunAll(const QStringList& lines, int64_t now = 1000);

private slots:
    void init();
    void parse_data();
    void parse();
    void splitCommandLine_data();
    void splitCommandLine();
    void ipv4_data();
    void ipv4();
    void findAdapter_data();
    void findAdapter();
    void failureLeavesHive_data();
    void failureLeavesHive();
    void staticAddressDropsGateways();
    void gatewaysKeepTheirMetrics();
    void serverLists_data();
    void serverLists();
    void dhcpTakesOffer();
    void generatedLinesApplyWhollyOrNotAtAll();
};

void TestNetshParse::init()
{
    std::string error;
    int line = 0;
    m_Hive = winsys::Hive();
    QVERIFY2(winsys::ParseHive(winsys::SampleHiveText(), m_Hive, &error, &line), error.c_str());
    QCOMPARE(int(netsh::FindAdapter(m_Hive, "11", &m_Wired).status), int(Status::Ok));
}

void TestNetshParse::parse_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("iface");
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("addr");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("gateway");
    QTest::addColumn<int>("metric");   // -1: not given
    QTest::addColumn<int>("index");

    const int ok = int(Status::Ok), bad = int(Status::BadParameter), missing = int(Status::MissingParameter),
              notCmd = int(Status::CommandNotFound);
    const int unset = int(netsh::Source::Unset), dhcp = int(netsh::Source::Dhcp),
              stat = int(netsh::Source::Static);
    // The lines the application generates.
    QTest::newRow("delete server") << "interface ip delete dns 7 addr=10.0.0.1" << ok << "7" << unset << "10.0.0.1" << "" << "" << -1 << 0;
    QTest::newRow("delete all dns") << "interface ip delete dns 7 all" << ok << "7" << unset << "all" << "" << "" << -1 << 0;
    QTest::newRow("dns dhcp") << "interface ip set dns 7 source=dhcp" << ok << "7" << dhcp << "" << "" << "" << -1 << 0;
    QTest::newRow("dns static") << "interface ip set dns 7 source=static addr=10.0.0.1 ddns=enabled register=primary"
                                << ok << "7" << stat << "10.0.0.1" << "" << "" << -1 << 0;
    QTest::newRow("dns none") << "interface ip set dns 7 source=static addr=none ddns=enabled " << ok << "7" << stat << "none" << "" << "" << -1 << 0;
    QTest::newRow("wins static") << "interface ip set wins 7 source=static addr=10.0.0.8" << ok << "7" << stat << "10.0.0.8" << "" << "" << -1 << 0;
    QTest::newRow("delete address") << "interface ip delete address 7 addr=192.168.1.5" << ok << "7" << unset << "192.168.1.5" << "" << "" << -1 << 0;
    QTest::newRow("address dhcp") << "interface ip set address 7 source=dhcp" << ok << "7" << dhcp << "" << "" << "" << -1 << 0;
    QTest::newRow("positional after tagged source") << "interface ip set address 7 source=static 192.168.1.5 255.255.255.0"
                                                    << ok << "7" << stat << "192.168.1.5" << "255.255.255.0" << "" << -1 << 0;
    QTest::newRow("gateway, trailing blank") << "interface ip add address 7 gateway=192.168.1.1 gwmetric=0 "
                                             << ok << "7" << unset << "" << "" << "192.168.1.1" << 0 << 0;
    // What people type.
    QTest::newRow("abbreviated, all positional") << "int ip set addr \"Local Area Connection\" static 10.1.2.3 255.0.0.0 10.1.0.1 1"
                                                 << ok << "Local Area Connection" << stat << "10.1.2.3" << "255.0.0.0" << "10.1.0.1" << 1 << 0;
    QTest::newRow("quoted tagged name") << "interface ip set dns name=\"Wireless Network Adapter\" dhcp"
                                        << ok << "Wireless Network Adapter" << dhcp << "" << "" << "" << -1 << 0;
    QTest::newRow("tags ignore case") << "INTERFACE IP SET ADDRESS NAME=7 SOURCE=STATIC ADDR=10.1.2.3 MASK=255.255.0.0"
                                      << ok << "7" << stat << "10.1.2.3" << "255.255.0.0" << "" << -1 << 0;
    QTest::newRow("ipv4 spelling") << "interface ipv4 set address name=7 source=static address=10.1.2.3 mask=255.255.255.0 gateway=10.1.2.1 gwmetric=5"
                                   << ok << "7" << stat << "10.1.2.3" << "255.255.255.0" << "10.1.2.1" << 5 << 0;
    QTest::newRow("add dns positional index") << "interface ip add dns 7 10.0.0.3 2" << ok << "7" << unset << "10.0.0.3" << "" << "" << -1 << 2;
    QTest::newRow("tags in any order") << "interface ip add wins addr=10.0.0.9 index=1 name=7" << ok << "7" << unset << "10.0.0.9" << "" << "" << -1 << 1;
    QTest::newRow("dhcp gateway none") << "interface ip set address 7 static 10.1.2.3 255.0.0.0 none" << ok << "7" << stat << "10.1.2.3" << "255.0.0.0" << "none" << -1 << 0;
    QTest::newRow("leading zeros") << "interface ip add dns 7 addr=010.000.000.001" << ok << "7" << unset << "10.0.0.1" << "" << "" << -1 << 0;
    // Refused.
    QTest::newRow("unknown verb") << "interface ip frob dns 7" << notCmd << "" << unset << "" << "" << "" << -1 << 0;
    QTest::newRow("unknown object") << "interface ip set route 7" << notCmd << "" << unset << "" << "" << "" << -1 << 0;
    QTest::newRow("other context") << "firewall ip set dns 7 dhcp" << notCmd << "" << unset << "" << "" << "" << -1 << 0;
    QTest::newRow("abbreviated verb") << "interface ip s dns 7 dhcp" << ok << "7" << dhcp << "" << "" << "" << -1 << 0;
    QTest::newRow("no interface") << "interface ip set address" << missing << "" << unset << "" << "" << "" << -1 << 0;
    QTest::newRow("no source") << "interface ip set address 7" << missing << "" << unset << "" << "" << "" << -1 << 0;
    QTest::newRow("static without mask") << "interface ip set address 7 source=static 10.1.2.3" << missing << "" << unset << "" << "" << "" << -1 << 0;
    QTest::newRow("add address without mask") << "interface ip add address 7 addr=10.1.2.3" << missing << "" << unset << "" << "" << "" << -1 << 0;
    QTest::newRow("dhcp with address") << "interface ip set address 7 source=dhcp 10.1.2.3" << bad << "" << unset << "" << "" << "" << -1 << 0;
    QTest::newRow("octet too big") << "interface ip set address 7 static 10.1.2.256 255.0.0.0" << bad << "" << unset << "" << "" << "" << -1 << 0;
    QTest::newRow("loopback address") << "interface ip set address 7 static 127.0.0.2 255.0.0.0" << bad << "" << unset << "" << "" << "" << -1 << 0;
    QTest::newRow("multicast gateway") << "interface ip add address 7 gateway=224.0.0.1" << bad << "" << unset << "" << "" << "" << -1 << 0;
    QTest::newRow("unspecified server") << "interface ip add dns 7 addr=0.0.0.0" << bad << "" << unset << "" << "" << "" << -1 << 0;
    QTest::newRow("broadcast server") << "interface ip set wins 7 static 255.255.255.255" << bad << "" << unset << "" << "" << "" << -1 << 0;
    QTest::newRow("loopback server") << "interface ip add dns 7 addr=127.0.0.1" << ok << "7" << unset << "127.0.0.1" << "" << "" << -1 << 0;
    QTest::newRow("holes in mask") << "interface ip set address 7 static 10.1.2.3 255.0.255.0" << bad << "" << unset << "" << "" << "" << -1 << 0;
    QTest::newRow("unknown tag") << "interface ip set dns 7 source=static addr=10.0.0.1 colour=red" << bad << "" << unset << "" << "" << "" << -1 << 0;
    QTest::newRow("repeated tag") << "interface ip set dns 7 source=static addr=10.0.0.1 source=dhcp" << bad << "" << unset << "" << "" << "" << -1 << 0;
    QTest::newRow("positional on taken slot") << "interface ip set dns source=static 7 10.0.0.1" << bad << "" << unset << "" << "" << "" << -1 << 0;
    QTest::newRow("too many positional") << "interface ip delete dns 7 10.0.0.1 extra" << bad << "" << unset << "" << "" << "" << -1 << 0;
    QTest::newRow("bad source word") << "interface ip set wins 7 source=auto" << bad << "" << unset << "" << "" << "" << -1 << 0;
    QTest::newRow("add none") << "interface ip add dns 7 addr=none" << bad << "" << unset << "" << "" << "" << -1 << 0;
    QTest::newRow("index zero") << "interface ip add dns 7 addr=10.0.0.1 index=0" << bad << "" << unset << "" << "" << "" << -1 << 0;
    QTest::newRow("metric without gateway") << "interface ip add address 7 10.1.2.3 255.0.0.0 gwmetric=1" << bad << "" << unset << "" << "" << "" << -1 << 0;
    QTest::newRow("metric too big") << "interface ip add address 7 gateway=10.1.0.1 gwmetric=10000" << bad << "" << unset << "" << "" << "" << -1 << 0;
    QTest::newRow("register on wins") << "interface ip set wins 7 static 10.0.0.8 register=primary" << bad << "" << unset << "" << "" << "" << -1 << 0;
    QTest::newRow("empty value") << "interface ip add dns 7 addr=" << bad << "" << unset << "" << "" << "" << -1 << 0;
}

void TestNetshParse::parse()
{
    QFETCH(QString, line);
    QFETCH(int, status);
    netsh::Command cmd;
    const netsh::Result r = ParseLine(line, &cmd);
    QCOMPARE(int(r.status), status);
    if (status == int(Status::CommandNotFound))
        QCOMPARE(QString::fromStdString(netsh::Message(r)), "The following command was not found: " + line.simplified() + ".");
    if (status != int(Status::Ok))
        return;
    QTEST(QString::fromStdString(cmd.iface), "iface");
    QTEST(int(cmd.source), "source");
    QTEST(QString::fromStdString(cmd.addr), "addr");
    QTEST(QString::fromStdString(cmd.mask), "mask");
    QTEST(QString::fromStdString(cmd.gateway), "gateway");
    QTEST(cmd.hasMetric ? int(cmd.gwmetric) : -1, "metric");
    QTEST(int(cmd.index), "index");
}

void TestNetshParse::splitCommandLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("args");
    QTest::newRow("blanks") << "  a  b\tc " << QStringList{"a", "b", "c"};
    QTest::newRow("quoted blank") << "name=\"Local Area\" x" << QStringList{"name=Local Area", "x"};
    QTest::newRow("escaped quote") << "a\\\"b" << QStringList{"a\"b"};
    QTest::newRow("backslashes kept") << "c:\\dir\\ x" << QStringList{"c:\\dir\\", "x"};
    QTest::newRow("empty quotes") << "a \"\" b" << QStringList{"a", "", "b"};
}

void TestNetshParse::splitCommandLine()
{
    QFETCH(QString, line);
    QTEST(ToQt(netsh::SplitCommandLine(line.toStdString())), "args");
}

void TestNetshParse::ipv4_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("canonical");
    QTest::newRow("plain") << "192.168.1.5" << true << "192.168.1.5";
    QTest::newRow("max") << "255.255.255.255" << true << "255.255.255.255";
    QTest::newRow("padded") << "001.002.003.004" << true << "1.2.3.4";
    QTest::newRow("five parts") << "1.2.3.4.5" << false << "";
    QTest::newRow("empty part") << "1..3.4" << false << "";
    QTest::newRow("sign") << "1.2.3.+4" << false << "";
    QTest::newRow("four digits") << "1.2.3.0004" << false << "";
}

void TestNetshParse::ipv4()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    uint32_t value = 0;
    QCOMPARE(netsh::ParseIPv4(text.toStdString(), &value), valid);
    if (valid)
        QTEST(QString::fromStdString(netsh::FormatIPv4(value)), "canonical");
}

void TestNetshParse::findAdapter_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("ifIndex");
    QTest::newRow("index") << "14" << int(Status::Ok) << 14;
    QTest::newRow("description, any case") << "gigabit ethernet CONTROLLER" << int(Status::Ok) << 11;
    QTest::newRow("unknown index") << "12" << int(Status::NotFound) << 0;
    QTest::newRow("unknown name") << "Token Ring" << int(Status::BadInterface) << 0;
}

void TestNetshParse::findAdapter()
{
    QFETCH(QString, name);
    netsh::Adapter a;
    QTEST(int(netsh::FindAdapter(m_Hive, name.toStdString(), &a).status), "status");
    if (a.ifIndex)
    if (a.ifIndex) {   // the adapter's own GUID names it as well
        QTEST(int(a.ifIndex), "ifIndex");
        QCOMPARE(int(netsh::FindAdapter(m_Hive, a.guid, &a).status), int(Status::Ok));
    }
}

void TestNetshParse::failureLeavesHive_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("status");
    QTest::newRow("duplicate dns") << "interface ip add dns 11 addr=10.0.0.1" << int(Status::AlreadyInList);
    QTest::newRow("duplicate address") << "interface ip add address 11 192.168.1.5 255.255.255.0" << int(Status::AlreadyInList);
    QTest::newRow("duplicate gateway") << "interface ip add address 11 gateway=192.168.1.1 gwmetric=0" << int(Status::AlreadyInList);
    QTest::newRow("absent dns") << "interface ip delete dns 11 addr=10.9.9.9" << int(Status::NotFound);
    QTest::newRow("absent address") << "interface ip delete address 11 addr=10.9.9.9" << int(Status::NotFound);
    QTest::newRow("present address, absent gateway") << "interface ip delete address 11 192.168.1.5 10.9.9.9" << int(Status::NotFound);
    QTest::newRow("no such index") << "interface ip set address 99 source=dhcp" << int(Status::NotFound);
    QTest::newRow("no such name") << "interface ip set dns name=eth0 source=dhcp" << int(Status::BadInterface);
    QTest::newRow("static address on dhcp adapter") << "interface ip add address 14 10.0.0.99 255.255.255.0" << int(Status::BadParameter);
}

void TestNetshParse::failureLeavesHive()
{
    QFETCH(QString, line);
    netsh::Command cmd;
    QCOMPARE(int(ParseLine(line, &cmd).status), int(Status::Ok));
    const winsys::Hive before = m_Hive;
    QTEST(int(netsh::Apply(m_Hive, cmd, 1000).status), "status");
    QVERIFY(m_Hive == before);
}

void TestNetshParse::RunAll(const QStringList& lines, int64_t now)
{
    for (const QString& line : lines) {
        netsh::Command cmd;
        QCOMPARE(int(ParseLine(line, &cmd).status), int(Status::Ok));
        QCOMPARE(int(netsh::Apply(m_Hive, cmd, now).status), int(Status::Ok));
    }
}

void TestNetshParse::staticAddressDropsGateways()
{
    RunAll({"interface ip set address 11 source=static 10.1.2.3 255.255.0.0"});
    QCOMPARE(Multi(m_Wired.tcpipKey, "IPAddress"), QStringList{"10.1.2.3"});
    QCOMPARE(Multi(m_Wired.tcpipKey, "SubnetMask"), QStringList{"255.255.0.0"});
    QCOMPARE(Multi(m_Wired.tcpipKey, "DefaultGateway"), QStringList{});
    QCOMPARE(Multi(m_Wired.tcpipKey, "DefaultGatewayMetric"), QStringList{});
    QCOMPARE(m_Hive.GetDword(m_Wired.tcpipKey, "EnableDHCP", 7), 0u);
}

void TestNetshParse::gatewaysKeepTheirMetrics()
{
    RunAll({"interface ip add address 11 gateway=192.168.1.254 gwmetric=0 ",
            "interface ip add address 11 gateway=192.168.1.253 gwmetric=20",
            "interface ip delete address 11 gateway=192.168.1.1", "interface ip add address 11 192.168.1.6 255.255.255.0"});
    QCOMPARE(Multi(m_Wired.tcpipKey, "DefaultGateway"), (QStringList{"192.168.1.254", "192.168.1.253"}));
    QCOMPARE(Multi(m_Wired.tcpipKey, "DefaultGatewayMetric"), (QStringList{"0", "20"}));
    QCOMPARE(Multi(m_Wired.tcpipKey, "IPAddress"), (QStringList{"192.168.1.5", "192.168.1.6"}));
    QCOMPARE(Multi(m_Wired.tcpipKey, "SubnetMask"), (QStringList{"255.255.255.0", "255.255.255.0"}));
}

void TestNetshParse::serverLists_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("servers");   // DNS: NameServer; WINS: NameServerList
    // The sample adapter starts with DNS 192.168.1.1,10.0.0.1.
    QTest::newRow("append") << QStringList{"add dns 11 addr=10.0.0.9"} << "192.168.1.1,10.0.0.1,10.0.0.9";
    QTest::newRow("insert first") << QStringList{"add dns 11 addr=10.0.0.9 index=1"} << "10.0.0.9,192.168.1.1,10.0.0.1";
    QTest::newRow("index past end") << QStringList{"add dns 11 10.0.0.9 9"} << "192.168.1.1,10.0.0.1,10.0.0.9";
    QTest::newRow("delete all") << QStringList{"delete dns 11 all"} << "";
    QTest::newRow("static replaces") << QStringList{"delete dns 11 all", "set dns 11 source=static addr=10.0.0.7 ddns=enabled register=primary",
                                                    "add dns 11 addr=10.0.0.8"} << "10.0.0.7,10.0.0.8";
    QTest::newRow("static none") << QStringList{"set dns 11 source=static addr=none ddns=enabled "} << "";
    QTest::newRow("dhcp empties") << QStringList{"set dns 11 dhcp"} << "";
    QTest::newRow("wins") << QStringList{"set wins 11 source=static addr=none", "add wins 11 addr=10.0.0.9",
                                         "add wins 11 addr=10.0.0.8 index=1"} << "10.0.0.8,10.0.0.9";
}

void TestNetshParse::serverLists()
{
    QFETCH(QStringList, lines);
    for (QString& line : lines)
        line.prepend("interface ip ");
    RunAll(lines);
    if (lines.first().contains("wins"))
        QTEST(Multi(m_Wired.netbtKey, "NameServerList").join(','), "servers");
    else
        QTEST(QString::fromStdString(m_Hive.GetString(m_Wired.tcpipKey, "NameServer")), "servers");
}

void TestNetshParse::dhcpTakesOffer()
{
    // Adapter 14's DHCP server offers 10.0.0.23; adapter 11 has no server.
    RunAll({"interface ip set address 14 static 10.0.0.50 255.255.255.0", "interface ip set address 14 source=dhcp",
            "interface ip set address 11 source=dhcp"}, 5000);
    netsh::Adapter wireless;
    QCOMPARE(int(netsh::FindAdapter(m_Hive, "14", &wireless).status), int(Status::Ok));
    QCOMPARE(m_Hive.GetDword(wireless.tcpipKey, "EnableDHCP"), 1u);
    QCOMPARE(m_Hive.GetString(wireless.tcpipKey, "DhcpIPAddress"), std::string("10.0.0.23"));
    QCOMPARE(m_Hive.GetString(wireless.tcpipKey, "DhcpSubnetMask"), std::string("255.255.255.0"));
    QCOMPARE(m_Hive.GetMultiString(wireless.tcpipKey, "DhcpDefaultGateway"), std::vector<std::string>{"10.0.0.1"});
    QVERIFY(m_Hive.GetDword(wireless.tcpipKey, "LeaseTerminatesTime") > m_Hive.GetDword(wireless.tcpipKey, "LeaseObtainedTime"));
    const QString apipa = QString::fromStdString(m_Hive.GetString(m_Wired.tcpipKey, "DhcpIPAddress"));
    QVERIFY2(apipa.startsWith("169.254.") && apipa != "169.254.0.0", qPrintable(apipa));
    QCOMPARE(m_Hive.GetString(m_Wired.tcpipKey, "DhcpSubnetMask"), std::string("255.255.0.0"));
    QCOMPARE(Multi(m_Wired.tcpipKey, "DefaultGateway"), QStringList{});
    QCOMPARE(m_Hive.GetDword(m_Wired.tcpipKey, "EnableDHCP"), 1u);
}

void TestNetshParse::generatedLinesApplyWhollyOrNotAtAll()
{
    // Random lines from netsh's vocabulary and near misses: a refusal leaves the hive untouched.
    const QStringList verbs{"set", "add", "delete", "del", "sets"};
    const QStringList objects{"address", "dns", "wins", "route"};
    const QStringList ifaces{"11", "14", "99", "name=11", "\"Local Area Connection\"", "name=eth0"};
    const QStringList params{"source=static", "source=dhcp", "static", "dhcp", "10.0.0.1", "192.168.1.1",
                             "192.168.1.5", "255.255.255.0", "255.0.255.0", "addr=10.0.0.2", "addr=192.168.1.2",
                             "addr=none", "all", "mask=255.255.0.0", "gateway=192.168.1.1", "gateway=10.0.0.9",
                             "gateway=all", "gwmetric=0", "gwmetric=x", "index=1", "index=0", "register=primary",
                             "ddns=enabled", "x=y", "=", "1.2.3"};
    QRandomGenerator rng(20240601);
    int applied = 0, refused = 0;
    for (int i = 0; i < 20000; ++i) {
        QString line = "interface ip " + verbs[rng.bounded(verbs.size())] + " " + objects[rng.bounded(objects.size())] +
                       " " + ifaces[rng.bounded(ifaces.size())];
        for (int n = rng.bounded(5); n > 0; --n)
            line += " " + params[rng.bounded(params.size())];
        netsh::Command cmd;
        if (ParseLine(line, &cmd).status != Status::Ok)
            continue;
        const winsys::Hive before = m_Hive;
        if (netsh::Apply(m_Hive, cmd, 1000).status == Status::Ok) {
            ++applied;
            continue;
        }
        ++refused;
        QVERIFY2(m_Hive == before, qPrintable(line));
    }
    QVERIFY(applied > 0 && refused > 0);
}

QTEST_APPLESS_MAIN(TestNetshParse)
#include "tst_netshparse.moc"
