#include "logtextpane.h"
#include "testenv.h"
#include "utilitypage.h"

#include <QDir>
#include <QTextBrowser>
#include <QtTest>

#include <memory>

namespace {

const int kRunTimeoutMs = 30000;

} // namespace

// The utilities page with stand-in programs.
class TestUtility : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void arguments_data();
    void arguments();
    void targetEnablesStart();
    void runShowsOutputAndCompletion_data();
    void runShowsOutputAndCompletion();
    void runsFollowEachOtherAndClear();
    void runningStateDisablesControls();
    void outputIsEscapedAndStderrRed();
    void unstartableProgramGivesRedLine();
    void decodingFollowsCodepage_data();
    void decodingFollowsCodepage();
    void readConsoleCodepage_data();
    void readConsoleCodepage();
    void logTextAppends_data();
    void logTextAppends();
    void logTextColoursDoNotLeak();

private:
    void writeLayoutIni(const QByteArray& content);
    bool runToIdle(CNetConfigImpl& dialog);

    std::unique_ptr<TestEnv> m_Env;
    std::unique_ptr<QTemporaryDir> m_SystemDir;
    std::unique_ptr<ScopedEnv> m_SystemDirVar;
};

void TestUtility::init()
{
    m_Env = std::make_unique<TestEnv>();
    QVERIFY(m_Env->initSampleHost());
    m_SystemDir = std::make_unique<QTemporaryDir>();
    m_SystemDirVar = std::make_unique<ScopedEnv>("WINSYS_SYSTEM_DIR", m_SystemDir->path().toLocal8Bit());
}

void TestUtility::cleanup()
{
    m_SystemDirVar.reset();
    m_SystemDir.reset();
    m_Env.reset();
}

void TestUtility::writeLayoutIni(const QByteArray& content)
{
    const QString dir = m_Env->configDir() + QStringLiteral("/netconfig");
    QVERIFY(QDir().mkpath(dir));
    QFile file(dir + QStringLiteral("/layout.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

bool TestUtility::runToIdle(CNetConfigImpl& dialog)
{
    dialog.btnStartUtility->click();
    return QTest::qWaitFor([&] { return IsIdle(dialog) && PaneText(dialog).contains(QStringLiteral(" done.")); },
                           kRunTimeoutMs);
}

void TestUtility::arguments_data()
{
    // Settings: check boxes to check and spin boxes to set (name=value).
    QTest::addColumn<int>("utility");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("expected");

    const QString allTrace = "btnDontResolveAddress btnTraceHops spinTraceHopsNum=30 btnReplyWait spinReplyWaitTime=1000";
    QTest::newRow("ping plain") << 0 << "" << "10.0.0.1" << QStringList{"ping", "10.0.0.1"};
    QTest::newRow("ping all options, 999") << 0 << "btnEndlessPing btnResolveAddress btnPingEchoRqv spinPingEchoRqvNum=999"
                                           << "10.0.0.1" << QStringList{"ping", "-t", "-a", "-n 999", "10.0.0.1"};
    QTest::newRow("unchecked count ignored") << 0 << "btnResolveAddress spinPingEchoRqvNum=77" << "host"
                                             << QStringList{"ping", "-a", "host"};
    QTest::newRow("trace options ignored by ping") << 0 << allTrace << "host" << QStringList{"ping", "host"};
    QTest::newRow("tracert -d first") << 1 << allTrace << "10.0.0.1"
                                      << QStringList{"tracert", "-d", "-h 30", "-w 1000", "10.0.0.1"};
    QTest::newRow("ping options ignored by tracert") << 1 << "btnEndlessPing btnResolveAddress btnPingEchoRqv"
                                                     << "host" << QStringList{"tracert", "host"};
    QTest::newRow("unchecked spins ignored") << 1 << "btnDontResolveAddress spinTraceHopsNum=12 spinReplyWaitTime=345"
                                             << "host" << QStringList{"tracert", "-d", "host"};
    QTest::newRow("empty target still last") << 1 << "" << "" << QStringList{"tracert", ""};
    QTest::newRow("hostile target one element") << 0 << "" << "127.0.0.1; touch X"
                                                << QStringList{"ping", "127.0.0.1; touch X"};
}

void TestUtility::arguments()
{
    QFETCH(int, utility);
    QFETCH(QString, settings);
    QFETCH(QString, target);
    QFETCH(QStringList, expected);

    CNetConfigImpl dialog;
    for (const QString& setting : settings.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList parts = setting.split(u'=');
        if (parts.count() == 2) {
            auto* spin = dialog.findChild<QSpinBox*>(parts[0]);
            QVERIFY(spin);
            spin->setValue(parts[1].toInt());
        } else {
            auto* check = dialog.findChild<QCheckBox*>(parts[0]);
            QVERIFY(check);
            check->setChecked(true);
        }
    }
    dialog.comboUtility->setCurrentIndex(utility);
    SetTarget(dialog, target);
    QCOMPARE(dialog.BuildUtilityArguments(), expected);
}

void TestUtility::targetEnablesStart()
{
    CNetConfigImpl dialog;
    QVERIFY(!dialog.btnStartUtility->isEnabled());
    dialog.editUtilityTarget->setFocus();
    QTest::keyClicks(dialog.editUtilityTarget, QStringLiteral("x"));
    QVERIFY(dialog.btnStartUtility->isEnabled());
    dialog.editUtilityTarget->setText(QString());
    QVERIFY(!dialog.btnStartUtility->isEnabled());
    dialog.editUtilityTarget->setText(QStringLiteral("   ")); // blanks count
    QVERIFY(dialog.btnStartUtility->isEnabled());
}

void TestUtility::runShowsOutputAndCompletion_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("commandLine");
    QTest::newRow("address") << "127.0.0.1" << "ping -n 3 127.0.0.1";
    // A marker in the target must not be taken for one of the template's.
    QTest::newRow("marker in target") << "%2x%1" << "ping -n 3 %2x%1";
}

void TestUtility::runShowsOutputAndCompletion()
{
    QFETCH(QString, target);
    QFETCH(QString, commandLine);
    QVERIFY(WriteProgram(m_SystemDir->path(), QStringLiteral("ping"), "printf 'Reply 1\\r\\nReply 2\\r\\n'"));
    CNetConfigImpl dialog;
    dialog.btnPingEchoRqv->setChecked(true);
    dialog.spinPingEchoRqvNum->setValue(3);
    SetTarget(dialog, target);

    QVERIFY(runToIdle(dialog));
    QCOMPARE(PaneText(dialog), QStringLiteral("Running %1.\nReply 1\nReply 2\n\n%1 done.\n").arg(commandLine));
    QCOMPARE(ColorOf(dialog, QStringLiteral("Running")), QColor(QStringLiteral("darkgreen")));
    QCOMPARE(ColorOf(dialog, QStringLiteral(" done.")), QColor(QStringLiteral("darkgreen")));
    QVERIFY(ColorOf(dialog, QStringLiteral("Reply 1")) != QColor(QStringLiteral("darkgreen")));
}

void TestUtility::runsFollowEachOtherAndClear()
{
    QVERIFY(WriteProgram(m_SystemDir->path(), QStringLiteral("ping"), "echo pong"));
    QVERIFY(WriteProgram(m_SystemDir->path(), QStringLiteral("tracert"), "echo hop"));
    CNetConfigImpl dialog;
    SetTarget(dialog, QStringLiteral("host"));
    QVERIFY(runToIdle(dialog));
    const QString first = QStringLiteral("Running ping host.\npong\n\nping host done.\n");
    QCOMPARE(PaneText(dialog), first);
    // Columns of ping and tracert output line up only in a fixed-pitch font;
    // an undo history would grow with every line of an endless ping.
    const QFontMetrics metrics(dialog.editUtilityOutput->font());
    QCOMPARE(metrics.horizontalAdvance(QStringLiteral("iiii")), metrics.horizontalAdvance(QStringLiteral("WWWW")));
    QVERIFY(!dialog.editUtilityOutput->document()->isUndoAvailable());

    dialog.comboUtility->setCurrentIndex(1);
    dialog.btnStartUtility->click();
    QTRY_VERIFY_WITH_TIMEOUT(IsIdle(dialog) && PaneText(dialog).endsWith(QStringLiteral("tracert host done.\n")),
                             kRunTimeoutMs);
    QCOMPARE(PaneText(dialog), first + QStringLiteral("\nRunning tracert host.\nhop\n\ntracert host done.\n"));

    QVERIFY(dialog.btnClearOutput->isEnabled());
    dialog.btnClearOutput->click();
    QVERIFY(PaneText(dialog).isEmpty());
    QVERIFY(!dialog.btnClearOutput->isEnabled());
    // A run on a cleared pane starts without a leading line break.
    dialog.comboUtility->setCurrentIndex(0);
    QVERIFY(runToIdle(dialog));
    QCOMPARE(PaneText(dialog), first);
}

void TestUtility::runningStateDisablesControls()
{
    // Runs until stopped.
    QVERIFY(WriteProgram(m_SystemDir->path(), QStringLiteral("ping"), "echo started; exec sleep 60"));
    CNetConfigImpl dialog;
    SetTarget(dialog, QStringLiteral("host"));
    dialog.btnStartUtility->click();
    QCOMPARE(dialog.btnStartUtility->text(), QStringLiteral("&Stop"));
    QVERIFY(dialog.btnStartUtility->isEnabled() && !dialog.comboUtility->isEnabled());
    QVERIFY(!dialog.editUtilityTarget->isEnabled() && !dialog.wsUtilityParams->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(PaneText(dialog).contains(QStringLiteral("started")), kRunTimeoutMs);

    dialog.btnStartUtility->click(); // Stop
    QTRY_VERIFY_WITH_TIMEOUT(IsIdle(dialog), kRunTimeoutMs);
    QVERIFY(dialog.editUtilityTarget->isEnabled() && dialog.wsUtilityParams->isEnabled());
    QVERIFY(PaneText(dialog).endsWith(QStringLiteral("\nping host done.\n")));
}

void TestUtility::outputIsEscapedAndStderrRed()
{
    QVERIFY(WriteProgram(m_SystemDir->path(), QStringLiteral("ping"),
                         "printf '<font color=\"blue\">x</font> & y\\n'; sleep 0.2; printf 'bad <z>\\n' >&2"));
    CNetConfigImpl dialog;
    SetTarget(dialog, QStringLiteral("host"));
    QVERIFY(runToIdle(dialog));
    const QString text = PaneText(dialog);
    QVERIFY2(text.contains(QStringLiteral("<font color=\"blue\">x</font> & y\nbad <z>\n")), qPrintable(text));
    QVERIFY(ColorOf(dialog, QStringLiteral("x</font>")) != QColor(QStringLiteral("blue")));
    QCOMPARE(ColorOf(dialog, QStringLiteral("bad <z>")), QColor(QStringLiteral("red")));
    QVERIFY(ColorOf(dialog, QStringLiteral("& y")) != QColor(QStringLiteral("red")));
}

void TestUtility::unstartableProgramGivesRedLine()
{
    ScopedEnv noPath("PATH", QByteArray());
    CNetConfigImpl dialog;
    dialog.btnPingEchoRqv->setChecked(true);
    dialog.spinPingEchoRqvNum->setValue(2);
    SetTarget(dialog, QStringLiteral("127.0.0.1"));
    dialog.btnStartUtility->click();
    const QString line = QStringLiteral("Could not start network utility: failed to run ping -n 2 127.0.0.1.");
    QCOMPARE(PaneText(dialog), line + QLatin1Char('\n'));
    QCOMPARE(ColorOf(dialog, line), QColor(QStringLiteral("red")));
    QCOMPARE(dialog.btnStartUtility->text(), QStringLiteral("&Start"));
    QVERIFY(dialog.comboUtility->isEnabled() && dialog.editUtilityTarget->isEnabled());
    QVERIFY(dialog.wsUtilityParams->isEnabled() && dialog.btnClearOutput->isEnabled());
}

void TestUtility::decodingFollowsCodepage_data()
{
    QTest::addColumn<QByteArray>("layout");
    QTest::addColumn<QByteArray>("octalBytes");
    QTest::addColumn<QString>("expected");

    const QByteArray privet = "\\217\\340\\250\\242\\245\\342"; // IBM 866
    const QString latin1Privet = QString::fromLatin1("\x8f\xe0\xa8\xa2\xa5\xe2");
    QTest::newRow("866") << QByteArray("[Console]\nCodepage = 866\n") << privet
                         << QString::fromUtf8("\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82");
    QTest::newRow("866 without blanks falls back to 850") << QByteArray("Codepage=866\n") << privet << latin1Privet;
    QTest::newRow("no layout file") << QByteArray() << privet << latin1Privet;
    QTest::newRow("936") << QByteArray("Codepage = 936\n") << QByteArray("\\326\\320\\316\\304")
                         << QString::fromUtf8("\xe4\xb8\xad\xe6\x96\x87");
    QTest::newRow("unknown code page") << QByteArray("Codepage = 1251\n") << privet << latin1Privet;
    QTest::newRow("stops at zero byte") << QByteArray("Codepage = 866\n") << QByteArray("ab\\000\\217cd")
                                        << QStringLiteral("ab");
}

void TestUtility::decodingFollowsCodepage()
{
    QFETCH(QByteArray, layout);
    QFETCH(QByteArray, octalBytes);
    QFETCH(QString, expected);
    if (!layout.isEmpty())
        writeLayoutIni(layout);
    QVERIFY(WriteProgram(m_SystemDir->path(), QStringLiteral("ping"), "printf '" + octalBytes + "'"));
    CNetConfigImpl dialog;
    SetTarget(dialog, QStringLiteral("h"));
    QVERIFY(runToIdle(dialog));
    QCOMPARE(PaneText(dialog), QStringLiteral("Running ping h.\n") + expected + QStringLiteral("\nping h done.\n"));
}

void TestUtility::readConsoleCodepage_data()
{
    QTest::addColumn<bool>("hasFile");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected");

    QTest::newRow("no file") << false << QByteArray() << QString();
    QTest::newRow("empty file") << true << QByteArray() << "850";
    QTest::newRow("no blanks") << true << QByteArray("Codepage=866\n") << "850";
    QTest::newRow("value untrimmed") << true << QByteArray("Codepage = 437 \n") << "437 ";
    QTest::newRow("first usable line wins") << true
                                            << QByteArray("[Layout]\nName = x\nCodepage=1\nCodepage = \n"
                                                          "Codepage = 936\nCodepage = 949\n")
                                            << "936";
    QTest::newRow("must start the line") << true << QByteArray(" Codepage = 866\n") << "850";
    QTest::newRow("case-sensitive") << true << QByteArray("codepage = 866\n") << "850";
    QTest::newRow("longer key counts") << true << QByteArray("CodepageOEM = 852\n") << "852";
    QTest::newRow("empty pieces dropped") << true << QByteArray("Codepage =  = 737\n") << "737";
}

void TestUtility::readConsoleCodepage()
{
    QFETCH(bool, hasFile);
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    if (hasFile)
        writeLayoutIni(content);
    CNetConfigImpl dialog;
    QCOMPARE(dialog.ConsoleCodepage(), expected);
}

void TestUtility::logTextAppends_data()
{
    QTest::addColumn<QStringList>("fragments");
    QTest::addColumn<QString>("expected");

    QTest::newRow("line breaks") << QStringList{"a\r\nb", "c\n", "d"} << "a\nbc\nd";
    QTest::newRow("break split over appends") << QStringList{"a\r", "\nb"} << "a\nb";
    QTest::newRow("lone carriage return") << QStringList{"a\rb"} << "ab";
    QTest::newRow("font markup") << QStringList{"<font color=\"red\">x</font>y", "<FONT COLOR=green>z</FONT>"} << "xyz";
    QTest::newRow("entities") << QStringList{"&lt;a&gt; &amp; &quot; &"} << "<a> & &quot; &";
    QTest::newRow("other tags literal") << QStringList{"<b>bold</b> <br> a < b"} << "<b>bold</b> <br> a < b";
    QTest::newRow("unclosed font tag literal") << QStringList{"<font color=\"red\"", "x"} << "<font color=\"red\"x";
    QTest::newRow("blanks kept") << QStringList{"  1    2\t3  "} << "  1    2\t3  ";
}

void TestUtility::logTextAppends()
{
    QFETCH(QStringList, fragments);
    QFETCH(QString, expected);
    QTextBrowser pane;
    PrepareLogPane(&pane);
    for (const QString& fragment : fragments)
        AppendLogText(&pane, fragment);
    QCOMPARE(pane.toPlainText(), expected);
}

void TestUtility::logTextColoursDoNotLeak()
{
    QTextBrowser pane;
    PrepareLogPane(&pane);
    AppendLogText(&pane, QStringLiteral("<font color=\"red\">r<font color=\"blue\">b</font>R</font>"));
    AppendLogText(&pane, QStringLiteral("plain"));
    const auto colorAt = [&](int position) {
        QTextCursor cursor(pane.document());
        cursor.setPosition(position + 1);
        return cursor.charFormat().foreground();
    };
    QCOMPARE(QList<QColor>({colorAt(0).color(), colorAt(1).color(), colorAt(2).color()}),
             QList<QColor>({Qt::red, Qt::blue, Qt::red}));
    QCOMPARE(colorAt(3).style(), Qt::NoBrush);
}

QTEST_MAIN(TestUtility)
#include "tst_utility.moc"
