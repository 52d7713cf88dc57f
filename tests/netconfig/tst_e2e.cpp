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

QByteArray Junk(int size, quint32 seed)
{
    QByteArray junk(size, '\0');
    QRandomGenerator(seed).fillRange(reinterpret_cast<quint32*>(junk.data()), size / 4);
    return junk;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestE2E : public QObject
{
    Q_OBJECT

private:
    Fixture m_Fx;
    CNetConfigImpl* m_Dlg = nullptr;
    TestEnv* m_Env = nullptr;
    QString m_Before;

    QString Path(QString text) const
    {
        return text.replace(QRegularExpression(QStringLiteral("(^|\\s)@")),
                            QStringLiteral("\\1") + m_Env->root() + u'/');
    }

    // netconfig in a bare environment; "@name" names a file of the test's
    // folder, NAME=value goes to the environment. -2 when stderr holds a line
    // that is not netconfig's own.
    int Run(const QStringList& args, QString* err = nullptr, QString* out = nullptr)
    {
        QProcessEnvironment env = m_Env->bareEnvironment();
        env.insert("XDG_STATE_HOME", m_Env->stateDir());
        env.insert("NETCONFIG_SETTLE_MS", "0");
        QStringList programArgs;
        static const QRegularExpression variable(QStringLiteral("^([A-Z_]+)=(.*)$"));
        for (const QString& arg : args) {
            const QRegularExpressionMatch match = variable.match(arg);
            match.hasMatch() ? env.insert(match.captured(1), match.captured(2)) : void(programArgs << Path(arg));
        }
        QString errors;
        const int exit = m_Env->runIn(env, TestEnv::binDir() + "/netconfig", programArgs, out, &errors);
        if (err)
            *err = errors;
        static const QRegularExpression own(QStringLiteral("^(netconfig: |usage: netconfig |Usage: netconfig -kill )"));
        for (const QString& line : errors.split(u'\n', Qt::SkipEmptyParts))
            if (!own.match(line).hasMatch())
                return qWarning("foreign line: %s", qPrintable(line)), -2;
        return exit;
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
    // Types each text into the field named before it.
    bool Fill(const QStringList& namesAndTexts)
    {
        for (int i = 0; i + 1 < namesAndTexts.size(); i += 2) {
            auto* field = m_Dlg->findChild<QLineEdit*>(namesAndTexts[i]);
            if (field && !field->isVisible())
                m_Dlg->SelectMainTab(2); // the identification page
            if (!field || !Type(field, namesAndTexts[i + 1]))
                return false;
        }
        return true;
    }
    QStringList Boxes() { return m_Fx.boxes.texts(); }

    std::unique_ptr<QProcess> m_Waiter;

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
        if (m_Waiter)
            m_Waiter->kill(), WaiterExit();
        m_Fx.Close();
    }

    // Apply takes the shown adapter's changed phases and clears its flags; OK
    // takes what is left.
    void applyTakesShownAdapterOkTakesAll()
    {
        QVERIFY(Fill({"ledIPAddress", "172.16.5.50", "ledSubNet", "255.255.0.0", "ledGateway", "172.16.0.1"}));
        Click(m_Dlg->btnApply);
        QCOMPARE(Boxes(), QStringList());
        QVERIFY(!m_Fx.Card(0).m_AddressChanged && !m_Dlg->btnApply->isEnabled() && m_Dlg->isVisible());
        const QString wired =
            "dhcp=0 ip=172.16.5.50 mask=255.255.0.0 gw=172.16.0.1 dns=192.168.1.1,10.0.0.1 wins=192.168.1.2";
        QCOMPARE(Host(), (QStringList{wired, kWireless}));

        Click(m_Dlg->AdaptersPage()->rbtnAuto);
        m_Fx.Show(1);
        Click(m_Dlg->AdaptersPage()->ckbDNSAuto);
        QVERIFY(Fill({"ledDNSServer", "10.5.5.5"}));
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
        QVERIFY(Fill({"ledDNSServer", "10.1.1.1", "ledPrimaryWINS", "192.168.1.9"}));
        m_Fx.Card(0).m_AdapterName = QStringLiteral("{00000000-0000-0000-0000-00000000DEAD}");
        m_Fx.Show(1);
        Click(m_Dlg->AdaptersPage()->ckbDNSAuto);
        QVERIFY(Fill({"ledDNSServer", "10.7.7.7"}));
        QVERIFY(Fill({"ledHostName", "WS77"}));
        Click(m_Dlg->buttonOk);
        // The failing step carried code 0: no box, and the dialog stays open.
        QCOMPARE(Boxes(), QStringList());
        QVERIFY(m_Dlg->isVisible());
        QCOMPARE(Host(), (QStringList{QString(kWired).replace("192.168.1.1,", "10.1.1.1,"), kWireless}));
        const auto host = ReadHost();
        QVERIFY(host && host->ComputerName() == QLatin1String("WS01"));
    }

    void missingNetshLosesNothing()
    {
        QVERIFY(Fill({"ledIPAddress", "192.168.1.77"}));
        QVERIFY(Fill({"ledHostName", "WS77"}));
        QTemporaryDir emptySystem;
        qputenv("WINSYS_SYSTEM_DIR", emptySystem.path().toLocal8Bit());
        Click(m_Dlg->buttonOk);
        qunsetenv("WINSYS_SYSTEM_DIR");
        QCOMPARE(Boxes(), QStringList{SystemText(ERROR_FILE_NOT_FOUND)});
        QVERIFY(Boxes().first().startsWith(QLatin1String("The system cannot find the file specified.")));
        QVERIFY(m_Dlg->isVisible());
        QCOMPARE(m_Env->readHive(), m_Before);
    }

    // A netsh that never ends is killed after the time limit and reported; the
    // dialog stays usable and nothing later runs.
    void hungNetshIsKilled()
    {
        auto runner = std::make_unique<CShellCommandRunner>(CShellCommandRunner::ResolveShellExecute());
        runner->SetTimeout(300);
        m_Dlg->SetCommandRunner(std::move(runner));
        QVERIFY(Fill({"ledPrimaryWINS", "192.168.1.9", "ledIPAddress", "192.168.1.77"}));
        qputenv("WINSYS_NETSH_DELAY_MS", "20000");
        QElapsedTimer timer;
        timer.start();
        Click(m_Dlg->btnApply);
        qunsetenv("WINSYS_NETSH_DELAY_MS");
        QVERIFY(timer.elapsed() < 10000);
        QCOMPARE(Boxes(), QStringList{SystemText(WAIT_TIMEOUT)});
        QCOMPARE(m_Env->readHive(), m_Before);
        QVERIFY(m_Fx.Card(0).HasChanges() && m_Dlg->btnApply->isEnabled() && !m_Dlg->IsApplying() &&
                m_Dlg->AdaptersPage()->isEnabled());
    }

    // A plan that takes a while shows where it is, and Cancel stops it after the
    // running command: the rest never runs, and no error box follows.
    void longApplyShowsProgressAndCancels()
    {
        QVERIFY(Fill({"ledDNSServer", "10.1.1.1", "ledPrimaryWINS", "192.168.1.9"}));
        QString label;
        QTimer::singleShot(1100, m_Dlg, [this, &label]() {
            if (auto* progress = m_Dlg->findChild<QProgressDialog*>()) {
                label = progress->labelText();
                progress->findChild<QPushButton*>()->click();
            }
        });
        qputenv("WINSYS_NETSH_DELAY_MS", "400");
        Click(m_Dlg->btnApply);
        qunsetenv("WINSYS_NETSH_DELAY_MS");
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
        QTest::newRow("Revert") << "btnRevert" << false;
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
        QVERIFY(Fill({"ledIPAddress", "192.168.1.77"}));
        Click(m_Dlg->btnApply);
        QCOMPARE(question, QStringLiteral("Keep these network settings? Reverting in 1 seconds"));
        const QString shown = kept ? QStringLiteral("192.168.1.77") : QStringLiteral("192.168.1.5");
        QCOMPARE(Address(), "ip=" + shown);
        QVERIFY(kept || m_Env->readHive() == m_Before);
        QCOMPARE(m_Dlg->AdaptersPage()->ledIPAddress->text(), shown);
        QCOMPARE(Boxes(), QStringList());
        QVERIFY(m_Dlg->btnRestore->isEnabled());
    }

    // file: in.ini (null: none; "@...": made by run()). errors: texts stderr
    // holds, "@" the test's folder (none: stderr is empty). host: the adapters
    // after (none: the hive is unchanged byte for byte but for netsh's
    // defaults). saved: in.ini's lines after ("…": what they start with).
    // files: what the test's folder holds after.
    void run_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QStringList>("errors");
        QTest::addColumn<QStringList>("host");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QStringList>("files");
        auto row = [](const char* name, const QString& args, const QByteArray& file, int exit,
                      const QStringList& errors, const QStringList& host = {}, const QString& saved = {},
                      QStringList files = {}) {
            if ((!file.isNull() && !file.startsWith("@hive")) || !saved.isEmpty())
                files << "in.ini";
            QTest::newRow(name) << args.split(u' ') << file << exit << errors << host << saved << files;
        };
        const QString load = "/c /l @in.ini";
        const QByteArray valid = "[Interface2]\nprotocol=10.0.0.50\nmask=255.255.255.0\nDNS=10.0.0.1;\n"
                                 "Wins=10.0.0.2\n[HostInformation]\nComputerName=WS02\n";
        row("static, switches in any order, third section ignored", "/l @in.ini /c",
            "[Interface1]\nprotocol=192.168.1.50\nmask=255.255.0.0\nDNS=10.1.1.1;;10.1.1.2;10.1.1.3;\n"
            "Wins=192.168.1.20\nWins2=192.168.1.21\nGateway=192.168.1.1;192.168.1.254;\n"
            "[Interface2]\nprotocol=172.16.0.5\nmask=255.255.0.0\nDNS=172.16.0.1;172.16.0.2;\n"
            "Wins=0.0.0.0\nGateway=172.16.0.1;\n[Interface3]\nprotocol=10.9.9.9\nmask=255.0.0.0\n",
            0, {},
            {"dhcp=0 ip=192.168.1.50 mask=255.255.0.0 gw=192.168.1.1,192.168.1.254 "
             "dns=10.1.1.1,10.1.1.2,10.1.1.3 wins=192.168.1.20,192.168.1.21",
             "dhcp=0 ip=172.16.0.5 mask=255.255.0.0 gw=172.16.0.1 dns=172.16.0.1,172.16.0.2 wins="});
        row("verbose: each command with its exit code", load + " /verbose",
            "[Interface1]\nWins=192.168.1.20\nWins2=192.168.1.21\n", 0,
            {"netconfig: netsh.exe interface ip set wins 11 source=static addr=192.168.1.20: exit code 0\n"
             "netconfig: netsh.exe interface ip add wins 11 addr=192.168.1.21: exit code 0\n"},
            {QString(kWired).replace("wins=192.168.1.2", "wins=192.168.1.20,192.168.1.21"), kWireless});
        // What validation refuses stops the whole load before anything runs,
        // naming the section and key with the dialog's message.
        row("mask octets grow, after a valid section", load, valid + "[Interface1]\nmask=255.0.255.0\n", 3,
            {"Subnet mask 255.0.255.0 is not valid for entered ip address. @in.ini: [Interface1] mask"});
        row("wins, before a valid section", load, "[Interface1]\nWins=10.0.0.2\nWins2=10.0.0.256\n" + valid, 3,
            {"Ip address 10.0.0.256 is not valid. @in.ini: [Interface1] Wins2"});
        row("second adapter's DNS", load,
            "[Interface2]\nprotocol=10.0.0.50\nmask=255.255.255.0\nDNS=10.0.0.1;x;\nWins=10.0.0.2\n", 3,
            {"Ip address x is not valid. @in.ini: [Interface2] DNS"});
        row("further address", load, "[Interface1]\nAddresses=192.168.1.7/255.255.255.0;192.168.1.8/255.0.255.0;", 3,
            {"Ip address 192.168.1.8/255.0.255.0 is not valid. @in.ini: [Interface1] Addresses"});
        row("loopback", load, "[Interface1]\nprotocol=127.0.0.5", 3,
            {"Ip address 127.0.0.5 is a loopback address. @in.ini: [Interface1] protocol"});
        row("multicast", load, "[Interface1]\nprotocol=224.0.0.5\nmask=255.255.255.0", 3,
            {"Ip address 224.0.0.5 is not a unicast address."});
        row("network address", load, "[Interface1]\nprotocol=192.168.1.0", 3,
            {"Ip address 192.168.1.0 is the network address of its subnet."});
        // Taken by validation, changed by the system: the check says so.
        row("secondary WINS alone", load, "[Interface1]\nWins=0.0.0.0\nWins2=10.0.0.9", 4,
            {"Not every setting took effect:",
             "Gigabit Ethernet Controller, primary WINS server: 0.0.0.0 was asked for, the system has 10.0.0.9.",
             "Command: netsh.exe interface ip "},
            {QString(kWired).replace("wins=192.168.1.2", "wins=10.0.0.9"), kWireless});
        // No confirmation, or a difference (then without waiting for the 30
        // seconds): the host ends as it was.
        row("keep, no confirmation", load + " /keep 1", kNewAddress, 5,
            {"No confirmation came in time: the settings from before are restored."});
        row("keep, a difference", load + " /keep 30", kNewAddress + "DNS=0.0.0.0;10.0.0.7;\n", 5,
            {"DNS servers: 0.0.0.0, 10.0.0.7 was asked for, the system has 10.0.0.7."});
        row("confirm, nothing waits", "/c /keep", {}, 6,
            {"No change of the network settings waits for a confirmation."});
        row("undo, nothing to restore", "/c /undo", {}, 3, {"There are no earlier settings to restore."});
        row("missing file", "/c /l @missing.ini", {}, 3, {"Can not load parameters from file. @missing.ini"});
        row("unwritable save", "/c /s @missing/out.ini", {}, 3, {"Can not create a file."});
        // Switches that cannot do anything: nothing read or written.
        row("load and save", "-c -l @in.ini -s @b.ini", {}, 2, {"usage: netconfig"});
        row("what-if of a save", "/c /s @b.ini /whatif", {}, 2, {"usage: netconfig"});
        row("kill without a name", "-kill ", {}, 2, {"Usage: netconfig -kill "});
        // A new address is tentative for a moment: the check looks again until
        // it settles, and reports it only when it never does in the time allowed.
        row("a new address settles", load + " WINSYS_SETTLE_MS=1500 NETCONFIG_SETTLE_MS=4000",
            "[Interface1]\nprotocol=192.168.1.60\n", 0, {},
            {QString(kWired).replace("ip=192.168.1.5", "ip=192.168.1.60"), kWireless});
        row("a new address never settles", load + " WINSYS_SETTLE_MS=600000 NETCONFIG_SETTLE_MS=1000",
            "[Interface1]\nprotocol=192.168.1.61\n", 4,
            {"Not every setting took effect:",
             "Gigabit Ethernet Controller, IP address: 192.168.1.61 was asked for, the system has 0.0.0.0."},
            {QString(kWired).replace("ip=192.168.1.5", "ip=192.168.1.61"), kWireless});
        // A trailing blank names the same file for creating and writing.
        row("a trailing blank", "/c /s @blank.ini ", {}, 0, {}, {}, {}, {"blank.ini"});
        QString saves = "/c";
        for (int i = 0; i < 3000; ++i)
            saves += QStringLiteral(" -s @out%1.ini").arg(i);
        row("3,000 saves: the last file wins", saves, {}, 0, {}, {}, {}, {"out2999.ini"});
        // Into an existing file: ours first, in order and spelled right, then
        // what belongs to others, untouched; an adapter the machine lacks goes.
        const QString sample = "[Interface1] protocol=192.168.1.5 mask=255.255.255.0 DNS=192.168.1.1;10.0.0.1; "
                               "Wins=192.168.1.2 Wins2=0.0.0.0 Gateway=192.168.1.1;%1 [Interface2] protocol=dhcp "
                               "mask=255.255.255.0 DNS=dhcp Wins=dhcp Gateway=10.0.0.1; [HostInformation] "
                               "ComputerName=WS01 Workgroup=WORKGROUP PrimaryDNS=lan%2";
        row("save into others' file", "-console -save @in.ini",
            "[Other]\nkeep=1\n[HostInformation]\nnote=x\n[interface1]\nmask=1.2.3.4\ncustom=1\n"
            "[Interface3]\nprotocol=10.9.9.9\n",
            0, {}, {}, sample.arg(" custom=1", " note=x [Other] keep=1"));
        // Huge or junk: handled, or refused with a clear message (a settings
        // file: exit code 3); what was not written to stays as it was.
        const QString corrupt = "The configuration registry database is corrupt.",
                      cannotLoad = "Can not load parameters from file.";
        row("hive, 100 MB value", "/c /s @in.ini", "@hive huge", 0, {}, {}, sample.arg("", ""));
        row("hive, binary junk", "/c /s @in.ini", "@hive junk", 1, {corrupt});
        row("file, 100 MB, load", load, "@big", 3, {cannotLoad});
        row("file, 100 MB, save", "/c /s @in.ini", "@big", 3, {"Can not save parameters to file."});
        row("file, binary junk, load", load, "@junk", 3, {cannotLoad});
        row("file, 100,000 sections, load", load, "@sections", 0, {},
            {QString(kWired).replace("ip=192.168.1.5", "ip=192.168.1.77"), kWireless});
        row("file, 100,000 sections, save", "/c /s @in.ini", "@sections", 0, {}, {},
            "[Interface1] protocol=192.168.1.5 …");
    }

    void run()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, file);
        QFETCH(int, exit);
        QFETCH(QStringList, errors);
        QFETCH(QStringList, host);
        QFETCH(QString, saved);
        const QString in = m_Env->path("in.ini");
        const QString hivePath = QString::fromStdString(winsys::HivePath(m_Env->hostDir().toStdString()));
        {
            // What is too big for the table: junk, a file past the size limit,
            // 100,000 foreign sections, a hive with a 100 MB value.
            QByteArray text = file;
            if (file.endsWith("junk"))
                text = Junk(1 << 20, 11);
            else if (file == "@big")
                text = kNewAddress + QByteArray("; padding\n").repeated(kBig / 10);
            else if (file == "@sections")
                text = kNewAddress;
            else if (file == "@hive huge")
                text = ReadAll(hivePath) + "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Filler]\n\"Blob\"=hex:" +
                       (QByteArray("ab,").repeated(24) + "ab,\\\n  ").repeated(kBig / 80) + "ab\n";
            for (int i = 1; file == "@sections" && i < 100000; ++i)
                text += "[Foreign" + QByteArray::number(i) + "]\nkey=" + QByteArray::number(i) + "\n";
            QVERIFY(file.isNull() || WriteText(file.startsWith("@hive") ? hivePath : in, text));
        }
        const QByteArray input = ReadAll(in);
        const QString hive = QString::fromLatin1(ReadAll(hivePath)); // byte for byte
        QString err;
        QCOMPARE(Run(args, &err), exit);
        for (const QString& text : errors)
            QVERIFY2(err.contains(Path(text)), qPrintable(err));
        QVERIFY2(err.isEmpty() == errors.isEmpty(), qPrintable(err));
        // netsh's set dns writes the registration values Windows assumes when
        // they are absent; they change nothing.
        static const QRegularExpression defaults(
            QStringLiteral("\"(RegistrationEnabled\"=dword:00000001|RegisterAdapterName\"=dword:00000000)\n"));
        if (host.isEmpty())
            QVERIFY(QString::fromLatin1(ReadAll(hivePath)).remove(defaults) == QString(hive).remove(defaults));
        else
            QCOMPARE(Adapters(*m_Env), host);
        // A load never writes its file, nor does a save that fails.
        if (args.contains("/l") || exit != 0)
            QVERIFY(ReadAll(in) == input);
        const QString lines = saved.isEmpty() ? QString() : IniLines(in).join(u' ');
        QCOMPARE(saved.endsWith(u'…') ? lines.left(saved.size() - 1) + u'…' : lines, saved);
        if (file == "@sections")
            QCOMPARE(ReadAll(in).count("[Foreign"), 99999);
        QTEST(QDir(m_Env->root()).entryList(QDir::Files), "files");
        CPendingApply pending;
        QVERIFY(!Store().ReadPending(&pending)); // nothing is left waiting
    }

    // What /whatif prints is what the real run then executes, command for
    // command; once the host holds the file, it prints nothing.
    void whatifIsWhatRuns()
    {
        WriteFile("in.ini", "[Interface1]\nprotocol=192.168.1.50\nmask=255.255.255.0\nDNS=10.1.1.1;10.1.1.2;\n"
                            "Wins=192.168.1.2\nWins2=0.0.0.0\nGateway=192.168.1.1;\n"
                            "[Interface2]\nprotocol=dhcp\nDNS=dhcp\nWins=10.0.0.9\n"
                            "[HostInformation]\nComputerName=WS02\n");
        // Without trailing blanks: an argument list cannot carry the last one.
        const auto lines = [](const QString& text) {
            return text.split(QRegularExpression(" *\n"), Qt::SkipEmptyParts);
        };
        QString out;
        QCOMPARE(Run({"/c", "/l", "@in.ini", "/whatif"}, nullptr, &out), 0);
        QCOMPARE(m_Env->readHive(), m_Before);
        const QStringList planned = lines(out);
        QVERIFY2(planned.contains(QLatin1String("SetComputerNameEx(ComputerNamePhysicalNetBIOS, WS02)")),
                 qPrintable(out));

        // A netsh.exe that only notes its command line, so the run changes nothing.
        QTemporaryDir system;
        const QString log = system.filePath("netsh.log"), netsh = system.filePath("netsh.exe");
        QVERIFY(WriteText(netsh, "#!/bin/sh\nprintf 'netsh.exe %s\\n' \"$*\" >> '" + log.toUtf8() + "'\n"));
        QVERIFY(QFile::setPermissions(netsh, QFile::ReadOwner | QFile::ExeOwner));
        Run({"WINSYS_SYSTEM_DIR=" + system.path(), "/c", "/l", "@in.ini"});
        const QStringList ran = lines(QString::fromUtf8(ReadAll(log)));
        QVERIFY(!ran.isEmpty());
        QCOMPARE(ran, planned.mid(0, ran.count()));
        QVERIFY(!planned.mid(ran.count()).join(u'\n').contains(QLatin1String("netsh.exe")));

        QCOMPARE(Run({"/c", "/l", "@in.ini"}), 0);
        QCOMPARE(Run({"/c", "/l", "@in.ini", "/whatif"}, nullptr, &out), 0);
        QCOMPARE(out, QString());
    }

    // save, load, save: the same file, and the load changes nothing, for
    // adapters with several addresses, gateways and servers.
    void saveLoadSaveLosesNothing()
    {
        const QString shape = " --adapters 2 --addresses 3 --gateways 3 --dns 4";
        QCOMPARE(m_Env->runProgram(TestEnv::binDir() + "/winhost", ("init " + m_Env->hostDir() + shape).split(u' ')),
                 0);
        QCOMPARE(Run({"/c", "/s", "@first.ini"}), 0);
        const QString hive = m_Env->readHive();
        QCOMPARE(Run({"/c", "/l", "@first.ini"}), 0);
        QCOMPARE(m_Env->readHive(), hive);
        QCOMPARE(Run({"/c", "/s", "@second.ini"}), 0);
        const QByteArray saved = ReadAll(m_Env->path("first.ini"));
        QCOMPARE(ReadAll(m_Env->path("second.ini")), saved);
        QVERIFY2(saved.contains("Addresses=172.16.0.6/255.255.255.0;172.16.0.7/255.255.255.0;\n"), saved.constData());
    }

    void storeKeepsTheNewestTwenty()
    {
        const CSafeApplyStore store(m_Env->path("store"));
        QStringList taken;
        for (int i = 0; i < CSafeApplyStore::kKeptSnapshots + 3; ++i)
            taken << store.TakeSnapshot({}, CIdentity{QStringLiteral("WS%1").arg(i), {}, {}});
        QCOMPARE(store.Snapshots(), taken.mid(3));
        QCOMPARE(store.LatestSnapshot(), taken.last());
        QVERIFY(ReadAll(taken.last()).contains("ComputerName=WS22"));
    }

    // A pending change is stale when its waiter is gone, or long past its time
    // (the number may belong to another process by then).
    void staleRule_data()
    {
        QTest::addColumn<qint64>("pid");
        QTest::addColumn<int>("secondsLeft");
        QTest::addColumn<bool>("stale");
        const qint64 alive = QCoreApplication::applicationPid(), gone = 0x3fffffff; // beyond any pid_max
        QTest::newRow("waiting") << alive << 30 << false;
        QTest::newRow("just past its time") << alive << -30 << false;
        QTest::newRow("long past its time") << alive << -120 << true;
        QTest::newRow("waiter gone") << gone << 30 << true;
    }
    void staleRule()
    {
        QFETCH(qint64, pid);
        QFETCH(int, secondsLeft);
        QTEST(CSafeApplyStore::IsStale({pid, "s.ini", QDateTime::currentDateTimeUtc().addSecs(secondsLeft), false}),
              "stale");
    }

    // While a change waits for its confirmation, a second apply or an undo is
    // refused; the confirmation comes from another process. A waiter that
    // dies is seen by any later start, here a save, and reverted.
    void waiter()
    {
        QVERIFY(StartWaiter(30, kNewAddress));
        const QString changed = m_Env->readHive();
        QCOMPARE(Address(), QStringLiteral("ip=192.168.1.77"));
        QString err;
        QCOMPARE(Run({"/c", "/l", WriteFile("other.ini", "[Interface1]\nprotocol=192.168.1.99\n")}, &err), 6);
        QVERIFY2(err.contains("waits for its confirmation"), qPrintable(err));
        QCOMPARE(Run({"/c", "/undo"}), 6);
        QCOMPARE(Run({"/c", "/keep"}), 0);
        QCOMPARE(WaiterExit(), 0);
        QCOMPARE(m_Env->readHive(), changed);

        QVERIFY(StartWaiter(300, "[Interface1]\nprotocol=192.168.1.88\n"));
        QCOMPARE(Address(), QStringLiteral("ip=192.168.1.88"));
        m_Waiter->kill();
        QCOMPARE(WaiterExit(), -1);
        QCOMPARE(Run({"/c", "/s", "@saved.ini"}, &err), 0);
        QVERIFY2(err.contains("was never confirmed"), qPrintable(err));
        QCOMPARE(m_Env->readHive(), changed);
        QCOMPARE(Run({"/c", "/s", "@again.ini"}, &err), 0);
        QCOMPARE(err, QString());
    }

    // Undo takes no snapshot of its own; a snapshot is an ordinary settings file.
    void undoRestores()
    {
        QCOMPARE(Run({"/c", "/l", WriteFile("new.ini", kNewAddress)}), 0);
        QCOMPARE(Address(), QStringLiteral("ip=192.168.1.77"));
        const QString snapshot = Store().LatestSnapshot();
        QCOMPARE(Run({"/c", "/undo"}), 0);
        QCOMPARE(m_Env->readHive(), m_Before);
        QCOMPARE(Store().LatestSnapshot(), snapshot);
        QCOMPARE(Run({"/c", "/l", "@new.ini"}), 0);
        QCOMPARE(Run({"/c", "/l", snapshot}), 0);
        QCOMPARE(m_Env->readHive(), m_Before);
    }
};

QTEST_MAIN(TestE2E)
#include "tst_e2e.moc"
