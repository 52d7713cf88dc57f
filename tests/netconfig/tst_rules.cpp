// The pure rules, each as a table: address text, the patterns, the mask rules, host addresses, identification
// comparison, the phase plan, the command-line switches, console code pages.
#include "applytestutil.h"
#include "consoletext.h"
#include "entry.h"
#include "iplist.h"
#include "netconfig_rules.h"
#include "verification.h"

#include <QtTest>

using namespace applytest;

namespace {

quint32 Value(const QString& text)
{
    return CIPAddress(text).Value();
}

} // namespace

class TestRules : public QObject
{
    Q_OBJECT

private slots:
    // The loose conversion: anchored, no range check, high bits wrap away; the text form reads back.
    void addressText_data()
    {
        Rows({"192.168.0.1 c0a80001", "010.001.000.005 0a010005", "300.1.1.1 2c010101", "2.256.1.1 03000101", "1.2.3 0",
              "1.2.3.4.5 0", "_1.2.3.4 0", "1.2.3.4. 0", "1234.1.1.1 0"});
    }
    void addressText()
    {
        const QStringList row = Row();
        const CIPAddress address(QString(row[0]).replace(u'_', u' '));
        QCOMPARE(address.Value(), row[1].toUInt(nullptr, 16));
        if (address.Value() != 0 && !row[0].startsWith(u'0'))
            QCOMPARE(CIPAddress(address.ToString()).Value(), address.Value());
    }

    // strict, then blank or zero. Twelve digits do not fit in 32 bits: they read as 0, like a blank.
    void patterns_data()
    {
        Rows({"10.0.0.1 1 0", "255.255.255.255 1 1", "10.0.0.256 0 0", "010.000.000.001 1 1", "10.0.0.12 1 0",
              "0010.0.0.1 0 0", "... 0 1", "0.0.0.0 1 1", "0.0.. 0 1", "192.168.001.001 1 1", "192.168.. 0 0",
              "10.0_.0.1 0 1"});
    }
    void patterns()
    {
        const QStringList row = Row();
        const QString text = QString(row[0]).replace(u'_', u' ');
        QCOMPARE(QString::number(IsStrictAddress(text)) + u' ' + QString::number(IsBlankOrZeroAddress(text)),
                 row[1] + u' ' + row[2]);
    }

    // fits: the dialog's old rule against the address (third octet not compared); contiguous: what netsh takes
    // as a mask at all.
    void masks_data()
    {
        Rows({"192.168.1.10 255.255.255.0 1 1", "10.1.2.3 255.0.0.0 0 1", "10.0.0.0 0.0.0.0 0 1",
              "172.16.5.4 255.255.0.0 1 1", "10.0.0.1 255.255.0.255 0 0", "10.0.0.1 255.254.255.0 0 0",
              "0.0.0.1 0.255.0.0 0 0", "192.168.0.5 255.255.255.1 1 0", "192.168.0.4 255.255.255.254 1 1",
              "192.168.0.4 255.255.255.255 1 1", "10.0.0.4 255.128.0.0 1 1"});
    }
    void masks()
    {
        const QStringList row = Row();
        QCOMPARE(MaskFitsAddress(Value(row[0]), Value(row[1])), row[2] == u'1');
        QCOMPARE(IsContiguousMask(Value(row[1])), row[3] == u'1');
    }

    // address, mask, problem, a gateway in its subnet, one just outside.
    void hostAddress_data()
    {
        Rows({"192.168.1.5 255.255.255.0 None 192.168.1.254 192.168.2.1",
              "192.168.1.0 255.255.255.0 NetworkAddress 192.168.1.1 192.168.0.255",
              "10.0.255.255 255.255.0.0 BroadcastAddress 10.0.0.1 10.1.0.1",
              "10.0.0.0 255.255.255.254 None 10.0.0.1 10.0.0.2", "10.0.0.7 255.255.255.255 None 10.0.0.7 10.0.0.6",
              "0.0.0.9 255.0.0.0 Reserved 0.1.0.0 1.0.0.0", "127.0.0.1 255.0.0.0 Loopback 127.9.9.9 128.0.0.1",
              "223.255.255.1 255.255.255.0 None 223.255.255.2 223.255.254.1",
              "224.0.0.1 255.255.255.0 NotUnicast 224.0.0.2 225.0.0.1",
              "250.1.1.1 255.0.0.0 NotUnicast 250.2.2.2 251.1.1.1"});
    }
    void hostAddress()
    {
        const QStringList row = Row();
        const QStringList problems{"None", "Reserved", "Loopback", "NotUnicast", "NetworkAddress", "BroadcastAddress"};
        const quint32 a = Value(row[0]), m = Value(row[1]);
        QCOMPARE(problems.value(int(CheckHostAddress(a, m))), row[2]);
        QVERIFY(InSubnet(Value(row[3]), a, m) && !InSubnet(Value(row[4]), a, m));
    }

    void identityCase()
    {
        QVERIFY(!IdentityDiffers(QStringLiteral("ws01"), QStringLiteral("WS01")));
        QVERIFY(IdentityDiffers(QStringLiteral("WS01"), QStringLiteral("WS02")));
        QVERIFY(IdentityDiffers(QStringLiteral("WS01"), QString()));
    }

    // A change of the live card against a card asking for every phase: which phases (D W A) still run.
    void plannedPhases_data()
    {
        Rows({"none", "dns2 D", "dnsdup", "dnsauto D", "wins2 W", "mask A", "gworder A", "more A", "dhcp A"});
    }
    void plannedPhases()
    {
        const QStringList row = Row();
        CNetworkCard wanted;
        wanted.m_IPAddress = CIPAddress(QStringLiteral("10.0.0.5"));
        wanted.m_SubnetMask = CIPAddress(QStringLiteral("255.255.255.0"));
        wanted.m_Gateways = iptest::Ips({"10.0.0.1", "10.0.0.2"});
        wanted.m_DNSServers = iptest::Ips({"10.0.0.1", "10.0.0.3"});
        wanted.m_PrimaryWINS = CIPAddress(QStringLiteral("10.0.0.4"));
        wanted.m_AddressChanged = wanted.m_DNSChanged = wanted.m_WINSChanged = true;
        CNetworkCard live = wanted;
        live.ClearChanges();
        const QString change = row[0];
        if (change == QLatin1String("dns2"))
            live.m_DNSServers = iptest::Ips({"10.0.0.1"});
        if (change == QLatin1String("dnsdup"))
            wanted.m_DNSServers = iptest::Ips({"10.0.0.1", "10.0.0.3", "10.0.0.1"});
        live.m_DNSAuto = change == QLatin1String("dnsauto");
        if (change == QLatin1String("wins2"))
            live.m_SecondaryWINS = CIPAddress(QStringLiteral("10.0.0.9"));
        if (change == QLatin1String("mask"))
            live.m_SubnetMask = CIPAddress(QStringLiteral("255.255.0.0"));
        if (change == QLatin1String("gworder"))
            live.m_Gateways = iptest::Ips({"10.0.0.2", "10.0.0.1"});
        if (change == QLatin1String("more"))
            live.m_SecondaryAddresses = {{CIPAddress(QStringLiteral("10.0.0.6")), wanted.m_SubnetMask}};
        live.m_DHCPEnabled = change == QLatin1String("dhcp");
        QString planned;
        for (Phase phase : PlannedPhases(wanted, &live, 0))
            planned += QStringLiteral("DWA").at(int(phase));
        QCOMPARE(planned, row.value(1));
        // Without knowing the system, everything asked for runs; nothing asked for never runs.
        QCOMPARE(PlannedPhases(wanted, nullptr, 0).count(), 3);
        wanted.ClearChanges();
        QVERIFY(PlannedPhases(wanted, &live, 0).isEmpty());
    }

    // "c" console, "l" load, "s" save, "m" a file name missing, "w" whatif, "v" verbose, "u" undo, "k" keep with
    // its seconds; then the load and the save file. Switches are whole words, in any order, case matters, the
    // last file wins; a switch may be taken as a file name.
    void scan_data()
    {
        Rows({"= ||", "net.ini = ||", "-console -save my_file.ini = cs||my file.ini",
              "/console /load x /save y = cls|x|y", "-c -l x -s y = cls|x|y",
              "/s out.ini -load in.ini /c = cls|in.ini|out.ini", "/C /L x -Save y = ||", "/cx --c /l: -loads = ||",
              "/c /l = clm||", "/l a /l b = l|b|", "/s /l = lsm||/l", "/l ~ = l||", "/l a /s = lsm|a|",
              "/whatif -verbose -undo = wvu||", "/keep 30 = k30||", "-keep 0 = k0||", "/keep /l a = lk-1|a|",
              "/keep -5 = k-1||"});
    }
    void scan()
    {
        const CommandLineSwitches s = ScanCommandLine(Input());
        const QByteArray flags = QByteArray(s.console ? "c" : "") + (s.load ? "l" : "") + (s.save ? "s" : "") +
                                 (s.missingFile ? "m" : "") + (s.whatif ? "w" : "") + (s.verbose ? "v" : "") +
                                 (s.undo ? "u" : "") + (s.keep ? "k" + QByteArray::number(s.keepSeconds) : "");
        QCOMPARE(QString::fromLatin1(flags) + u'|' + s.loadFile + u'|' + s.saveFile, Expected());
    }

    // What a console command line is refused for; nothing: accepted.
    void usage_data()
    {
        Rows({"/c /l a = ", "/c /s a = ", "/c /undo = ", "/c /keep = ", "/c /l a /keep 30 /whatif /verbose = ",
              "/c /verbose = console mode needs /load FILE, /save FILE, /undo or /keep",
              "/c /s = a load or save switch needs a file name",
              "/c /l a /s b = load, save, undo and confirm cannot be combined",
              "/c /undo /keep = load, save, undo and confirm cannot be combined",
              "/c /undo /whatif = /whatif goes with /load FILE",
              "/c /s a /keep 0 = /keep SECONDS goes with /load FILE"});
    }
    void usage() { QCOMPARE(ConsoleUsageProblem(ScanCommandLine(Input())), Expected()); }

    // 1: kill mode.
    void kill_data()
    {
        Rows({"-kill ping = 1", "-kill ~ = 1", "-kill = 0", "/c -kill ping = 0", "-KILL ping = 0", "/kill ping = 0"});
    }
    void kill() { QCOMPARE(QString::number(IsKillCommand(Input())), Expected()); }

    // The names the utilities page uses are checked there, through the decoded output.
    void codePageOfCodec()
    {
        QCOMPARE(CodePageOfCodec(QStringLiteral("big5")), 950u);
        QCOMPARE(CodePageOfCodec(QStringLiteral("UTF-7")) + CodePageOfCodec(QString()), 0u);
    }

    // Console bytes through the system's MultiByteToWideChar, Windows' own tables: control bytes are themselves;
    // what is no character becomes the code page's default character, one per lead and trail.
    void decode_data()
    {
        QTest::addColumn<uint>("codePage");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("latin-1 is not 850")
            << 28591u << QByteArray("\x81\x94 \xe4") << QStringLiteral("\u0081\u0094 ä");
        QTest::newRow("866 controls") << 866u << QByteArray("\x1a\x1c\x7f\x8e") << QStringLiteral("\x1a\x1c\x7fО");
        QTest::newRow("932 lead at the end") << 932u << QByteArray("a\x82") << QStringLiteral("a\u30fb");
        QTest::newRow("932 bad trail") << 932u << QByteArray("\x82\x20z") << QStringLiteral("\u30fbz");
        QTest::newRow("936 lead at the end") << 936u << QByteArray("\xc0") << QStringLiteral("?");
        QTest::newRow("utf-8") << 65001u << QByteArray("\xc3\xa4\xff") << QStringLiteral("ä\ufffd");
        QTest::newRow("no such code page") << 4u << QByteArray("abc") << QString();
        QTest::newRow("nothing") << 932u << QByteArray() << QString();
    }

    void decode()
    {
        QFETCH(uint, codePage);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(DecodeCodePage(bytes, codePage), text);
    }
};

QTEST_GUILESS_MAIN(TestRules)
#include "tst_rules.moc"
