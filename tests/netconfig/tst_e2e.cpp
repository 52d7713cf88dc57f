// End to end on an emulated host with the real netsh.exe, the result read back
// from its registry: the dialog (type, apply, keep or revert), and the program
// in console mode run as over ssh or from cron, with no display, Qt platform,
// runtime folder or locale (stderr holds only netconfig's own lines).
#include "applytestutil.h"
#include "hoststate.h"
#include "keepdialog.h"
#include "safeapply.h"
#include "settingsfiletest.h"

#include <QProcess>
#include <QProgressDialog>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

#include <winsys/host.h>

using namespace applytest;
using namespace hoststate;
using settingstest::IniLines;
using settingstest::WriteText;

namespace {

const qint64 kBig = 100 * 1024 * 1024;
const QByteArray kNewAddress = "[Interface1]\nprotocol=192.168.1.77\nmask=255.255.255.0\n";

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Result
{
    int exit = -1;
    QString err;
    QString out;
};

} // namespace

class TestE2E : public QObject
{
    Q_OBJECT

private:
    Fixture m_Fx;
    CNetConfigImpl* m_Dlg = nullptr;
    TestEnv* m_Env = nullptr;
    QString m_Before;
    std::unique_ptr<QProcess> m_Waiter;

    // "@name" names a file of the test's folder.
    QString Path(QString text) const
    {
        return text.replace(QRegularExpression(QStringLiteral("(^|\\s)@")),
                            QStringLiteral("\\1") + m_Env->root() + u'/');
    }

    // netconfig in a bare environment. A line on stderr that is not
    // netconfig's own fails the test.
    Result Run(const QStringList& args, const QString& hostSettleMs = "0", const QString& patienceMs = "0")
    {
        QProcessEnvironment env = m_Env->bareEnvironment();
        env.insert("XDG_STATE_HOME", m_Env->stateDir());
        env.insert("WINSYS_SETTLE_MS", hostSettleMs);
        env.insert("NETCONFIG_SETTLE_MS", patienceMs);
        QStringList programArgs;
        for (const QString& arg : args)
            programArgs << Path(arg);
        Result result;
        result.exit = m_Env->runIn(env, TestEnv::binDir() + "/netconfig", programArgs, &result.out, &result.err);
        static const QRegularExpression own(QStringLiteral("^(netconfig: |usage: netconfig |Usage: netconfig -kill )"));
        for (const QString& line : result.err.split(u'\n', Qt::SkipEmptyParts)) {
            if (!own.match(line).hasMatch()) {
                qWarning("foreign line: %s", qPrintable(line));
                result.exit = -2;
            }
        }
        return result;
    }

    QString WriteFile(const QString& name, const QByteArray& text)
    {
        return WriteText(m_Env->path(name), text) ? m_Env->path(name) : QString();
    }

    // Starts `netconfig /c /l new.ini /keep seconds`; true once it waits.
    bool StartWaiter(int seconds, const QByteArray& file)
    {
        m_Waiter = std::make_unique<QProcess>();
        m_Waiter->setProcessEnvironment(m_Env->environment());
        m_Waiter->start(TestEnv::binDir() + "/netconfig",
                        {"/c", "/l", WriteFile("new.ini", file), "/keep", QString::number(seconds)});
        CPendingApply pending;
        return QTest::qWaitFor([&]() { return Store().ReadPending(&pending); }, 20000) &&
               pending.pid == m_Waiter->processId();
    }
    int WaiterExit()
    {
        m_Waiter->waitForFinished(60000);
        const int code = m_Waiter->exitStatus() == QProcess::NormalExit ? m_Waiter->exitCode() : -1;
        m_Waiter.reset();
        return code;
    }
    static CSafeApplyStore Store() { return CSafeApplyStore::ForThisMachine(); }
    QStringList Host() const { return Adapters(*m_Env); }
    QString Address() const { return Host().value(0).section(u' ', 1, 1); }
    QString HivePath() const { return QString::fromStdString(winsys::HivePath(m_Env->hostDir().toStdString())); }
    // Types each text into the field of that name.
    bool Fill(const QList<QPair<const char*, QString>>& texts)
    {
        for (const auto& [name, text] : texts) {
            auto* field = m_Dlg->findChild<QLineEdit*>(name);
            if (field && !field->isVisible())
                m_Dlg->SelectMainTab(2); // the identification page
            if (!field || !Type(field, text))
                return false;
        }
        return true;
    }
    QStringList Boxes() { return m_Fx.boxes.texts(); }

private slots:
    void init()
    {
        QVERIFY(m_Fx.Open(0));
        m_Env = m_Fx.env.get();
        m_Dlg = m_Fx.dialog.get();
        QCOMPARE(Host(), (QStringList{kWired, kWireless}));
        m_Before = m_Env->readHive();
    }
    void cleanup()
    {
        qunsetenv("WINSYS_NETSH_DELAY_MS");
        qunsetenv("WINSYS_SYSTEM_DIR");
        if (m_Waiter) {
            m_Waiter->kill();
            WaiterExit();
        }
        m_Fx.Close();
    }

    // Apply takes the shown adapter's changed phases and clears its flags; OK
    // takes what is left.
    void applyTakesShownAdapterOkTakesAll()
    {
        QVERIFY(Fill({{"ledIPAddress", "172.16.5.50"}, {"ledSubNet", "255.255.0.0"}, {"ledGateway", "172.16.0.1"}}));
        Click(m_Dlg->btnApply);
        QCOMPARE(Boxes(), QStringList());
        QVERIFY(!m_Fx.Card(0).m_AddressChanged && !m_Dlg->btnApply->isEnabled() && m_Dlg->isVisible());
        const QString wired =
            "dhcp=0 ip=172.16.5.50 mask=255.255.0.0 gw=172.16.0.1 dns=192.168.1.1,10.0.0.1 wins=192.168.1.2";
        QCOMPARE(Host(), (QStringList{wired, kWireless}));

        Click(m_Dlg->AdaptersPage()->rbtnAuto);
        m_Fx.Show(1);
        Click(m_Dlg->AdaptersPage()->ckbDNSAuto);
        QVERIFY(Fill({{"ledDNSServer", "10.5.5.5"}}));
        Click(m_Dlg->btnApply);
        QCOMPARE(Boxes(), QStringList());
        QCOMPARE(Host(), (QStringList{wired, "dhcp=1 dns=10.5.5.5 wins="}));

        // Back to automatic DNS: the static server goes from the registry.
        Click(m_Dlg->AdaptersPage()->ckbDNSAuto);
        Click(m_Dlg->buttonOk);
        QCOMPARE(Boxes(), QStringList());
        QCOMPARE(m_Dlg->result(), int(QDialog::Accepted));
        QCOMPARE(Host(), (QStringList{"dhcp=1 dns=192.168.1.1,10.0.0.1 wins=192.168.1.2", kWireless}));
    }

    // The first adapter's registry step cannot find its key: its DNS phase fails
    // after netsh ran; the second adapter and the name are never applied.
    void failingAdapterStopsTheRest()
    {
        QVERIFY(Fill({{"ledDNSServer", "10.1.1.1"}, {"ledPrimaryWINS", "192.168.1.9"}}));
        m_Fx.Card(0).m_AdapterName = QStringLiteral("{00000000-0000-0000-0000-00000000DEAD}");
        m_Fx.Show(1);
        Click(m_Dlg->AdaptersPage()->ckbDNSAuto);
        QVERIFY(Fill({{"ledDNSServer", "10.7.7.7"}, {"ledHostName", "WS77"}}));
        Click(m_Dlg->buttonOk);
        // The failing step carried code 0: no box, and the dialog stays open.
        QCOMPARE(Boxes(), QStringList());
        QVERIFY(m_Dlg->isVisible());
        QCOMPARE(Host(), (QStringList{QString(kWired).replace("192.168.1.1,", "10.1.1.1,"), kWireless}));
        const auto host = ReadHost();
        QVERIFY(host && host->ComputerName() == QLatin1String("WS01"));
    }

    // A netsh.exe that is missing, or that never ends and is killed after the
    // time limit, is reported; nothing runs after it, and the dialog stays
    // open and usable with its changes still to apply.
    void netshFailureLosesNothing_data()
    {
        QTest::addColumn<bool>("hung"); // else missing
        QTest::addColumn<quint32>("error");
        QTest::newRow("missing") << false << quint32(ERROR_FILE_NOT_FOUND);
        QTest::newRow("hung") << true << quint32(WAIT_TIMEOUT);
    }
    void netshFailureLosesNothing()
    {
        QFETCH(bool, hung);
        QFETCH(quint32, error);
        QTemporaryDir emptySystem;
        if (hung)
            qputenv("WINSYS_NETSH_DELAY_MS", "20000");
        else
            qputenv("WINSYS_SYSTEM_DIR", emptySystem.path().toLocal8Bit());
        auto runner = std::make_unique<CShellCommandRunner>(CShellCommandRunner::ResolveShellExecute());
        runner->SetTimeout(300);
        m_Dlg->SetCommandRunner(std::move(runner));
        QVERIFY(Fill({{"ledPrimaryWINS", "192.168.1.9"}, {"ledIPAddress", "192.168.1.77"}, {"ledHostName", "WS77"}}));
        Click(m_Dlg->buttonOk);
        QCOMPARE(Boxes(), QStringList{SystemText(error)});
        QCOMPARE(m_Env->readHive(), m_Before);
        QVERIFY(m_Dlg->isVisible() && m_Fx.Card(0).HasChanges() && m_Dlg->btnApply->isEnabled() &&
                !m_Dlg->IsApplying() && m_Dlg->AdaptersPage()->isEnabled());
    }

    // A plan that takes a while shows where it is, and Cancel stops it after the
    // running command: the rest never runs, and no error box follows.
    void longApplyShowsProgressAndCancels()
    {
        QVERIFY(Fill({{"ledDNSServer", "10.1.1.1"}, {"ledPrimaryWINS", "192.168.1.9"}}));
        QString label;
        QTimer::singleShot(1100, m_Dlg, [this, &label]() {
            if (auto* progress = m_Dlg->findChild<QProgressDialog*>()) {
                label = progress->labelText();
                progress->findChild<QPushButton*>()->click();
            }
        });
        qputenv("WINSYS_NETSH_DELAY_MS", "400");
        Click(m_Dlg->btnApply);
        QCOMPARE(label, QStringLiteral("Applying 3 of 5: DNS servers of Gigabit Ethernet Controller"));
        QCOMPARE(Boxes(), QStringList());
        // Cancelled inside the DNS phase: the WINS phase never ran.
        QCOMPARE(Host().at(0).section(u' ', -1), QStringLiteral("wins=192.168.1.2"));
        QVERIFY(m_Fx.Card(0).HasChanges() && m_Dlg->btnApply->isEnabled());
    }

    // The question after an apply counts down and reverts unless Keep is
    // pressed; a revert time given on the command line makes it ask even
    // without a screen.
    void keepDialogKeepsOrReverts_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("kept");
        QTest::newRow("no answer") << QString() << false;
        QTest::newRow("Keep") << "btnKeep" << true;
    }

    void keepDialogKeepsOrReverts()
    {
        QFETCH(QString, answer);
        QFETCH(bool, kept);
        QVERIFY(!m_Dlg->btnRestore->isEnabled()); // nothing to restore yet
        m_Dlg->SetRevertTime(1, true);
        QString question;
        QTimer answerer;
        connect(&answerer, &QTimer::timeout, this, [&]() {
            auto* keep = qobject_cast<CKeepDialog*>(QApplication::activeModalWidget());
            if (keep && question.isEmpty()) {
                question = keep->lbCountdown->text();
                if (!answer.isEmpty())
                    keep->findChild<QPushButton*>(answer)->click();
            }
        });
        answerer.start(20);
        QVERIFY(Fill({{"ledIPAddress", "192.168.1.77"}}));
        Click(m_Dlg->btnApply);
        QCOMPARE(question, QStringLiteral("Keep these network settings? Reverting in 1 seconds"));
        const QString shown = kept ? QStringLiteral("192.168.1.77") : QStringLiteral("192.168.1.5");
        QCOMPARE(Address(), "ip=" + shown);
        QVERIFY(kept || m_Env->readHive() == m_Before);
        QCOMPARE(m_Dlg->AdaptersPage()->ledIPAddress->text(), shown);
        QCOMPARE(Boxes(), QStringList());
        QVERIFY(m_Dlg->btnRestore->isEnabled());
    }

    // error: a text stderr holds (none: stderr is empty). saved: in.ini's
    // lines after (none: not looked at). The hive ends unchanged byte for
    // byte but for netsh's defaults.
    void console_data()
    {
        QTest::addColumn<QString>("args");
        QTest::addColumn<QByteArray>("file"); // in.ini before; null: none
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("saved");
        auto row = [](const char* name, const QString& args, const QByteArray& file, int exit, const QString& error,
                      const QString& saved = {}) { QTest::newRow(name) << args << file << exit << error << saved; };
        const QString load = "/c /l @in.ini";
        // What validation refuses stops the whole load before anything runs,
        // naming the section and key with the dialog's message.
        const QByteArray valid = "[Interface2]\nprotocol=10.0.0.50\nmask=255.255.255.0\nDNS=10.0.0.1;\n"
                                 "Wins=10.0.0.2\n[HostInformation]\nComputerName=WS02\n";
        row("refused after a valid section", load, valid + "[Interface1]\nmask=255.0.255.0\n", 3,
            "Subnet mask 255.0.255.0 is not valid for entered ip address. @in.ini: [Interface1] mask");
        // No confirmation, or a difference (then without waiting for the 30
        // seconds): the host ends as it was.
        row("keep, no confirmation", load + " /keep 1", kNewAddress, 5,
            "No confirmation came in time: the settings from before are restored.");
        row("keep, a difference", load + " /keep 30", kNewAddress + "DNS=0.0.0.0;10.0.0.7;\n", 5,
            "DNS servers: 0.0.0.0, 10.0.0.7 was asked for, the system has 10.0.0.7. "
            "Command: netsh.exe interface ip add dns 11 addr=0.0.0.0 (exit code 1).");
        row("missing file", "/c /l @missing.ini", {}, 3, "Can not load parameters from file. @missing.ini");
        row("unwritable save", "/c /s @missing/out.ini", {}, 3, "Can not create a file.");
        row("load and save: nothing read or written", "-c -l @in.ini -s @b.ini", {}, 2, "usage: netconfig");
        // Into an existing file: ours first, in order and spelled right, then
        // what belongs to others, untouched; an adapter the machine lacks goes.
        const QString saved = "[Interface1] protocol=192.168.1.5 mask=255.255.255.0 DNS=192.168.1.1;10.0.0.1; "
                              "Wins=192.168.1.2 Wins2=0.0.0.0 Gateway=192.168.1.1; custom=1 [Interface2] protocol=dhcp "
                              "mask=255.255.255.0 DNS=dhcp Wins=dhcp Gateway=10.0.0.1; [HostInformation] "
                              "ComputerName=WS01 Workgroup=WORKGROUP PrimaryDNS=lan note=x [Other] keep=1";
        row("save into others' file", "-console -save @in.ini",
            "[Other]\nkeep=1\n[HostInformation]\nnote=x\n[interface1]\nmask=1.2.3.4\ncustom=1\n"
            "[Interface3]\nprotocol=10.9.9.9\n",
            0, {}, saved);
    }

    void console()
    {
        QFETCH(QString, args);
        QFETCH(QByteArray, file);
        QFETCH(int, exit);
        QFETCH(QString, error);
        QFETCH(QString, saved);
        const QString in = m_Env->path("in.ini");
        QVERIFY(file.isNull() || WriteText(in, file));
        const QString hive = QString::fromLatin1(ReadAll(HivePath())); // byte for byte
        const Result result = Run(args.split(u' '));
        QCOMPARE(result.exit, exit);
        QVERIFY2(error.isEmpty() ? result.err.isEmpty() : result.err.contains(Path(error)), qPrintable(result.err));
        // netsh's set dns writes the registration values Windows assumes when
        // they are absent; they change nothing.
        static const QRegularExpression defaults(
            QStringLiteral("\"(RegistrationEnabled\"=dword:00000001|RegisterAdapterName\"=dword:00000000)\n"));
        QVERIFY(QString::fromLatin1(ReadAll(HivePath())).remove(defaults) == QString(hive).remove(defaults));
        // A load never writes its file, nor does a save that fails.
        if (args.contains("/l") || exit != 0)
            QVERIFY(ReadAll(in) == file);
        if (!saved.isEmpty())
            QCOMPARE(IniLines(in).join(u' '), saved);
        const bool written = !file.isNull() || !saved.isEmpty();
        QCOMPARE(QDir(m_Env->root()).entryList(QDir::Files), written ? QStringList{"in.ini"} : QStringList());
        CPendingApply pending;
        QVERIFY(!Store().ReadPending(&pending)); // nothing is left waiting
    }

    // A new address stays tentative for a while (duplicate address
    // detection): the run waits for it, and reports it only when it does not
    // settle in the time allowed.
    void newAddressSettles_data()
    {
        QTest::addColumn<QString>("hostSettleMs");
        QTest::addColumn<QString>("patienceMs");
        QTest::addColumn<int>("exit");
        QTest::newRow("settles in time") << "1500"
                                         << "4000" << 0;
        QTest::newRow("never settles") << "600000"
                                       << "1000" << 4;
    }
    void newAddressSettles()
    {
        QFETCH(QString, hostSettleMs);
        QFETCH(QString, patienceMs);
        QFETCH(int, exit);
        WriteFile("in.ini", kNewAddress);
        const Result result = Run({"/c", "/l", "@in.ini"}, hostSettleMs, patienceMs);
        QCOMPARE(result.exit, exit);
        QCOMPARE(result.err.contains("IP address: 192.168.1.77 was asked for, the system has 0.0.0.0."), exit == 4);
        QCOMPARE(Address(), QStringLiteral("ip=192.168.1.77"));
    }

    // Junk, or a settings file past the size limit, is refused with a clear
    // message; neither the host nor the file changes.
    void badInputLosesNothing()
    {
        QByteArray junk(1 << 20, '\0');
        QRandomGenerator(11).fillRange(reinterpret_cast<quint32*>(junk.data()), junk.size() / 4);
        const QString in = WriteFile("in.ini", junk);
        Result result = Run({"/c", "/l", "@in.ini"});
        QCOMPARE(result.exit, 3);
        QVERIFY2(result.err.contains("Can not load parameters from file."), qPrintable(result.err));
        QCOMPARE(m_Env->readHive(), m_Before);
        QVERIFY(ReadAll(in) == junk);

        QFile big(WriteFile("in.ini", kNewAddress));
        QVERIFY(big.resize(kBig)); // sparse, costs no disk
        result = Run({"/c", "/s", "@in.ini"});
        QCOMPARE(result.exit, 3);
        QVERIFY2(result.err.contains("Can not save parameters to file."), qPrintable(result.err));
        QVERIFY(QFileInfo(in).size() == kBig && ReadAll(in).startsWith(kNewAddress));

        // A broken host: the save does not even create its file.
        QVERIFY(QFile::remove(in) && WriteText(HivePath(), junk));
        result = Run({"/c", "/s", "@in.ini"});
        QCOMPARE(result.exit, 1);
        QVERIFY2(result.err.contains("The configuration registry database is corrupt."), qPrintable(result.err));
        QVERIFY(ReadAll(HivePath()) == junk);
        QVERIFY(!QFile::exists(in));
    }

    // /whatif prints the plan and changes nothing; the run then executes it
    // command for command, as /verbose reports them (the switches in any
    // order, the section of an adapter the machine lacks ignored); once the
    // host holds the file, /whatif prints nothing.
    void whatifIsWhatRuns()
    {
        WriteFile("in.ini", "[Interface1]\nprotocol=192.168.1.50\nmask=255.255.0.0\nDNS=10.1.1.1;;10.1.1.2;10.1.1.3;\n"
                            "Wins=192.168.1.20\nWins2=192.168.1.21\nGateway=192.168.1.1;192.168.1.254;\n"
                            "[Interface2]\nprotocol=172.16.0.5\nmask=255.255.0.0\nDNS=172.16.0.1;172.16.0.2;\n"
                            "Wins=0.0.0.0\nGateway=172.16.0.1;\n[Interface3]\nprotocol=10.9.9.9\nmask=255.0.0.0\n"
                            "[HostInformation]\nComputerName=WS02\n");
        const Result whatif = Run({"/c", "/l", "@in.ini", "/whatif"});
        QCOMPARE(whatif.exit, 0);
        QCOMPARE(m_Env->readHive(), m_Before);

        const Result run = Run({"/verbose", "/l", "@in.ini", "/c"});
        QCOMPARE(run.exit, 0);
        static const QRegularExpression reported(QStringLiteral("^netconfig: (netsh\\.exe .*): exit code \\d+$"));
        QStringList ran;
        for (const QString& line : run.err.split(u'\n')) {
            const QRegularExpressionMatch match = reported.match(line);
            if (match.hasMatch())
                ran << match.captured(1);
        }
        const QStringList planned = whatif.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(planned.mid(0, ran.count()), ran);
        QCOMPARE(planned.mid(ran.count()), (QStringList{"SetComputerNameEx(ComputerNamePhysicalNetBIOS, WS02)",
                                                        "NetRenameMachineInDomain(WS02)"}));
        QCOMPARE(Host(),
                 (QStringList{"dhcp=0 ip=192.168.1.50 mask=255.255.0.0 gw=192.168.1.1,192.168.1.254 "
                              "dns=10.1.1.1,10.1.1.2,10.1.1.3 wins=192.168.1.20,192.168.1.21",
                              "dhcp=0 ip=172.16.0.5 mask=255.255.0.0 gw=172.16.0.1 dns=172.16.0.1,172.16.0.2 wins="}));
        QCOMPARE(Run({"/c", "/l", "@in.ini", "/whatif"}).out, QString());
    }

    // While a change waits for its confirmation, a second apply or an undo is
    // refused; the confirmation comes from another process. A waiter that
    // dies is seen by any later start, here a save, and reverted.
    void waiter()
    {
        QVERIFY(StartWaiter(30, kNewAddress));
        const QString changed = m_Env->readHive();
        QCOMPARE(Address(), QStringLiteral("ip=192.168.1.77"));
        const Result second = Run({"/c", "/l", WriteFile("other.ini", "[Interface1]\nprotocol=192.168.1.99\n")});
        QCOMPARE(second.exit, 6);
        QVERIFY2(second.err.contains("waits for its confirmation"), qPrintable(second.err));
        QCOMPARE(Run({"/c", "/undo"}).exit, 6);
        QCOMPARE(Run({"/c", "/keep"}).exit, 0);
        QCOMPARE(WaiterExit(), 0);
        QCOMPARE(m_Env->readHive(), changed);

        QVERIFY(StartWaiter(300, "[Interface1]\nprotocol=192.168.1.88\n"));
        QCOMPARE(Address(), QStringLiteral("ip=192.168.1.88"));
        m_Waiter->kill();
        QCOMPARE(WaiterExit(), -1);
        const Result save = Run({"/c", "/s", "@saved.ini"});
        QCOMPARE(save.exit, 0);
        QVERIFY2(save.err.contains("was never confirmed"), qPrintable(save.err));
        QCOMPARE(m_Env->readHive(), changed);
        const Result again = Run({"/c", "/s", "@again.ini"});
        QCOMPARE(again.exit, 0);
        QCOMPARE(again.err, QString());
    }

    // Undo takes no snapshot of its own.
    void undoRestores()
    {
        QCOMPARE(Run({"/c", "/l", WriteFile("new.ini", kNewAddress)}).exit, 0);
        QCOMPARE(Address(), QStringLiteral("ip=192.168.1.77"));
        const QString snapshot = Store().LatestSnapshot();
        QCOMPARE(Run({"/c", "/undo"}).exit, 0);
        QCOMPARE(m_Env->readHive(), m_Before);
        QCOMPARE(Store().LatestSnapshot(), snapshot);
    }
};

QTEST_MAIN(TestE2E)
#include "tst_e2e.moc"
