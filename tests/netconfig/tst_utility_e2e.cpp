#include "testenv.h"
#include "utilitypage.h"

#include <QDir>
#include <QRegularExpression>
#include <QtTest>

#include <csignal>
#include <memory>
#include <unistd.h>

namespace {

const int kRunTimeoutMs = 60000;

int CountReplies(const QString& text)
{
    static const QRegularExpression reply(QStringLiteral("seq=\\d+"));
    return int(text.count(reply));
}

// Children of this process running the given program (from /proc).
QList<qint64> ChildrenNamed(const QByteArray& name)
{
    QList<qint64> pids;
    const QString self = QString::number(::getpid());
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        // pid (comm) state ppid ...
        const qsizetype open = line.indexOf('('), close = line.lastIndexOf(')');
        if (open < 0 || close < 0)
            continue;
        const QList<QByteArray> rest = line.mid(close + 2).split(' ');
        if (line.mid(open + 1, close - open - 1) == name && rest.size() > 1 && rest.at(0) != "Z" &&
            rest.at(1) == self.toLatin1())
            pids << entry.toLongLong();
    }
    return pids;
}

bool ProcessGone(qint64 pid)
{
    return ::kill(pid_t(pid), 0) != 0;
}

} // namespace

// The utilities page with the emulated ping and tracert of the system
// folder, which run the machine's own programs.
class TestUtilityEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pingLoopbackTwice();
    void traceRouteLoopback();
    void stopEndlessPing();
    void closingDialogEndsChild();
    void hostileTargetsStayTargets_data();
    void hostileTargetsStayTargets();

private:
    std::unique_ptr<TestEnv> m_Env;
};

void TestUtilityEndToEnd::init()
{
    m_Env = std::make_unique<TestEnv>();
    QVERIFY(m_Env->initSampleHost());
}

void TestUtilityEndToEnd::cleanup()
{
    m_Env.reset();
}

void TestUtilityEndToEnd::pingLoopbackTwice()
{
    CNetConfigImpl dialog;
    dialog.btnPingEchoRqv->setChecked(true);
    dialog.spinPingEchoRqvNum->setValue(2);
    SetTarget(dialog, QStringLiteral("127.0.0.1"));
    dialog.btnStartUtility->click();
    QCOMPARE(dialog.btnStartUtility->text(), QStringLiteral("&Stop"));
    QTRY_VERIFY_WITH_TIMEOUT(IsIdle(dialog), kRunTimeoutMs);

    const QString text = PaneText(dialog);
    QVERIFY2(text.startsWith(QStringLiteral("Running ping -n 2 127.0.0.1.\n")), qPrintable(text));
    QCOMPARE(CountReplies(text), 2);
    QVERIFY2(text.endsWith(QStringLiteral("\n\nping -n 2 127.0.0.1 done.\n")), qPrintable(text));
}

void TestUtilityEndToEnd::traceRouteLoopback()
{
    CNetConfigImpl dialog;
    dialog.comboUtility->setCurrentIndex(1);
    dialog.btnDontResolveAddress->setChecked(true);
    dialog.btnTraceHops->setChecked(true);
    dialog.spinTraceHopsNum->setValue(2);
    SetTarget(dialog, QStringLiteral("127.0.0.1"));
    dialog.btnStartUtility->click();
    QTRY_VERIFY_WITH_TIMEOUT(IsIdle(dialog), kRunTimeoutMs);

    const QString text = PaneText(dialog);
    QVERIFY2(text.startsWith(QStringLiteral("Running tracert -d -h 2 127.0.0.1.\n")), qPrintable(text));
    QVERIFY2(text.endsWith(QStringLiteral("tracert -d -h 2 127.0.0.1 done.\n")), qPrintable(text));
    // More than the two lines of the page itself: the program's own output.
    QVERIFY2(text.count(QStringLiteral("127.0.0.1")) > 2, qPrintable(text));
}

void TestUtilityEndToEnd::stopEndlessPing()
{
    CNetConfigImpl dialog;
    dialog.btnEndlessPing->setChecked(true);
    SetTarget(dialog, QStringLiteral("127.0.0.1"));
    dialog.btnStartUtility->click();
    QTRY_VERIFY_WITH_TIMEOUT(CountReplies(PaneText(dialog)) >= 2, kRunTimeoutMs);
    const QList<qint64> children = ChildrenNamed("ping");
    QCOMPARE(children.size(), 1);

    dialog.btnStartUtility->click(); // "&Stop"
    QTRY_VERIFY_WITH_TIMEOUT(IsIdle(dialog), kRunTimeoutMs);
    QVERIFY(PaneText(dialog).endsWith(QStringLiteral("\nping -t 127.0.0.1 done.\n")));
    QVERIFY(dialog.editUtilityTarget->isEnabled());
    QTRY_VERIFY(ProcessGone(children.first()));
    // Nothing arrives after the completion line.
    const QString stopped = PaneText(dialog);
    QTest::qWait(1500);
    QCOMPARE(PaneText(dialog), stopped);
}

void TestUtilityEndToEnd::closingDialogEndsChild()
{
    auto dialog = std::make_unique<CNetConfigImpl>();
    dialog->btnEndlessPing->setChecked(true);
    SetTarget(*dialog, QStringLiteral("127.0.0.1"));
    dialog->show();
    dialog->btnStartUtility->click();
    QTRY_VERIFY_WITH_TIMEOUT(CountReplies(PaneText(*dialog)) >= 1, kRunTimeoutMs);
    const QList<qint64> children = ChildrenNamed("ping");
    QCOMPARE(children.size(), 1);

    dialog->close();
    dialog.reset();
    // Reaped by the dialog's teardown, not merely signalled.
    QVERIFY(ProcessGone(children.first()));
    QVERIFY(ChildrenNamed("ping").isEmpty());
}

void TestUtilityEndToEnd::hostileTargetsStayTargets_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("switch") << "-f";
    QTest::newRow("long option") << "--help";
    QTest::newRow("command after semicolon") << "127.0.0.1; touch X";
    QTest::newRow("command after &&") << "127.0.0.1 && touch X";
    QTest::newRow("substitution") << "$(touch X)";
}

void TestUtilityEndToEnd::hostileTargetsStayTargets()
{
    QFETCH(QString, target);
    QTemporaryDir work;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(work.path()));
    CNetConfigImpl dialog;
    SetTarget(dialog, target);
    dialog.btnStartUtility->click();
    const bool finished = QTest::qWaitFor([&] { return IsIdle(dialog); }, kRunTimeoutMs);
    QDir::setCurrent(previous);
    QVERIFY(finished);

    const QString text = PaneText(dialog);
    // The Windows ping refuses the line: no shell ran, nothing was pinged,
    // and the machine's ping never saw the text as one of its options.
    QVERIFY2(text.contains(QStringLiteral("Usage: ping")), qPrintable(text));
    QCOMPARE(CountReplies(text), 0);
    QVERIFY(!QFile::exists(work.filePath(QStringLiteral("X"))));
    QVERIFY(text.endsWith(QStringLiteral("ping %1 done.\n").arg(target)));
}

QTEST_MAIN(TestUtilityEndToEnd)
#include "tst_utility_e2e.moc"
