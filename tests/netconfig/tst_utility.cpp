// The utilities page with stand-in programs and with the system's own ping.
#include "netconfigimpl.h"
#include "testenv.h"

#include <QDir>
#include <QtTest>

#include <csignal>
#include <memory>
#include <unistd.h>

namespace {

const int kRunTimeoutMs = 60000;

bool IsIdle(const CNetConfigImpl& d)
{
    return d.btnStartUtility->text() == QStringLiteral("&Start") && d.comboUtility->isEnabled();
}

QString Pane(const CNetConfigImpl& d) { return d.editUtilityOutput->toPlainText(); }

QColor ColorOf(const CNetConfigImpl& dialog, const QString& text)
{
    QTextCursor cursor = dialog.editUtilityOutput->document()->find(text);
    cursor.setPosition(cursor.selectionStart() + 1);
    return cursor.isNull() ? QColor() : cursor.charFormat().foreground().color();
}

int CountReplies(const QString& text) { return int(text.count(QRegularExpression(QStringLiteral("seq=\\d+")))); }

// Live children of this process running ping, from /proc.
QList<qint64> PingChildren()
{
    QList<qint64> pids;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll(); // pid (comm) state ppid ...
        const QList<QByteArray> rest = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (line.contains("(ping)") && rest.size() > 1 && rest.at(0) != "Z" && rest.at(1).toLong() == ::getpid())
            pids << entry.toLongLong();
    }
    return pids;
}

} // namespace

class TestUtility : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_Env;
    std::unique_ptr<QTemporaryDir> m_Stand;

    // Puts a shell script named ping in a system folder of its own.
    void StandInPing(const QByteArray& body)
    {
        m_Stand = std::make_unique<QTemporaryDir>();
        QFile file(m_Stand->filePath(QStringLiteral("ping")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + body + "\n");
        file.close();
        QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
        qputenv("WINSYS_SYSTEM_DIR", m_Stand->path().toLocal8Bit());
    }

    bool Run(CNetConfigImpl& dialog, const QString& target)
    {
        dialog.editUtilityTarget->setText(target);
        dialog.btnStartUtility->click();
        return QTest::qWaitFor([&] { return IsIdle(dialog); }, kRunTimeoutMs);
    }

private slots:
    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        QVERIFY(m_Env->initSampleHost());
    }

    void cleanup()
    {
        qunsetenv("WINSYS_SYSTEM_DIR");
        m_Stand.reset();
        m_Env.reset();
    }

    void arguments_data()
    {
        QTest::addColumn<int>("utility");
        QTest::addColumn<QString>("checks");
        QTest::addColumn<QStringList>("expected");
        const QString all = "btnEndlessPing btnResolveAddress btnPingEchoRqv btnDontResolveAddress btnTraceHops "
                            "btnReplyWait";
        QTest::newRow("ping, own options only") << 0 << all << QStringList{"ping", "-t", "-a", "-n 999", "a b"};
        QTest::newRow("tracert, own options only") << 1 << all
                                                   << QStringList{"tracert", "-d", "-h 12", "-w 345", "a b"};
        QTest::newRow("tracert, unchecked spins") << 1 << "btnDontResolveAddress"
                                                  << QStringList{"tracert", "-d", "a b"};
    }

    void arguments()
    {
        QFETCH(int, utility);
        QFETCH(QString, checks);
        QFETCH(QStringList, expected);
        CNetConfigImpl dialog;
        for (const QString& name : checks.split(u' '))
            dialog.findChild<QCheckBox*>(name)->setChecked(true);
        dialog.spinPingEchoRqvNum->setValue(999);
        dialog.spinTraceHopsNum->setValue(12);
        dialog.spinReplyWaitTime->setValue(345);
        dialog.comboUtility->setCurrentIndex(utility);
        dialog.editUtilityTarget->setText(QStringLiteral("a b"));
        QCOMPARE(dialog.BuildUtilityArguments(), expected);
    }

    // A marker in the target must not be taken for one of the template's;
    // output is shown as text, never as markup, and stderr in red.
    void outputAndCompletionLines()
    {
        StandInPing("printf '<font color=\"blue\">x</font> &\\r\\n'; sleep 0.2; printf 'bad <z>\\n' >&2");
        CNetConfigImpl dialog;
        QVERIFY(Run(dialog, QStringLiteral("%2x%1")));
        QCOMPARE(Pane(dialog), QStringLiteral("Running ping %2x%1.\n<font color=\"blue\">x</font> &\nbad <z>\n\n"
                                              "ping %2x%1 done.\n"));
        QCOMPARE(ColorOf(dialog, QStringLiteral(" done.")), QColor(QStringLiteral("darkgreen")));
        QVERIFY(ColorOf(dialog, QStringLiteral("x</font>")) != QColor(QStringLiteral("blue")));
        QCOMPARE(ColorOf(dialog, QStringLiteral("bad <z>")), QColor(QStringLiteral("red")));
    }

    // Console output is decoded with the code page that layout.ini names.
    void decodingFollowsCodepage()
    {
        const QString dir = m_Env->configDir() + QStringLiteral("/netconfig");
        QFile layout(dir + QStringLiteral("/layout.ini"));
        QVERIFY(QDir().mkpath(dir) && layout.open(QIODevice::WriteOnly));
        layout.write("[Console]\nCodepage = 866\n");
        layout.close();
        StandInPing("printf '\\217\\340\\250\\242\\245\\342\\000after zero'");
        CNetConfigImpl dialog;
        QVERIFY(Run(dialog, QStringLiteral("h")));
        QCOMPARE(Pane(dialog), QString::fromUtf8("Running ping h.\n\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82\n"
                                                 "ping h done.\n"));
    }

    void realPing()
    {
        CNetConfigImpl dialog;
        dialog.btnPingEchoRqv->setChecked(true);
        dialog.spinPingEchoRqvNum->setValue(2);
        QVERIFY(Run(dialog, QStringLiteral("127.0.0.1")));
        QCOMPARE(CountReplies(Pane(dialog)), 2);
        QVERIFY2(Pane(dialog).endsWith(QStringLiteral("\n\nping -n 2 127.0.0.1 done.\n")), qPrintable(Pane(dialog)));
    }

    // Stop and closing the dialog end the child; nothing follows "done.".
    void stopAndCloseEndTheChild()
    {
        auto dialog = std::make_unique<CNetConfigImpl>();
        dialog->btnEndlessPing->setChecked(true);
        dialog->editUtilityTarget->setText(QStringLiteral("127.0.0.1"));
        for (const bool close : {false, true}) {
            dialog->btnStartUtility->click();
            QTRY_VERIFY_WITH_TIMEOUT(CountReplies(Pane(*dialog)) >= 1, kRunTimeoutMs);
            const QList<qint64> children = PingChildren();
            QCOMPARE(children.size(), 1);
            if (close) {
                dialog.reset();
                QVERIFY(PingChildren().isEmpty()); // reaped, not merely signalled
            } else {
                dialog->btnStartUtility->click();
                QTRY_VERIFY_WITH_TIMEOUT(IsIdle(*dialog), kRunTimeoutMs);
                QTRY_VERIFY(::kill(pid_t(children.first()), 0) != 0);
                const QString stopped = Pane(*dialog);
                QVERIFY(stopped.endsWith(QStringLiteral("\nping -t 127.0.0.1 done.\n")));
                QTest::qWait(1000);
                QCOMPARE(Pane(*dialog), stopped);
            }
        }
    }
};

QTEST_MAIN(TestUtility)
#include "tst_utility.moc"
