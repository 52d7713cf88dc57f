// Safe applies: the snapshot store's rules, and end to end through the real
// program and netsh.exe: a change nobody confirms is reverted to the very
// bytes it replaced, a confirmation from another process keeps it, only one
// change waits at a time, and a waiter that dies is recovered on the next
// start.
#include "applytestutil.h"
#include "hoststate.h"
#include "keepdialog.h"
#include "safeapply.h"
#include "settingsfiletest.h"

#include <QProcess>

using namespace applytest;
using settingstest::WriteText;

class TestSafeApply : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        QVERIFY(m_Env->initSampleHost());
        m_Before = m_Env->readHive();
        QVERIFY(WriteText(m_Env->path("new.ini"), "[Interface1]\nprotocol=192.168.1.77\nmask=255.255.255.0\n"));
    }
    void cleanup()
    {
        if (m_Waiter)
            m_Waiter->kill(), WaiterExit();
        m_Env.reset();
    }

    void storeKeepsTheNewestTwenty();
    void staleRule_data();
    void staleRule();
    void unconfirmedChangeReverts_data();
    void unconfirmedChangeReverts();
    void confirmationKeeps();
    void killedWaiterIsRecovered();
    void undoRestores();
    void dialogKeepsOrReverts_data();
    void dialogKeepsOrReverts();

private:
    // Starts `netconfig /c /l new.ini /keep seconds` and waits until its
    // change is pending.
    bool StartWaiter(int seconds)
    {
        m_Waiter = std::make_unique<QProcess>();
        m_Waiter->setProcessEnvironment(m_Env->environment());
        m_Waiter->start(TestEnv::binDir() + QStringLiteral("/netconfig"),
                        {"/c", "/l", m_Env->path("new.ini"), "/keep", QString::number(seconds)});
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
    QString Address() const { return hoststate::Adapters(*m_Env).value(0).section(u' ', 1, 1); }
    int Run(const QStringList& args, QString* errors = nullptr)
    {
        return m_Env->runNetconfig(QStringList{"/c"} + args, errors, 20000);
    }

    std::unique_ptr<TestEnv> m_Env;
    std::unique_ptr<QProcess> m_Waiter;
    QString m_Before;
};

void TestSafeApply::storeKeepsTheNewestTwenty()
{
    const CSafeApplyStore store(m_Env->path("store"));
    QStringList taken;
    for (int i = 0; i < CSafeApplyStore::kKeptSnapshots + 3; ++i) {
        CIdentity identity;
        identity.computerName = QStringLiteral("WS%1").arg(i);
        taken << store.TakeSnapshot({}, identity);
        QVERIFY(!taken.last().isEmpty());
    }
    QCOMPARE(store.Snapshots(), taken.mid(3));
    QCOMPARE(store.LatestSnapshot(), taken.last());
    QFile latest(taken.last());
    QVERIFY(latest.open(QIODevice::ReadOnly) && latest.readAll().contains("ComputerName=WS22"));
}

// A pending change is stale when its waiter is gone, or long past its time
// (the number may belong to another process by then).
void TestSafeApply::staleRule_data()
{
    QTest::addColumn<bool>("alive");
    QTest::addColumn<int>("secondsLeft");
    QTest::addColumn<bool>("stale");
    QTest::newRow("waiting") << true << 30 << false;
    QTest::newRow("just past its time") << true << -30 << false;
    QTest::newRow("long past its time") << true << -120 << true;
    QTest::newRow("waiter gone") << false << 30 << true;
}

void TestSafeApply::staleRule()
{
    QFETCH(bool, alive);
    QFETCH(int, secondsLeft);
    QProcess ended;
    ended.start(QStringLiteral("true"));
    QVERIFY(ended.waitForFinished());
    const qint64 pid = alive ? QCoreApplication::applicationPid() : ended.processId();
    QVERIFY(alive || !IsProcessAlive(pid));
    const CPendingApply pending{pid, "snapshot.ini", QDateTime::currentDateTimeUtc().addSecs(secondsLeft), false};
    QTEST(CSafeApplyStore::IsStale(pending), "stale");
}

// No confirmation, or a change the system did not take as asked: the host
// ends byte for byte as it was (netsh's set dns writes the registration
// values Windows assumes when they are absent; they change nothing).
void TestSafeApply::unconfirmedChangeReverts_data()
{
    QTest::addColumn<QByteArray>("extra");
    QTest::addColumn<QString>("keep");
    QTest::addColumn<QString>("told");
    QTest::newRow("no confirmation") << QByteArray() << "1"
                                     << "No confirmation came in time: the settings from before are restored.";
    // Waits no 30 seconds: a difference reverts at once, listed.
    QTest::newRow("difference") << QByteArray("DNS=0.0.0.0;10.0.0.7;\n") << "30"
                                << "DNS servers: 0.0.0.0, 10.0.0.7 was asked for, the system has 10.0.0.7.";
}

void TestSafeApply::unconfirmedChangeReverts()
{
    QFETCH(QByteArray, extra);
    QFETCH(QString, keep);
    QFETCH(QString, told);
    QFile file(m_Env->path("new.ini"));
    QVERIFY(file.open(QIODevice::Append) && file.write(extra) == extra.size());
    file.close();
    QString errors;
    QCOMPARE(Run({"/l", m_Env->path("new.ini"), "/keep", keep}, &errors), 5);
    QVERIFY2(errors.contains(told), qPrintable(errors));
    QCOMPARE(m_Env->readHive()
                 .remove(QStringLiteral("\"RegistrationEnabled\"=dword:00000001\n"))
                 .remove(QStringLiteral("\"RegisterAdapterName\"=dword:00000000\n")),
             m_Before);
    CPendingApply pending;
    QVERIFY(!Store().ReadPending(&pending));
}

// The confirmation comes from another process; while the change waits for
// it, a second apply or an undo is refused and changes nothing.
void TestSafeApply::confirmationKeeps()
{
    QVERIFY(StartWaiter(30));
    const QString changed = m_Env->readHive();
    QCOMPARE(Address(), QStringLiteral("ip=192.168.1.77"));
    QString errors;
    QCOMPARE(Run({"/l", m_Env->path("new.ini")}, &errors), 6);
    QVERIFY2(errors.contains("waits for its confirmation"), qPrintable(errors));
    QCOMPARE(Run({"/undo"}), 6);
    QCOMPARE(m_Env->readHive(), changed);

    QCOMPARE(Run({"/keep"}), 0);
    QCOMPARE(WaiterExit(), 0);
    QCOMPARE(m_Env->readHive(), changed);
    QCOMPARE(Run({"/keep"}, &errors), 6); // nothing waits any more
    QVERIFY2(errors.contains("No change of the network settings waits for a confirmation."), qPrintable(errors));
}

void TestSafeApply::killedWaiterIsRecovered()
{
    QVERIFY(StartWaiter(300));
    QCOMPARE(Address(), QStringLiteral("ip=192.168.1.77"));
    m_Waiter->kill();
    QCOMPARE(WaiterExit(), -1);
    // Any start of the program sees it, here a save.
    QString errors;
    QCOMPARE(Run({"/s", m_Env->path("saved.ini")}, &errors), 0);
    QVERIFY2(errors.contains("was never confirmed"), qPrintable(errors));
    QCOMPARE(m_Env->readHive(), m_Before);
    QCOMPARE(Run({"/s", m_Env->path("again.ini")}, &errors), 0);
    QCOMPARE(errors, QString());
}

void TestSafeApply::undoRestores()
{
    QString errors;
    QCOMPARE(Run({"/undo"}, &errors), 3);
    QVERIFY2(errors.contains("There are no earlier settings to restore."), qPrintable(errors));
    QCOMPARE(Run({"/l", m_Env->path("new.ini")}), 0);
    QCOMPARE(Address(), QStringLiteral("ip=192.168.1.77"));
    const QString snapshot = Store().LatestSnapshot();
    QCOMPARE(Run({"/undo"}), 0);
    QCOMPARE(m_Env->readHive(), m_Before);
    // Undo takes no snapshot of its own; a snapshot is an ordinary settings file.
    QCOMPARE(Store().LatestSnapshot(), snapshot);
    QCOMPARE(Run({"/l", m_Env->path("new.ini")}), 0);
    QCOMPARE(Run({"/l", snapshot}), 0);
    QCOMPARE(m_Env->readHive(), m_Before);
}

// The question counts down and reverts unless Keep is pressed; a revert
// time given on the command line makes it ask even without a screen.
void TestSafeApply::dialogKeepsOrReverts_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("kept");
    QTest::newRow("no answer") << QString() << false;
    QTest::newRow("Revert") << "btnRevert" << false;
    QTest::newRow("Keep") << "btnKeep" << true;
}

void TestSafeApply::dialogKeepsOrReverts()
{
    QFETCH(QString, answer);
    QFETCH(bool, kept);
    MsgBoxRecorder boxes;
    const auto dialog = ReadHost();
    QVERIFY(dialog);
    dialog->SelectAdapter(0);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    QVERIFY(!dialog->btnRestore->isEnabled()); // nothing to restore yet
    dialog->SetRevertTime(1, true);
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
    QVERIFY(Type(dialog->AdaptersPage()->ledIPAddress, QStringLiteral("192.168.1.77")));
    Click(dialog->btnApply);
    QCOMPARE(question, QStringLiteral("Keep these network settings? Reverting in 1 seconds"));
    const QString shown = kept ? QStringLiteral("192.168.1.77") : QStringLiteral("192.168.1.5");
    QCOMPARE(Address(), QStringLiteral("ip=") + shown);
    QVERIFY(kept || m_Env->readHive() == m_Before);
    QCOMPARE(dialog->AdaptersPage()->ledIPAddress->text(), shown);
    QCOMPARE(boxes.texts(), QStringList());
    QVERIFY(dialog->btnRestore->isEnabled());
}

QTEST_MAIN(TestSafeApply)
#include "tst_safeapply.moc"
