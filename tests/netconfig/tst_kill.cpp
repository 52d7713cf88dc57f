#include "hosthive.h"
#include "testenv.h"

#include <QtTest>

namespace {

// A name no other process on the machine carries, short enough to survive
// the kernel's 15-character process names.
QString UniqueName()
{
    return QStringLiteral("nck%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

} // namespace

// Kill mode of the real program against real child processes.
class TestKill : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void killsFirstMatch_data();
    void killsFirstMatch();
    void noMatchStillExitsOne();
    void killAloneIsNotKillMode();

private:
    std::unique_ptr<QTemporaryDir> m_Dir;
    std::unique_ptr<QProcess> m_Child;
    QString m_Name;
};

void TestKill::init()
{
    m_Dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_Dir->isValid());
    m_Name = UniqueName();
    const QString program = m_Dir->filePath(m_Name);
    const QString sleep = QStandardPaths::findExecutable(QStringLiteral("sleep"));
    QVERIFY(!sleep.isEmpty());
    QVERIFY(QFile::copy(sleep, program));
    QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner));
    m_Child = std::make_unique<QProcess>();
    m_Child->start(program, {QStringLiteral("300")});
    QVERIFY(m_Child->waitForStarted());
}

void TestKill::cleanup()
{
    if (m_Child && m_Child->state() != QProcess::NotRunning) {
        m_Child->kill();
        m_Child->waitForFinished();
    }
    m_Child.reset();
    m_Dir.reset();
}

void TestKill::killsFirstMatch_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("whole name") << "name";
    QTest::newRow("part of the name, other case") << "part";
    QTest::newRow("process id") << "pid";
}

void TestKill::killsFirstMatch()
{
    QFETCH(QString, how);
    QString text = m_Name;
    if (how == QLatin1String("part"))
        text = m_Name.mid(1, 7).toUpper();
    else if (how == QLatin1String("pid"))
        text = QString::number(m_Child->processId());

    TestEnv env;
    QString errors;
    QCOMPARE(env.runNetconfig({QStringLiteral("-kill"), text}, &errors), 1);
    QVERIFY(m_Child->waitForFinished(30000));
    QCOMPARE(m_Child->state(), QProcess::NotRunning);
    // Kill mode reports nothing, and never starts the application.
    QVERIFY2(errors.trimmed().isEmpty(), qPrintable(errors));
    QVERIFY(!QFileInfo::exists(env.configDir() + QStringLiteral("/netconfig/settings.xml")));
}

void TestKill::noMatchStillExitsOne()
{
    TestEnv env;
    QCOMPARE(env.runNetconfig({QStringLiteral("-kill"), UniqueName() + QStringLiteral("x")}), 1);
    QCOMPARE(m_Child->state(), QProcess::Running);
}

// With no second argument the program starts as usual: on a host without
// adapters it then stops with the system's message (kill mode would be silent).
void TestKill::killAloneIsNotKillMode()
{
    TestEnv env;
    HostHive host;
    QVERIFY(host.IsValid());
    host.RemoveAdapters();
    QVERIFY(host.WriteTo(env));
    QString errors;
    QCOMPARE(env.runNetconfig({QStringLiteral("-kill")}, &errors), 1);
    QVERIFY2(errors.contains(QLatin1String("netconfig: ")), qPrintable(errors));
    QCOMPARE(m_Child->state(), QProcess::Running);
}

QTEST_GUILESS_MAIN(TestKill)
#include "tst_kill.moc"
