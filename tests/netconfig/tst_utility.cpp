// The utilities page with stand-in programs and with the system's own ping.
#include "netconfigimpl.h"
#include "testenv.h"

#include <QDir>
#include <QtTest>

#include <memory>

namespace {

const int kRunTimeoutMs = 60000;

bool IsIdle(const CNetConfigImpl& d)
{
    return d.UtilitiesPage()->btnStartUtility->text() == QStringLiteral("&Start") &&
           d.UtilitiesPage()->comboUtility->isEnabled();
}

QString Pane(const CNetConfigImpl& d)
{
    return d.UtilitiesPage()->editUtilityOutput->toPlainText();
}

QColor ColorOf(const CNetConfigImpl& dialog, const QString& text)
{
    QTextCursor cursor = dialog.UtilitiesPage()->editUtilityOutput->document()->find(text);
    cursor.setPosition(cursor.selectionStart() + 1);
    return cursor.isNull() ? QColor() : cursor.charFormat().foreground().color();
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
        dialog.UtilitiesPage()->editUtilityTarget->setText(target);
        dialog.UtilitiesPage()->btnStartUtility->click();
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
        QTest::newRow("tracert, own options only")
            << 1 << all << QStringList{"tracert", "-d", "-h 12", "-w 345", "a b"};
        QTest::newRow("tracert, unchecked spins")
            << 1 << "btnDontResolveAddress" << QStringList{"tracert", "-d", "a b"};
    }

    void arguments()
    {
        QFETCH(int, utility);
        QFETCH(QString, checks);
        QFETCH(QStringList, expected);
        CNetConfigImpl dialog;
        for (const QString& name : checks.split(u' '))
            dialog.findChild<QCheckBox*>(name)->setChecked(true);
        dialog.UtilitiesPage()->spinPingEchoRqvNum->setValue(999);
        dialog.UtilitiesPage()->spinTraceHopsNum->setValue(12);
        dialog.UtilitiesPage()->spinReplyWaitTime->setValue(345);
        dialog.UtilitiesPage()->comboUtility->setCurrentIndex(utility);
        dialog.UtilitiesPage()->editUtilityTarget->setText(QStringLiteral("a b"));
        dialog.UtilitiesPage()->editUtilityTarget->setText(QString());
        QVERIFY(!dialog.UtilitiesPage()->btnStartUtility->isEnabled());
        dialog.UtilitiesPage()->editUtilityTarget->setText(QStringLiteral("a b"));
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

    // Console output is decoded with the code page that layout.ini names;
    // 850 when it names none, Latin-1 without a table for the code page.
    void decodingFollowsCodepage_data()
    {
        QTest::addColumn<QByteArray>("layout"); // empty: no layout.ini
        QTest::addColumn<QString>("codepage");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QString>("shown");
        QTest::newRow("866") << QByteArray("[Console]\nCodepage = 866\n") << "866"
                             << QByteArray("\\217\\340\\250\\242\\245\\342\\000after zero")
                             << QString::fromUtf8("\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82");
        QTest::newRow("no layout.ini") << QByteArray() << "" << QByteArray("caf\\351")
                                       << QString::fromUtf8("caf\xc3\xa9");
        QTest::newRow("unknown code page")
            << QByteArray("Codepage = 1234\n") << "1234" << QByteArray("caf\\351") << QString::fromUtf8("caf\xc3\xa9");
        QTest::newRow("NUL first") << QByteArray() << "" << QByteArray("\\000after") << QString();
        QTest::newRow("no blanks around =")
            << QByteArray("Codepage=866\n") << "850" << QByteArray("caf\\351") << QString::fromUtf8("caf\xc3\xa9");
    }

    void decodingFollowsCodepage()
    {
        QFETCH(QByteArray, layout);
        QFETCH(QByteArray, output);
        QFETCH(QString, shown);
        if (!layout.isEmpty()) {
            const QString dir = m_Env->configDir() + QStringLiteral("/netconfig");
            QFile file(dir + QStringLiteral("/layout.ini"));
            QVERIFY(QDir().mkpath(dir) && file.open(QIODevice::WriteOnly));
            file.write(layout);
        }
        StandInPing("printf '" + output + "'");
        CNetConfigImpl dialog;
        QTEST(dialog.ConsoleCodepage(), "codepage");
        QVERIFY(Run(dialog, QStringLiteral("h")));
        QCOMPARE(Pane(dialog), QStringLiteral("Running ping h.\n%1\nping h done.\n").arg(shown));
    }

    // Stop ends the real ping: nothing follows "done.".
    void stopEndsTheChild()
    {
        CNetConfigImpl dialog;
        dialog.UtilitiesPage()->btnEndlessPing->setChecked(true);
        dialog.UtilitiesPage()->editUtilityTarget->setText(QStringLiteral("127.0.0.1"));
        dialog.UtilitiesPage()->btnStartUtility->click();
        QTRY_VERIFY_WITH_TIMEOUT(Pane(dialog).contains(QStringLiteral("Reply from 127.0.0.1")), kRunTimeoutMs);
        dialog.UtilitiesPage()->btnStartUtility->click();
        QTRY_VERIFY_WITH_TIMEOUT(IsIdle(dialog), kRunTimeoutMs);
        const QString stopped = Pane(dialog);
        QVERIFY(stopped.endsWith(QStringLiteral("\nping -t 127.0.0.1 done.\n")));
        QTest::qWait(1500);
        QCOMPARE(Pane(dialog), stopped);
    }
};

QTEST_MAIN(TestUtility)
#include "tst_utility.moc"
