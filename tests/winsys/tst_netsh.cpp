// netsh's parser in-process, and netsh.exe run as a real process against a
// fresh sample host, read back through the IP Helper calls. The sample
// adapter 11 is static (192.168.1.5, gateway 192.168.1.1), adapter 14 takes
// a DHCP lease of 10.0.0.23.
#include "hostfacts.h"
#include "netshparse.h"

#include <QRegularExpression>
#include <QtTest>

class TestNetsh : public QObject
{
    Q_OBJECT

private slots:
    // The parameters a command line parsed into, or the first line of netsh's message for it.
    void parse_data()
    {
        // line: see InContext
        Columns<QString, QString>({"line", "parsed"});
        const QString bad = "The parameter is incorrect.",
                      missing = "One or more essential parameters were not entered.";
        const QString addr = "Invalid address parameter (%1). It should be a valid IPv4 address.";
        Row("positional, by name",
            "int ip set address \"local area connection\" static 10.5.5.5 255.0.0.0 10.0.0.254 1",
            "iface=local area connection static addr=10.5.5.5 mask=255.0.0.0 gw=10.0.0.254 metric=1");
        Row("tagged, ipv4 spelling", "interface ipv4 set address name=11 source=static address=192.168.1.9/24",
            "iface=11 static addr=192.168.1.9 mask=255.255.255.0");
        Row("abbreviated words", "int ip add dnss 11 10.0.0.9 index=1", "iface=11 addr=10.0.0.9 index=1");
        Row("delete every gateway", "delete address 11 gateway=all", "iface=11 gw=all");
        Row("dns with registration", "set dns 11 static 10.0.0.1 both", "iface=11 static addr=10.0.0.1 register=both");
        Row("unknown command", "interface ip frob dns 11",
            "The following command was not found: interface ip frob dns 11.");
        Row("mask missing", "set address 11 source=static 10.1.2.3", missing);
        Row("mask without address", "add address 11 mask=255.0.0.0 gateway=10.0.0.1", missing);
        Row("bad octet", "set address 11 source=static 10.1.2.300 255.0.0.0", addr.arg("10.1.2.300"));
        Row("four-digit octet", "set address 11 static 0010.1.2.3 255.0.0.0", addr.arg("0010.1.2.3"));
        Row("loopback address", "add address 11 addr=127.0.0.2 mask=255.0.0.0", addr.arg("127.0.0.2"));
        Row("multicast address", "add address 11 addr=224.0.0.1 mask=255.0.0.0", addr.arg("224.0.0.1"));
        Row("prefix too long", "set address 11 static 10.1.2.3/33", addr.arg("10.1.2.3/33"));
        Row("prefix zero", "set address 11 static 10.1.2.3/0", addr.arg("10.1.2.3/0"));
        Row("prefix and mask", "set address 11 static 10.1.2.3/8 mask=255.0.0.0", bad);
        Row("holes in mask", "set address 11 static 10.1.2.3 255.0.255.0", "Invalid mask parameter (255.0.255.0).");
        Row("zero mask", "set address 11 static 10.1.2.3 0.0.0.0", "Invalid mask parameter (0.0.0.0).");
        Row("no gateway to add", "add address 11 gateway=none",
            "Invalid gateway parameter (none). It should be a valid IPv4 address.");
        Row("metric without gateway", "add address 11 10.1.2.3 255.0.0.0 gwmetric=1", bad);
        Row("unspecified server", "add dns 11 addr=0.0.0.0", bad);
        Row("semicolon in value", "add dns 11 addr=10.0.0.9;touch", bad);
    }
    void parse()
    {
        QFETCH(QString, line);
        netsh::Command c;
        const netsh::Result r = netsh::Parse(netsh::SplitCommandLine(InContext(line).toStdString()), &c);
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
        QTEST(r.status == netsh::Status::Ok ? out.join(' ')
                                            : QString::fromStdString(netsh::Message(r)).section('\n', 0, 0),
              "parsed");
    }

    // The application's command sequences, and forms a person types.
    void applySequence_data()
    {
        // lines: see RunNetsh; expected: the facts of the kinds named, a kind alone ("gw") when there is none of it.
        Columns<int, QStringList, QString>({"ifIndex", "lines", "expected"});
        Row("static dns and wins, two of each", 11,
            QStringList{"delete dns 11 all", "set dns 11 source=static addr=10.0.0.1 ddns=enabled register=primary",
                        "!add dns 11 addr=10.0.0.1", "add dns 11 addr=10.0.0.2",
                        "set wins 11 source=static addr=10.0.0.8", "add wins 11 addr=10.0.0.9"},
            "wins 10.0.0.8, wins 10.0.0.9, dns 10.0.0.1, dns 10.0.0.2");
        Row("dns back to dhcp", 14,
            QStringList{"set dns 14 source=static addr=10.0.0.9 ddns=enabled register=primary",
                        "delete dns 14 addr=10.0.0.9", "set dns 14 source=dhcp"},
            "dns 10.0.0.1");
        Row("index=1 goes first", 11,
            QStringList{"interface ipv4 set dnsservers name=11 source=static address=10.7.7.7 register=none",
                        "interface ipv4 add dnsservers name=11 address=10.7.7.8 index=1"},
            "dns 10.7.7.8, dns 10.7.7.7");
        Row("no servers at all", 11,
            QStringList{"delete dns 11 all", "set dns 11 source=static addr=none ddns=enabled",
                        "set wins 11 source=static addr=none"},
            "dns, wins");
        Row("static address, secondary, two gateways", 11,
            QStringList{"set address 11 source=static 192.168.2.5 255.255.255.0",
                        "add address 11 addr=10.4.4.4 mask=255.0.0.0", "add address 11 gateway=192.168.2.1 gwmetric=0 ",
                        "add address 11 gateway=192.168.2.254 gwmetric=0 "},
            "dhcp 0, ip 192.168.2.5/255.255.255.0, ip 10.4.4.4/255.0.0.0, gw 192.168.2.1, gw 192.168.2.254");
        Row("static without a gateway", 11, QStringList{"set address 11 static 10.1.2.3 255.0.0.0 gateway=none"},
            "ip 10.1.2.3/255.0.0.0, gw");
        Row("by connection name, prefixes", 11,
            QStringList{"int ip set address \"local area connection\" static 10.5.5.5/8 10.0.0.254 1",
                        "add address 11 172.16.1.1/12"},
            "ip 10.5.5.5/255.0.0.0, ip 172.16.1.1/255.240.0.0, gw 10.0.0.254");
        Row("first address after the last went", 11,
            QStringList{"delete address 11 addr=192.168.1.5", "add address 11 10.1.1.1 255.0.0.0"},
            "ip 10.1.1.1/255.0.0.0");
        Row("dhcp adapter made static", 14, QStringList{"set address 14 source=static 10.0.0.50 255.255.255.0"},
            "dhcp 0, ip 10.0.0.50/255.255.255.0, gw, dns");
        Row("back to dhcp takes the offer", 14,
            QStringList{"set address 14 source=static 10.0.0.50 255.255.255.0", "delete address 14 addr=10.0.0.50",
                        "set address 14 source=dhcp"},
            "dhcp 1, ip 10.0.0.23/255.255.255.0, gw 10.0.0.1");
        // Without a DHCP server an adapter configures itself, and its static gateways go.
        Row("automatic private address", 11,
            QStringList{"delete address 11 addr=192.168.1.5", "set address 11 source=dhcp"},
            "dhcp 1, ip 169.254.x.x/255.255.0.0, gw");
        // The application sends this only for a static adapter.
        Row("the lease is not deleted", 14, QStringList{"!delete address 14 addr=10.0.0.23"},
            "dhcp 1, ip 10.0.0.23/255.255.255.0");
    }
    void applySequence()
    {
        QFETCH(int, ifIndex);
        QFETCH(QStringList, lines);
        QFETCH(QString, expected);
        TestEnv env;
        QVERIFY(env.initSampleHost());
        const QString problem = RunNetsh(env, lines);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QStringList kinds, facts;
        for (const QString& e : expected.split(", ")) {
            kinds << e.section(' ', 0, 0);
            if (e.contains(' '))
                facts << e;
        }
        const QString got = Facts(DWORD(ifIndex), kinds.join(' '));
        QCOMPARE(QString(got).replace(QRegularExpression("169\\.254\\.\\d+\\.\\d+/"), "169.254.x.x/"),
                 facts.join(", "));
    }

    // Each refused, with its message, and the hive left as it was.
    void refusedLeavesHive_data()
    {
        // hive: empty for the sample host
        Columns<QString, QString, QString>({"line", "message", "hive"});
        const QString badName = "The filename, directory name, or volume label syntax is incorrect.";
        const QString exists = "The object already exists.", none = "Element not found.";
        Row("parse error", "set address 11 static 10.1.2.3 255.0.255.0", "Invalid mask parameter (255.0.255.0).\n", "");
        Row("no such index", "set address 99 source=dhcp", none, "");
        Row("by description", "set address \"Gigabit Ethernet Controller\" dhcp", badName, "");
        Row("dhcp already on", "set address 14 source=dhcp", "DHCP is already enabled on this interface.\n", "");
        Row("static address on dhcp", "add address 14 10.0.0.60 255.255.255.0", "The parameter is incorrect.", "");
        Row("address it does not have", "delete address 11 addr=10.9.9.9", none, "");
        Row("address already there, other mask", "add address 11 192.168.1.5 255.255.0.0", exists, "");
        Row("gateway already there", "add address 11 gateway=192.168.1.1 gwmetric=0", exists, "");
        Row("dns duplicate", "add dns 11 addr=192.168.1.1", "The object is already in the list.", "");
        Row("broken hive", "set dns 11 dhcp", "The configuration registry database is corrupt.",
            "[HKEY_LOCAL_MACHINE\\SYSTEM]\r\n\"broken\"=dword:nothex\r\n");
    }
    void refusedLeavesHive()
    {
        QFETCH(QString, line);
        QFETCH(QString, message);
        QFETCH(QString, hive);
        TestEnv env;
        QVERIFY(hive.isEmpty() ? env.initSampleHost() : env.writeHive(hive));
        const QString before = env.readHive();
        QString out;
        QCOMPARE(env.runProgram(Netsh(), QProcess::splitCommand(InContext(line)), &out), 1);
        QVERIFY2(out.startsWith(message), qPrintable(out));
        QCOMPARE(env.readHive(), before);
    }
};

QTEST_GUILESS_MAIN(TestNetsh)
#include "tst_netsh.moc"
