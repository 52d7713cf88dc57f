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

    void targetIsOneArgument_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("count");
        QTest::addColumn<QStringList>("received");
        QTest::newRow("switches") << "-n 1 x" << false << QStringList{"-n 1 x"};
        QTest::newRow("after the count") << "-n 1 x" << true << QStringList{"-n", "4", "-n 1 x"};
        QTest::newRow("blanks") << "  " << false << QStringList{"  "};
        QTest::newRow("quotes, backslashes") << "a \\\"b\" c\\" << false << QStringList{"a \\\"b\" c\\"};
        QTest::newRow("markup") << "<b>x</b> y" << false << QStringList{"<b>x</b> y"};
    }

    // The child gets the target exactly as typed, as one argument, and the
    // "Running" line shows it as text.
    void targetIsOneArgument()
    {
        QFETCH(QString, target);
        QFETCH(bool, count);
        QFETCH(QStringList, received);
        StandInPing("for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done");
        CNetConfigImpl dialog;
        dialog.UtilitiesPage()->btnPingEchoRqv->setChecked(count);
        dialog.UtilitiesPage()->spinPingEchoRqvNum->setValue(4);
        QVERIFY(Run(dialog, target));
        const QString command = QStringLiteral("ping ") + (count ? QStringLiteral("-n 4 ") : QString()) + target;
        QString expected = QStringLiteral("Running %1.\n").arg(command);
        for (const QString& word : received)
            expected += u'[' + word + QStringLiteral("]\n");
        QCOMPARE(Pane(dialog), expected + QStringLiteral("\n%1 done.\n").arg(command));
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

    // Each console code page of layout.ini decodes as the codec the page
    // used to name for it did; 437 and 850 are read as Latin-1.
    void decodingPerCodepage_data()
    {
        QTest::addColumn<QString>("codepage");
        QTest::addColumn<QByteArray>("hex");
        QTest::addColumn<QString>("text");
        QTest::newRow("437") << "437" << QByteArray("5a6569743c316d73206772f6df6572")
                             << QStringLiteral("Zeit<1ms größer");
        QTest::newRow("850") << "850" << QByteArray("81949a") << QStringLiteral("\u0081\u0094\u009a");
        QTest::newRow("852") << "852" << QByteArray("4f64706f76ecef206f643a20e861733c316d7320a3f364bc")
                             << QStringLiteral("Odpověď od: čas<1ms Łódź");
        QTest::newRow("737") << "737" << QByteArray("c1f0dcedf4e7f3e720e1f0fc3a20f7f1fcedeff23c316d73")
                             << QStringLiteral("Απάντηση από: χρόνος<1ms");
        QTest::newRow("866") << "866" << QByteArray("8ee2a2a5e220aee23a20a2e0a5acef3c31ace1")
                             << QStringLiteral("Ответ от: время<1мс");
        QTest::newRow("936") << "936" << QByteArray("c0b4d7d420b5c4bbd8b8b43a20cab1bce43c316d732080")
                             << QStringLiteral("来自 的回复: 时间<1ms €");
        QTest::newRow("950") << "950" << QByteArray("a8d3a6db20aabaa65ec2d03a20aec9b6a13c316d73")
                             << QStringLiteral("來自 的回覆: 時間<1ms");
        QTest::newRow("932") << "932" << QByteArray("82a982e782cc899e939a3a208e9e8ad4203c316d7320b1b2205c7e")
                             << QStringLiteral("からの応答: 時間 <1ms ｱｲ \\~");
        QTest::newRow("949") << "949" << QByteArray("c0c720c0c0b4e43a20bdc3b0a33c316d73208c63")
                             << QStringLiteral("의 응답: 시간<1ms 똠");
        QTest::newRow("unknown, Latin-1") << "1251" << QByteArray("e4") << QStringLiteral("ä");
    }

    void decodingPerCodepage()
    {
        QFETCH(QString, codepage);
        QFETCH(QByteArray, hex);
        QFETCH(QString, text);
        const QString dir = m_Env->configDir() + QStringLiteral("/netconfig");
        QFile layout(dir + QStringLiteral("/layout.ini"));
        QVERIFY(QDir().mkpath(dir) && layout.open(QIODevice::WriteOnly));
        layout.write("[Console]\nCodepage = " + codepage.toLatin1() + "\n");
        layout.close();
        QByteArray octal;
        for (const char byte : QByteArray::fromHex(hex))
            octal += '\\' + QByteArray::number(uchar(byte), 8).rightJustified(3, '0');
        StandInPing("printf '" + octal + "'");
        CNetConfigImpl dialog;
        QVERIFY(Run(dialog, QStringLiteral("h")));
        QCOMPARE(Pane(dialog), QStringLiteral("Running ping h.\n") + text + QStringLiteral("\nping h done.\n"));
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
