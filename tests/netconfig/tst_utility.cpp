// The utilities page with stand-in ping programs.
#include "applytestutil.h"

#include <QDir>

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
        m_Stand.reset();
        m_Env.reset();
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
    }

    // The child gets the target exactly as typed, as one argument after the options, and the "Running" line shows
    // it as text.
    void targetIsOneArgument()
    {
        StandInPing("for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done");
        const QString target = QStringLiteral("-n 1 \\\"b\" <b>c\\");
        CNetConfigImpl dialog;
        dialog.UtilitiesPage()->btnPingEchoRqv->setChecked(true);
        dialog.UtilitiesPage()->spinPingEchoRqvNum->setValue(4);
        QVERIFY(Run(dialog, target));
        QCOMPARE(Pane(dialog),
                 QStringLiteral("Running ping -n 4 %1.\n[-n]\n[4]\n[%1]\n\nping -n 4 %1 done.\n").arg(target));
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
    // The layout.ini line ("-": no layout.ini, "=866": "Codepage=866"), the output in hex = the code page read, the
    // line shown.
    void decoding_data()
    {
        applytest::Rows({"- 636166e9 = |café", "=866 636166e9 = 850|café", "1251 e4 = 1251|ä",
                         "866 8ee2a2a5e2006166746572 = 866|Ответ", "- 00616263 = |", "437 6772f6df6572 = 437|größer",
                         "850 81949a = 850|\u0081\u0094\u009a", "936 c0b4d7d480 = 936|来自€",
                         "932 82a982e782ccb1b25c7e = 932|からのｱｲ\\~"});
    }
    void decoding()
    {
        const QString layout = applytest::Row()[0];
        if (layout != u'-') {
            const QString dir = m_Env->configDir() + QStringLiteral("/netconfig");
            QFile file(dir + QStringLiteral("/layout.ini"));
            QVERIFY(QDir().mkpath(dir) && file.open(QIODevice::WriteOnly));
            file.write("[Console]\nCodepage" +
                       QString(layout).replace(QRegularExpression("^(\\d)"), " = \\1").toLatin1() + "\n");
        }
        QByteArray octal;
        for (const char byte : QByteArray::fromHex(applytest::Row()[1].toLatin1()))
            octal += '\\' + QByteArray::number(uchar(byte), 8).rightJustified(3, '0');
        StandInPing("printf '" + octal + "'");
        CNetConfigImpl dialog;
        const QString codepage = dialog.ConsoleCodepage();
        QVERIFY(Run(dialog, QStringLiteral("h")));
        QCOMPARE(codepage + u'|' + Pane(dialog).section(u'\n', 1, 1), applytest::Expected());
    }
};

QTEST_MAIN(TestUtility)
#include "tst_utility.moc"
