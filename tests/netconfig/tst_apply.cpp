// The netsh commands built for each apply phase, exact text (blanks included), and how the applier runs them:
// order, the last-command rule, stopping, cancelling.
#include "applier.h"
#include "applytestutil.h"
#include "commandrunner.h"

namespace {

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

class TestApply : public QObject
{
    Q_OBJECT

private slots:
    // The card: phase, automatic, values (DNS servers; primary and secondary WINS; address, mask, then gateways
    // and further addresses "+address/mask"); the commands after "netsh.exe interface ip ", split at "|".
    void queue_data()
    {
        applytest::Rows(
            {"dns 0 10.0.0.1 10.0.0.2 = delete dns 7 all|set dns 7 source=static addr=10.0.0.1 ddns=enabled "
             "register=primary|add dns 7 addr=10.0.0.1|add dns 7 addr=10.0.0.2",
             // A first entry of 0 means "no preferred server", yet it is still added.
             "dns 0 0.0.0.0 10.0.0.2 = delete dns 7 all|set dns 7 source=static addr=none ddns=enabled |add dns 7 "
             "addr=0.0.0.0|add dns 7 addr=10.0.0.2",
             "dns 1 10.0.0.1 0.0.0.0 = delete dns 7 addr=10.0.0.1|delete dns 7 addr=0.0.0.0|set dns 7 source=dhcp",
             "wins 0 10.0.0.8 10.0.0.9 = set wins 7 source=static addr=10.0.0.8|add wins 7 addr=10.0.0.9",
             "wins 0 0.0.0.0 10.0.0.9 = set wins 7 source=static addr=none|add wins 7 addr=10.0.0.9",
             "wins 1 0.0.0.0 10.0.0.9 = delete wins 7 addr=10.0.0.9|set wins 7 source=dhcp",
             "address 0 192.168.1.5 255.255.255.0 192.168.1.254 0.0.0.0 = set address 7 source=static 192.168.1.5 "
             "255.255.255.0|add address 7 gateway=192.168.1.254 gwmetric=0 |add address 7 gateway=0.0.0.0 gwmetric=0 ",
             "address 0 10.0.0.5 255.0.0.0 +10.0.0.6/255.255.0.0 = set address 7 source=static 10.0.0.5 "
             "255.0.0.0|add address 7 addr=10.0.0.6 mask=255.255.0.0",
             "address 1 192.168.1.5 255.255.255.0 192.168.1.1 = delete address 7 addr=192.168.1.5|set address 7 "
             "source=dhcp",
             "address 1 0.0.0.0 0.0.0.0 = set address 7 source=dhcp"});
    }

    void queue()
    {
        const QStringList card = applytest::Input(), values = card.mid(2);
        const Phase phase = card[0] == QLatin1String("dns")    ? Phase::DNS
                            : card[0] == QLatin1String("wins") ? Phase::WINS
                                                               : Phase::Address;
        CNetworkCard c;
        c.m_Index = 7;
        c.m_DNSAuto = c.m_WINSAuto = c.m_DHCPEnabled = card[1] == u'1';
        if (phase == Phase::DNS)
            c.m_DNSServers = iptest::Ips(values);
        c.m_PrimaryWINS = c.m_IPAddress = CIPAddress(values.at(0));
        c.m_SecondaryWINS = c.m_SubnetMask = CIPAddress(values.at(1));
        for (const QString& more : values.mid(2)) {
            if (more.startsWith(u'+'))
                c.m_SecondaryAddresses.append(
                    {CIPAddress(more.mid(1).section(u'/', 0, 0)), CIPAddress(more.section(u'/', 1))});
            else
                c.m_Gateways.append(CIPAddress(more));
        }
        QStringList lines;
        for (const Command& command : BuildPhaseCommands(c, 3, phase))
            lines << command.CommandLine().remove(QStringLiteral("netsh.exe interface ip "));
        QCOMPARE(lines.join(u'|'), applytest::Expected());
        for (const Command& command : BuildPhaseCommands(c, 3, Phase::DNS))
            QVERIFY(command.phase == Phase::DNS && command.adapter == 3);
        // The interface index goes out as plain unsigned decimal.
        c.m_Index = 4294967295u;
        QVERIFY(BuildPhaseCommands(c, 0, Phase::WINS).first().Parameters().contains(" wins 4294967295 "));
    }

    void phasesFollowFlags()
    {
        CNetworkCard card;
        QVERIFY(PhasesToApply(card).isEmpty());
        card.m_WINSChanged = true;
        QCOMPARE(PhasesToApply(card), QList<Phase>{Phase::WINS});
        card.m_AddressChanged = card.m_DNSChanged = true;
        QCOMPARE(PhasesToApply(card), (QList<Phase>{Phase::DNS, Phase::WINS, Phase::Address}));
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
        applytest::Rows(
            {"E0 E5 E0 = 1 0 3", "E0 E0 E87 = 0 87 3", "N2 E0 N31 = 0 31 3", "E5 P0 = 1 5 2", "E0 T258 E0 = 0 258 2"});
    }
    void lastCommandDecides()
    {
        const QStringList results = applytest::Input();
        FakeRunner runner;
        for (const QString& r : results)
            runner.script << CommandResult{CommandResult::Outcome(QStringLiteral("ENPT").indexOf(r.at(0))),
                                           r.mid(1).toULong()};
        CApplier applier(runner);
        unsigned long last = 999;
        const bool ok = applier.RunCommands(Commands(int(results.count())), &last);
        QCOMPARE(QStringLiteral("%1 %2 %3").arg(ok).arg(last).arg(runner.started.count()), applytest::Expected());
        QCOMPARE(runner.started.first(), QStringLiteral("0"));
        // Nothing to run: false, and the caller's code stays.
        last = 999;
        QVERIFY(!applier.RunCommands({}, &last) && last == 999);
    }

    // Cancel lets the running command end, then runs nothing more: not the
    // rest of the phase, not the next phase.
    void cancelStopsTheApply()
    {
        FakeRunner runner;
        CApplier applier(runner);
        connect(&applier, &CApplier::commandStarted, &applier, [&applier]() { applier.Cancel(); });
        CNetworkCard card;
        card.m_DNSChanged = card.m_WINSChanged = true;
        card.m_DNSServers = iptest::Ips({"10.0.0.1"});
        unsigned long code = 0;
        QVERIFY(!applier.ApplyCard(card, 0, PhasesToApply(card), &code));
        QCOMPARE(code, 1223ul);
        QCOMPARE(runner.started, QStringList{"interface ip delete dns 0 all"});
        QVERIFY(!applier.RunCommands(Commands(1), &code));
        QCOMPARE(runner.started.count(), 1);
        // A cancel while the last command runs leaves nothing undone.
        applier.ClearCancel();
        QVERIFY(applier.RunCommands(Commands(1), &code));
        QCOMPARE(code, 0ul);
        disconnect(&applier, &CApplier::commandStarted, nullptr, nullptr);
        QVERIFY(!applier.RunCommands(Commands(1), &code));
        applier.ClearCancel();
        QVERIFY(applier.RunCommands(Commands(1), &code));
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

QTEST_GUILESS_MAIN(TestApply)
#include "tst_apply.moc"
