// The utilities page with stand-in programs and with the system's own ping; its output pane's scrollback:
// bounded, newest lines kept, Clear empties it.
#include "logtextpane.h"
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

QString Lines(int first, int last, const char* end = "\r\n")
{
    QString text;
    for (int i = first; i <= last; ++i)
        text += QStringLiteral("line %1").arg(i) + QLatin1String(end);
    return text;
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
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("#!/bin/sh\n" + body + "\n") > 0);
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
        m_Stand.reset(), m_Env.reset();
    }

    // Each utility takes its own options only; Start needs a target.
    void arguments()
    {
        CNetConfigImpl dialog;
        CUtilitiesPage& page = *dialog.UtilitiesPage();
        for (QCheckBox* box : page.findChildren<QCheckBox*>())
            box->setChecked(true);
        page.spinPingEchoRqvNum->setValue(999);
        page.spinTraceHopsNum->setValue(12);
        page.spinReplyWaitTime->setValue(345);
        page.editUtilityTarget->setText(QStringLiteral("a b"));
        page.editUtilityTarget->setText(QString());
        QVERIFY(!page.btnStartUtility->isEnabled());
        page.editUtilityTarget->setText(QStringLiteral("a b"));
        QCOMPARE(dialog.BuildUtilityArguments(), (QStringList{"ping", "-t", "-a", "-n 999", "a b"}));
        page.comboUtility->setCurrentIndex(1);
        QCOMPARE(dialog.BuildUtilityArguments(), (QStringList{"tracert", "-d", "-h 12", "-w 345", "a b"}));
        page.btnTraceHops->setChecked(false);
        page.btnReplyWait->setChecked(false);
        QCOMPARE(dialog.BuildUtilityArguments(), (QStringList{"tracert", "-d", "a b"}));
    }

    // The child gets the target exactly as typed, as one argument, and the "Running" line shows it as text.
    void targetIsOneArgument_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("count");
        QTest::newRow("after the count") << "-n 1 x" << true;
        QTest::newRow("blanks") << "  " << false;
        QTest::newRow("quotes, backslashes, markup") << "a \\\"b\" <b>c\\" << false;
    }

    void targetIsOneArgument()
    {
        QFETCH(QString, target);
        QFETCH(bool, count);
        StandInPing("for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done");
        CNetConfigImpl dialog;
        dialog.UtilitiesPage()->btnPingEchoRqv->setChecked(count);
        dialog.UtilitiesPage()->spinPingEchoRqvNum->setValue(4);
        QVERIFY(Run(dialog, target));
        const QString command = QStringLiteral("ping ") + (count ? QStringLiteral("-n 4 ") : QString()) + target;
        QCOMPARE(Pane(dialog), QStringLiteral("Running %1.\n%2[%3]\n\n%1 done.\n")
                                   .arg(command, count ? QStringLiteral("[-n]\n[4]\n") : QString(), target));
    }

    // A marker in the target must not be taken for one of the template's; output is shown as text, never as
    // markup, and stderr in red.
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

    // Console output is decoded with the code page that layout.ini names (850 when it names none; 437 and 850 as
    // Latin-1), as the codec the page used to name for it did; Latin-1 without a table for the code page.
    void decoding_data()
    {
        QTest::addColumn<QByteArray>("layout"); // empty: no layout.ini
        QTest::addColumn<QByteArray>("hex");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("codepage");
        const auto row = [](const char* name, const char* layout, const char* hex, const QString& shown,
                            const char* codepage) {
            QTest::newRow(name) << QByteArray(layout) << QByteArray(hex) << shown << QString::fromLatin1(codepage);
        };
        row("no layout.ini", "", "636166e9", "café", "");
        row("no blanks around =", "Codepage=866", "636166e9", "café", "850");
        row("no table", "Codepage = 1251", "e4", "ä", "1251");
        row("866, up to a NUL", "Codepage = 866", "8ee2a2a5e2006166746572", "Ответ", "866");
        row("NUL first", "", "00616263", "", "");
        row("437", "Codepage = 437", "6772f6df6572", "größer", "437");
        row("850", "Codepage = 850", "81949a", "\u0081\u0094\u009a", "850");
        row("852", "Codepage = 852", "a3f364bc", "Łódź", "852");
        row("737", "Codepage = 737", "c1f0dcedf4e7f3e7", "Απάντηση", "737");
        row("936", "Codepage = 936", "c0b4d7d480", "来自€", "936");
        row("950", "Codepage = 950", "a8d3a6db", "來自", "950");
        row("932", "Codepage = 932", "82a982e782ccb1b25c7e", "からのｱｲ\\~", "932");
        row("949", "Codepage = 949", "c0c78c63", "의똠", "949");
    }

    void decoding()
    {
        QFETCH(QByteArray, layout);
        QFETCH(QByteArray, hex);
        if (!layout.isEmpty()) {
            const QString dir = m_Env->configDir() + QStringLiteral("/netconfig");
            QFile file(dir + QStringLiteral("/layout.ini"));
            QVERIFY(QDir().mkpath(dir) && file.open(QIODevice::WriteOnly));
            file.write("[Console]\n" + layout + "\n");
        }
        QByteArray octal;
        for (const char byte : QByteArray::fromHex(hex))
            octal += '\\' + QByteArray::number(uchar(byte), 8).rightJustified(3, '0');
        StandInPing("printf '" + octal + "'");
        CNetConfigImpl dialog;
        QTEST(dialog.ConsoleCodepage(), "codepage");
        QVERIFY(Run(dialog, QStringLiteral("h")));
        QTEST(Pane(dialog).section(u'\n', 1, 1), "shown");
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

    // However the output arrives, the newest lines are the ones kept.
    void keepsTheNewestLines_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<QStringList>("fragments");
        QTest::addColumn<QString>("kept");
        QStringList oneByOne;
        for (int i = 1; i <= 25; ++i)
            oneByOne << Lines(i, i);
        QTest::newRow("line by line") << 10 << oneByOne << Lines(16, 25, "\n");
        QTest::newRow("lines split across reads")
            << 3 << QStringList{"line 1\r\nli", "ne 2\r\nline 3\r", "\nline 4\r\nline", " 5\r\n"} << Lines(3, 5, "\n");
        QTest::newRow("fewer lines than the limit") << 10 << QStringList{Lines(1, 4)} << Lines(1, 4, "\n");
        QTest::newRow("colours") << 2 << QStringList{"<font color=\"red\">" + Lines(1, 3) + "</font>", Lines(4, 4)}
                                 << Lines(3, 4, "\n");
        QTest::newRow("default limit") << 0 << QStringList{Lines(1, kDefaultLogPaneLines + 5)}
                                       << Lines(6, kDefaultLogPaneLines + 5, "\n");
    }

    void keepsTheNewestLines()
    {
        QFETCH(int, limit);
        QFETCH(QStringList, fragments);
        QTextBrowser pane;
        if (limit)
            PrepareLogPane(&pane, limit);
        else
            PrepareLogPane(&pane);
        for (const QString& fragment : fragments)
            AppendLogText(&pane, fragment);
        QTEST(pane.toPlainText(), "kept");
    }

    // A limit read from the settings may be nonsense or may change later; Clear keeps it.
    void limitGivenLaterAndClear()
    {
        QTextBrowser pane;
        PrepareLogPane(&pane, 0);
        AppendLogText(&pane, Lines(1, 20));
        QCOMPARE(pane.toPlainText(), Lines(1, 20, "\n"));
        PrepareLogPane(&pane, 5);
        QCOMPARE(pane.toPlainText(), Lines(16, 20, "\n"));
        AppendLogText(&pane, Lines(21, 22));
        QCOMPARE(pane.toPlainText(), Lines(18, 22, "\n"));
        ClearLogPane(&pane);
        QVERIFY(pane.document()->isEmpty());
        QCOMPARE(pane.document()->blockCount(), 1);
        AppendLogText(&pane, Lines(51, 60));
        QCOMPARE(pane.toPlainText(), Lines(56, 60, "\n"));
    }
};

QTEST_MAIN(TestUtility)
#include "tst_utility.moc"
