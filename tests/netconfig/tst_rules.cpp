// The rules, each as a table: address text, the patterns, the mask rules, host addresses, identification
// comparison, the phase plan, the command-line switches; what validation refuses and how the dialog shows it, what
// typing takes into the model; the netsh commands built for each apply phase, exact text (blanks included), and how
// the applier runs them: order, the last-command rule, stopping, cancelling.
#include "applier.h"
#include "applytestutil.h"
#include "commandrunner.h"
#include "entry.h"
#include "iplist.h"
#include "netconfig_rules.h"
#include "validation.h"
#include "verification.h"

#include <QtTest>

using namespace applytest;

namespace {

quint32 Value(const QString& text)
{
    return CIPAddress(text).Value();
}

// A card from "key=value" words: ip, mask, wins1, wins2; gw, dns (comma lists), more (address/mask pairs);
// dhcp, dnsauto, winsauto (1 or 0). Other words are left out.
CNetworkCard CardOf(const QStringList& words, CNetworkCard card = {})
{
    for (const QString& word : words) {
        const QString key = word.section(u'=', 0, 0), value = word.section(u'=', 1);
        const QStringList list = value.split(u',', Qt::SkipEmptyParts);
        const QMap<QString, CIPAddress*> single = {{"ip", &card.m_IPAddress},
                                                   {"mask", &card.m_SubnetMask},
                                                   {"wins1", &card.m_PrimaryWINS},
                                                   {"wins2", &card.m_SecondaryWINS}};
        const QMap<QString, bool*> flags = {
            {"dhcp", &card.m_DHCPEnabled}, {"dnsauto", &card.m_DNSAuto}, {"winsauto", &card.m_WINSAuto}};
        if (single.contains(key))
            *single.value(key) = CIPAddress(value);
        else if (flags.contains(key))
            *flags.value(key) = value == u'1';
        else if (key == QLatin1String("gw"))
            card.m_Gateways = Ips(list);
        else if (key == QLatin1String("dns"))
            card.m_DNSServers = Ips(list);
        else if (key == QLatin1String("more"))
            for (const QString& more : list)
                card.m_SecondaryAddresses.append(
                    {CIPAddress(more.section(u'/', 0, 0)), CIPAddress(more.section(u'/', 1))});
    }
    return card;
}

const QMap<QString, CardField> kFields = {
    {"ip", CardField::IPAddress},      {"mask", CardField::SubnetMask},   {"gw", CardField::Gateway},
    {"dns", CardField::DNSServer},     {"wins1", CardField::PrimaryWINS}, {"wins2", CardField::SecondaryWINS},
    {"name", CardField::ComputerName}, {"group", CardField::Workgroup},   {"suffix", CardField::DNSSuffix}};

// A valid manual card, DHCP, DNS and WINS automatic as `automatic` says, and an identification; then the edits,
// "field text" pairs ("~": an empty text): "clear" drops the changes, "dnsauto" and "winsauto" 1 or 0 switch a
// source.
void Edit(CAdapterEditor& editor, const QString& edits, const QString& automatic = QStringLiteral("000"))
{
    const CNetworkCard card =
        CardOf({"ip=192.168.1.10", "mask=255.255.255.0", "gw=192.168.1.1,192.168.1.254",
                "dns=192.168.1.1,192.168.1.254", "wins1=192.168.1.2", QStringLiteral("dhcp=") + automatic[0],
                QStringLiteral("dnsauto=") + automatic[1], QStringLiteral("winsauto=") + automatic[2]});
    editor.Reset({card}, {QStringLiteral("WS01"), QStringLiteral("WORKGROUP"), QStringLiteral("lan")});
    const QStringList parts = edits.split(u' ', Qt::SkipEmptyParts);
    for (int i = 0; i + 1 < parts.count(); i += 2) {
        const QString& field = parts[i];
        const QString text = parts[i + 1] == u'~' ? QString::fromLatin1("") : parts[i + 1];
        const CardField edited = kFields.value(field, CardField::None);
        if (field == QLatin1String("clear"))
            editor.ClearChanges(0);
        else if (field == QLatin1String("dnsauto"))
            editor.SetDNSAuto(0, text == u'1');
        else if (field == QLatin1String("winsauto"))
            editor.SetWINSAuto(0, text == u'1');
        else if (edited == CardField::ComputerName || edited == CardField::Workgroup || edited == CardField::DNSSuffix)
            editor.EditIdentity(edited, text);
        else
            editor.EditAddress(0, edited, text);
    }
}

// Plays back one scripted result per command, later, as a real runner does.
class FakeRunner : public CCommandRunner
{
public:
    QList<CommandResult> script;
    QStringList started;

    bool IsAvailable() const override { return true; }
    void Start(const Command& command) override
    {
        started << command.Parameters();
        const CommandResult result = script.isEmpty() ? CommandResult() : script.takeFirst();
        QTimer::singleShot(0, this, [this, result]() { emit finished(result); });
    }
    void Cancel() override {}
};

CommandList Commands(int count)
{
    CommandList commands;
    for (int i = 0; i < count; ++i)
        commands << Command{QStringLiteral("netsh.exe"), {QString::number(i)}, Phase::DNS, 0};
    return commands;
}

quintptr g_Instance = 0;
BOOL WINAPI FakeShellExecute(SHELLEXECUTEINFOW* info)
{
    info->hInstApp = reinterpret_cast<HINSTANCE>(g_Instance);
    info->hProcess = nullptr;
    return g_Instance > 32;
}

} // namespace

class TestRules : public QObject
{
    Q_OBJECT

private slots:
    // The loose conversion: anchored, no range check, high bits wrap away; the text form reads back.
    void addressText_data()
    {
        Rows({"192.168.0.1 c0a80001", "2.256.1.1 03000101", "1.2.3 0", "1.2.3.4.5 0", "1234.1.1.1 0"});
    }
    void addressText()
    {
        const QStringList row = Row();
        const CIPAddress address(row[0]);
        QCOMPARE(address.Value(), row[1].toUInt(nullptr, 16));
        if (address.Value() != 0 && !row[0].startsWith(u'0'))
            QCOMPARE(CIPAddress(address.ToString()).Value(), address.Value());
    }

    // strict, then blank or zero. Twelve digits do not fit in 32 bits: they read as 0, like a blank.
    void patterns_data()
    {
        Rows(
            {"10.0.0.1 1 0", "255.255.255.255 1 1", "10.0.0.256 0 0", "010.000.000.001 1 1", "... 0 1", "0.0.0.0 1 1"});
    }
    void patterns()
    {
        const QStringList row = Row();
        QCOMPARE(QString::number(IsStrictAddress(row[0])) + u' ' + QString::number(IsBlankOrZeroAddress(row[0])),
                 row[1] + u' ' + row[2]);
    }

    // fits: the dialog's old rule against the address (third octet not compared); contiguous: what netsh takes
    // as a mask at all.
    void masks_data()
    {
        Rows({"192.168.1.10 255.255.255.0 1 1", "10.1.2.3 255.0.0.0 0 1", "10.0.0.0 0.0.0.0 0 1",
              "172.16.5.4 255.255.0.0 1 1", "10.0.0.1 255.255.0.255 0 0", "10.0.0.1 255.254.255.0 0 0",
              "192.168.0.5 255.255.255.1 1 0", "10.0.0.4 255.128.0.0 1 1"});
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
              "10.0.0.0 255.255.255.254 None 10.0.0.1 10.0.0.2", "0.0.0.9 255.0.0.0 Reserved 0.1.0.0 1.0.0.0",
              "127.0.0.1 255.0.0.0 Loopback 127.9.9.9 128.0.0.1",
              "224.0.0.1 255.255.255.0 NotUnicast 224.0.0.2 225.0.0.1"});
    }
    void hostAddress()
    {
        const QStringList row = Row();
        const QStringList problems{"None", "Reserved", "Loopback", "NotUnicast", "NetworkAddress", "BroadcastAddress"};
        const quint32 a = Value(row[0]), m = Value(row[1]);
        QCOMPARE(problems.value(int(CheckHostAddress(a, m))), row[2]);
        QVERIFY(InSubnet(Value(row[3]), a, m) && !InSubnet(Value(row[4]), a, m));
    }

    // A change of the live card against a card asking for every phase: which phases (D W A) still run. A
    // duplicate DNS server is no change.
    void plannedPhases_data()
    {
        Rows({"dns=10.0.0.1 = D", "dns=10.0.0.1,10.0.0.3 = ", "wins2=10.0.0.9 = W", "gw=10.0.0.2,10.0.0.1 = A"});
    }
    void plannedPhases()
    {
        CNetworkCard wanted = CardOf({"ip=10.0.0.5", "mask=255.255.255.0", "gw=10.0.0.1,10.0.0.2",
                                      "dns=10.0.0.1,10.0.0.3,10.0.0.1", "wins1=10.0.0.4"});
        wanted.m_AddressChanged = wanted.m_DNSChanged = wanted.m_WINSChanged = true;
        CNetworkCard live = wanted;
        live.ClearChanges();
        live = CardOf(Input(), live);
        QString planned;
        for (Phase phase : PlannedPhases(wanted, &live, 0))
            planned += QStringLiteral("DWA").at(int(phase));
        QCOMPARE(planned, Expected());
    }

    // "c" console, "l" load, "s" save, "m" a file name missing, "w" whatif, "v" verbose, "u" undo, "k" keep with
    // its seconds; then the load and the save file. Switches are whole words, in any order, case matters, the
    // last file wins; a switch may be taken as a file name.
    void scan_data()
    {
        Rows({"-console -save my_file.ini = cs||my file.ini", "/s out.ini -load in.ini /c = cls|in.ini|out.ini",
              "/C /L x -Save y = ||", "/c /l = clm||", "/l a /l b = l|b|", "/s /l = lsm||/l",
              "/whatif -verbose -undo = wvu||", "-keep 0 = k0||", "/keep /l a = lk-1|a|", "/keep -5 = k-1||"});
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
        Rows({"/c /l a /keep 30 /whatif /verbose = ",
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

    // DHCP, DNS and WINS automatic, then the edits on the valid card; the field named and the message (none:
    // accepted). What the model holds (0) shows again once the changes are dropped; DHCP supplies the address,
    // yet a malformed one still refuses the apply; a complete typed address replaces what was refused before.
    void problems_data()
    {
        Rows({"000 = ", "000 ip 300.1.1.1 = ip Ip address 300.1.1.1 is not valid.",
              "000 ip 10.1.2.3 mask 255.0.0.0 = mask Subnet mask 255.0.0.0 is not valid for entered ip address.",
              "000 mask 255.255.255.1 = mask Subnet mask 255.255.255.1 is not valid.",
              "000 ip 192.168.1.255 = ip Ip address 192.168.1.255 is the broadcast address of its subnet.",
              "111 ip 0.0.0.0 mask 0.0.0.0 = ",
              "000 ip 1.2.3. clear ~ = ip Ip address 0.0.0.0 is reserved and cannot be used.",
              "000 gw ... = gw Ip address ... is not valid.", "000 dns 10.1.. = dns Ip address 10.1.. is not valid.",
              "000 mask 255.0.255.0 wins2 1.1.1.300 = wins2 Ip address 1.1.1.300 is not valid.",
              "000 ip 999.1.1.1 gw 1.1.1.300 = gw Ip address 1.1.1.300 is not valid.",
              "000 ip ... name ~ = name Computer name is empty.",
              "000 group ~ name ~ = group Group/domain name is empty.",
              "001 = wins1 DNS/WINS can not be set automatically in current configuration.",
              "011 = dns DNS/WINS can not be set automatically in current configuration.",
              "111 ip 1.2.3. = ip Ip address 1.2.3. is not valid.", "000 ip 1.2.3. ip 10.0.0.1 mask 255.0.0.0 = "});
    }
    void problems()
    {
        CAdapterEditor editor;
        Edit(editor, Row().mid(1, Row().indexOf(QStringLiteral("=")) - 1).join(u' '), Row()[0]);
        const CValidationProblem problem = Validate(editor.Card(0), editor.Wanted());
        QCOMPARE((kFields.key(problem.field) + u' ' + problem.message).trimmed(), Expected());
    }

    // What one edit marks: the phases (A D W), a pending identification (I); then what the field shows, the
    // whole list for gateways and DNS servers. Text is compared as text: leading zeros are a change of the same
    // address. A typed list entry replaces the first one and leaves the list without it elsewhere; twelve digits
    // do not fit in 32 bits and read as 0: the first entry goes as for a cleared field, then the address
    // replaces the next. The suffix alone does not enable Apply.
    void marks_data()
    {
        Rows({"ip 192.168.1.10 = ---- 192.168.1.10", "ip 192.168.001.010 = A--- 192.168.1.10",
              "mask 255.255.0.0 = A--- 255.255.0.0", "wins1 10.0.0.8 = --W- 10.0.0.8", "wins2 10.0.0.9 = --W- 10.0.0.9",
              "dns 10.0.0.1 = -D-- 10.0.0.1,192.168.1.254", "gw 10.0.0.7 = A--- 10.0.0.7,192.168.1.254",
              "gw 192.168.1.254 = A--- 192.168.1.254", "gw 192.168.001.001 = A--- 192.168.1.1",
              "gw ... = A--- 192.168.1.254", "gw 0.0.0.0 = A--- 0.0.0.0",
              "gw 192.168.. = ---- 192.168.1.1,192.168.1.254", "dnsauto 1 = -D--", "dnsauto 0 = ----",
              "winsauto 1 = --W-", "group OFFICE = ---I", "suffix corp.example = ----"});
    }
    void marks()
    {
        CAdapterEditor editor;
        Edit(editor, Row().mid(0, Row().indexOf(QStringLiteral("="))).join(u' '));
        const CNetworkCard& card = editor.Card(0);
        const CardField field = kFields.value(Row()[0], CardField::None);
        QString marked = QString(card.m_AddressChanged ? u'A' : u'-') + (card.m_DNSChanged ? u'D' : u'-') +
                         (card.m_WINSChanged ? u'W' : u'-') + (editor.IdentityPending() ? u'I' : u'-');
        if (field == CardField::Gateway || field == CardField::DNSServer)
            marked += u' ' + Texts(field == CardField::Gateway ? card.m_Gateways : card.m_DNSServers).join(u',');
        else if (field != CardField::None && field <= CardField::SecondaryWINS)
            marked += u' ' + card.FieldText(field);
        QCOMPARE(marked.trimmed(), Expected());
    }

    // OK checks every card it is about to apply, not only the one on screen, and shows the refused card.
    void offAndOnScreenCardsAlike()
    {
        Fixture fx;
        QVERIFY(fx.Open(0));
        CNetConfigImpl& dlg = *fx.dialog;
        fx.Show(1);
        Click(dlg.AdaptersPage()->rbtnManual);
        Click(dlg.AdaptersPage()->ckbDNSAuto);
        Click(dlg.AdaptersPage()->ckbHaveWins);
        QVERIFY(Type(dlg.AdaptersPage()->ledSubNet, QStringLiteral("255.0.255.0")));
        fx.Show(0);
        Click(dlg.buttonOk);
        QCOMPARE(fx.boxes.texts(), QStringList{"Subnet mask 255.0.255.0 is not valid for entered ip address."});
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.CurrentAdapterIndex(), 1);
    }

    // A manual gateway outside the subnet of 192.168.1.10/24 is asked about: DHCP, gateways, the one named.
    void gatewayWarning_data()
    {
        Rows({"0 192.168.1.1,192.168.1.254", "0 192.168.1.1,192.168.2.1 192.168.2.1", "0 0.0.0.0", "1 10.0.0.1"});
    }
    void gatewayWarning()
    {
        const QStringList row = Row();
        const CNetworkCard card = CardOf({"ip=192.168.1.10", "mask=255.255.255.0", "dhcp=" + row[0], "gw=" + row[1]});
        QCOMPARE(GatewayWarning(card), row.count() < 3 ? QString()
                                                       : QStringLiteral("Default gateway %1 is not in the subnet of ip "
                                                                        "address 192.168.1.10 with subnet mask "
                                                                        "255.255.255.0. Apply it anyway?")
                                                             .arg(row[2]));
    }

    // The phase, the card = the commands after "netsh.exe interface ip ", split at "|". A first DNS entry of 0
    // means "no preferred server", yet it is still added.
    void queue_data()
    {
        Rows({"DNS dns=10.0.0.1,10.0.0.2 = delete dns 7 all|set dns 7 source=static addr=10.0.0.1 ddns=enabled "
              "register=primary|add dns 7 addr=10.0.0.1|add dns 7 addr=10.0.0.2",
              "DNS dns=0.0.0.0,10.0.0.2 = delete dns 7 all|set dns 7 source=static addr=none ddns=enabled |add dns 7 "
              "addr=0.0.0.0|add dns 7 addr=10.0.0.2",
              "DNS dnsauto=1 dns=10.0.0.1,0.0.0.0 = delete dns 7 addr=10.0.0.1|delete dns 7 addr=0.0.0.0|set dns 7 "
              "source=dhcp",
              "WINS wins1=10.0.0.8 wins2=10.0.0.9 = set wins 7 source=static addr=10.0.0.8|add wins 7 addr=10.0.0.9",
              "WINS wins2=10.0.0.9 = set wins 7 source=static addr=none|add wins 7 addr=10.0.0.9",
              "WINS winsauto=1 wins2=10.0.0.9 = delete wins 7 addr=10.0.0.9|set wins 7 source=dhcp",
              "Address ip=192.168.1.5 mask=255.255.255.0 gw=192.168.1.254,0.0.0.0 = set address 7 source=static "
              "192.168.1.5 255.255.255.0|add address 7 gateway=192.168.1.254 gwmetric=0 |add address 7 gateway=0.0.0.0 "
              "gwmetric=0 ",
              "Address ip=10.0.0.5 mask=255.0.0.0 more=10.0.0.6/255.255.0.0 = set address 7 source=static 10.0.0.5 "
              "255.0.0.0|add address 7 addr=10.0.0.6 mask=255.255.0.0",
              "Address dhcp=1 ip=192.168.1.5 mask=255.255.255.0 gw=192.168.1.1 = delete address 7 addr=192.168.1.5|set "
              "address 7 source=dhcp",
              "Address dhcp=1 = set address 7 source=dhcp"});
    }

    void queue()
    {
        const Phase phase = Row()[0] == QLatin1String("DNS")    ? Phase::DNS
                            : Row()[0] == QLatin1String("WINS") ? Phase::WINS
                                                                : Phase::Address;
        CNetworkCard c = CardOf(Input());
        c.m_Index = 7;
        QStringList lines;
        for (const Command& command : BuildPhaseCommands(c, 3, phase))
            lines << command.CommandLine().remove(QStringLiteral("netsh.exe interface ip "));
        QCOMPARE(lines.join(u'|'), Expected());
    }

    void phasesFollowFlags()
    {
        CNetworkCard card;
        QVERIFY(PhasesToApply(card).isEmpty());
        card.m_WINSChanged = true;
        QCOMPARE(PhasesToApply(card), QList<Phase>{Phase::WINS});
        card.m_AddressChanged = card.m_DNSChanged = true;
        QCOMPARE(PhasesToApply(card), (QList<Phase>{Phase::DNS, Phase::WINS, Phase::Address}));
        card.ClearChanges();
        QVERIFY(PhasesToApply(card).isEmpty());
        // Identification calls, as /whatif prints them: case alone is no change.
        CApplyPlan plan;
        plan.liveIdentity = {QStringLiteral("WS01"), QStringLiteral("WORKGROUP"), QStringLiteral("lan")};
        plan.wantedIdentity = {QStringLiteral("ws01"), QStringLiteral("workgroup"), QStringLiteral("LAN")};
        QVERIFY(plan.IdentityCalls().isEmpty());
        plan.wantedIdentity.workgroup = QStringLiteral("OFFICE");
        QCOMPARE(plan.IdentityCalls(), QStringList{"Join2Domain(OFFICE)"});
    }

    // One result per command, "<outcome letter><code>": E exited, N not started, P no process, T timed out; then
    // the result, the code and the commands run.
    void lastCommandDecides_data()
    {
        Rows({"E0 E5 E0 = 1 0 3", "E0 E0 E87 = 0 87 3", "N2 E0 N31 = 0 31 3", "E5 P0 = 1 5 2", "E0 T258 E0 = 0 258 2"});
    }
    void lastCommandDecides()
    {
        const QStringList results = Input();
        FakeRunner runner;
        for (const QString& r : results)
            runner.script << CommandResult{CommandResult::Outcome(QStringLiteral("ENPT").indexOf(r.at(0))),
                                           r.mid(1).toULong()};
        CApplier applier(runner);
        unsigned long last = 999;
        const bool ok = applier.RunCommands(Commands(int(results.count())), &last);
        QCOMPARE(QStringLiteral("%1 %2 %3").arg(ok).arg(last).arg(runner.started.count()), Expected());
        QCOMPARE(runner.started.first(), QStringLiteral("0"));
    }

    // Cancel lets the running command end, then runs nothing more; a cancel while the last command runs leaves
    // nothing undone.
    void cancelStopsTheApply()
    {
        FakeRunner runner;
        CApplier applier(runner);
        connect(&applier, &CApplier::commandStarted, &applier, [&applier]() { applier.Cancel(); });
        unsigned long code = 0;
        QVERIFY(!applier.RunCommands(Commands(2), &code));
        QCOMPARE(code, 1223ul);
        QCOMPARE(runner.started, QStringList{"0"});
        applier.ClearCancel();
        QVERIFY(applier.RunCommands(Commands(1), &code));
        QCOMPARE(code, 0ul);
    }

    // The shell's instance value: 32 and below is its error number.
    void shellResult()
    {
        for (quintptr instance : {32, 33}) {
            g_Instance = instance;
            CShellCommandRunner runner(&FakeShellExecute);
            QSignalSpy finished(&runner, &CCommandRunner::finished);
            runner.Start(Commands(1).first());
            QVERIFY(finished.wait());
            const CommandResult result = finished.first().first().value<CommandResult>();
            QCOMPARE(QStringLiteral("%1 %2").arg(result.outcome).arg(result.code),
                     QStringLiteral("%1 %2")
                         .arg(instance == 32 ? CommandResult::NotStarted : CommandResult::NoProcess)
                         .arg(instance == 32 ? 32 : 0));
        }
    }
};

QTEST_MAIN(TestRules)
#include "tst_rules.moc"
