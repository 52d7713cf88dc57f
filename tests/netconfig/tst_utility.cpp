#include "logtextpane.h"
#include "testenv.h"
#include "utilitypage.h"

#include <QDir>
#include <QTextBrowser>
#include <QtTest>

#include <memory>

namespace {

const int kRunTimeoutMs = 30000;

struct PingOptions
{
    bool endless = false, resolve = false, count = false;
    int countValue = 1;
};

struct TraceOptions
{
    bool noResolve = false, hops = false, wait = false;
    int hopsValue = 1, waitValue = 1;
};

} // namespace

Q_DECLARE_METATYPE(PingOptions)
Q_DECLARE_METATYPE(TraceOptions)

// The utilities page with stand-in programs: argument lists, the output
// pane's text and colours, the code page, start/stop states.
class TestUtility : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void arguments_data();
    void arguments();
    void targetEnablesStart_data();
    void targetEnablesStart();
    void runShowsOutputAndCompletion_data();
    void runShowsOutputAndCompletion();
    void secondRunStartsOnNewLine();
    void runningStateDisablesControls();
    void outputIsEscapedAndStderrRed();
    void unstartableProgramGivesRedLine();
    void decodingFollowsCodepage_data();
    void decodingFollowsCodepage();
    void readConsoleCodepage_data();
    void readConsoleCodepage();
    void clearOutput();
    void paneIsConsoleLike();
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
    QTest::addColumn<int>("utility");
    QTest::addColumn<PingOptions>("ping");
    QTest::addColumn<TraceOptions>("trace");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("ping plain") << 0 << PingOptions{} << TraceOptions{} << "10.0.0.1"
                                << QStringList{"ping", "10.0.0.1"};
    QTest::newRow("ping all options, 999") << 0 << PingOptions{true, true, true, 999} << TraceOptions{} << "10.0.0.1"
                                           << QStringList{"ping", "-t", "-a", "-n 999", "10.0.0.1"};
    QTest::newRow("ping count 4") << 0 << PingOptions{true, false, true, 4} << TraceOptions{} << "10.0.0.1"
                                  << QStringList{"ping", "-t", "-n 4", "10.0.0.1"};
    QTest::newRow("unchecked count ignored")
        << 0 << PingOptions{false, true, false, 77} << TraceOptions{} << "host" << QStringList{"ping", "-a", "host"};
    QTest::newRow("trace options ignored by ping")
        << 0 << PingOptions{} << TraceOptions{true, true, true, 30, 1000} << "host" << QStringList{"ping", "host"};
    QTest::newRow("tracert hops and wait") << 1 << PingOptions{} << TraceOptions{false, true, true, 30, 1000}
                                           << "10.0.0.1" << QStringList{"tracert", "-h 30", "-w 1000", "10.0.0.1"};
    QTest::newRow("tracert -d first") << 1 << PingOptions{} << TraceOptions{true, true, true, 30, 1000} << "10.0.0.1"
                                      << QStringList{"tracert", "-d", "-h 30", "-w 1000", "10.0.0.1"};
    QTest::newRow("ping options ignored by tracert")
        << 1 << PingOptions{true, true, true, 5} << TraceOptions{} << "host" << QStringList{"tracert", "host"};
    QTest::newRow("unchecked spins ignored") << 1 << PingOptions{} << TraceOptions{true, false, false, 12, 345}
                                             << "host" << QStringList{"tracert", "-d", "host"};
    QTest::newRow("blank target as typed") << 0 << PingOptions{} << TraceOptions{} << "  " << QStringList{"ping", "  "};
    QTest::newRow("empty target still last")
        << 1 << PingOptions{} << TraceOptions{} << "" << QStringList{"tracert", ""};
    QTest::newRow("hostile target one element")
        << 0 << PingOptions{} << TraceOptions{} << "127.0.0.1; touch X" << QStringList{"ping", "127.0.0.1; touch X"};
}

void TestUtility::arguments()
{
    QFETCH(int, utility);
    QFETCH(PingOptions, ping);
    QFETCH(TraceOptions, trace);
    QFETCH(QString, target);
    QFETCH(QStringList, expected);

    CNetConfigImpl dialog;
    dialog.btnEndlessPing->setChecked(ping.endless);
    dialog.btnResolveAddress->setChecked(ping.resolve);
    dialog.btnPingEchoRqv->setChecked(ping.count);
    dialog.spinPingEchoRqvNum->setValue(ping.countValue);
    dialog.btnDontResolveAddress->setChecked(trace.noResolve);
    dialog.btnTraceHops->setChecked(trace.hops);
    dialog.spinTraceHopsNum->setValue(trace.hopsValue);
    dialog.btnReplyWait->setChecked(trace.wait);
    dialog.spinReplyWaitTime->setValue(trace.waitValue);
    dialog.comboUtility->setCurrentIndex(utility);
    SetTarget(dialog, target);

    QCOMPARE(dialog.BuildUtilityArguments(), expected);
}

void TestUtility::targetEnablesStart_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blanks") << "   " << true;
    QTest::newRow("host") << "example.org" << true;
}

void TestUtility::targetEnablesStart()
{
    QFETCH(QString, target);
    QFETCH(bool, enabled);
    CNetConfigImpl dialog;
    QVERIFY(!dialog.btnStartUtility->isEnabled());
    dialog.editUtilityTarget->setFocus();
    QTest::keyClicks(dialog.editUtilityTarget, QStringLiteral("x"));
    QVERIFY(dialog.btnStartUtility->isEnabled());
    dialog.editUtilityTarget->setText(target);
    QCOMPARE(dialog.btnStartUtility->isEnabled(), enabled);
}

void TestUtility::runShowsOutputAndCompletion_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("commandLine");
    QTest::newRow("address") << "127.0.0.1"
                             << "ping -n 3 127.0.0.1";
    // A marker in the target must not be taken for one of the template's.
    QTest::newRow("marker in target") << "%2x%1"
                                      << "ping -n 3 %2x%1";
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

void TestUtility::secondRunStartsOnNewLine()
{
    QVERIFY(WriteProgram(m_SystemDir->path(), QStringLiteral("ping"), "echo pong"));
    CNetConfigImpl dialog;
    SetTarget(dialog, QStringLiteral("host"));
    QVERIFY(runToIdle(dialog));
    const QString first = PaneText(dialog);
    QCOMPARE(first, QStringLiteral("Running ping host.\npong\n\nping host done.\n"));

    dialog.comboUtility->setCurrentIndex(1);
    QVERIFY(WriteProgram(m_SystemDir->path(), QStringLiteral("tracert"), "echo hop"));
    dialog.btnStartUtility->click();
    QTRY_VERIFY_WITH_TIMEOUT(IsIdle(dialog) && PaneText(dialog).endsWith(QStringLiteral("tracert host done.\n")),
                             kRunTimeoutMs);
    QCOMPARE(PaneText(dialog), first + QStringLiteral("\nRunning tracert host.\nhop\n\ntracert host done.\n"));
}

void TestUtility::runningStateDisablesControls()
{
    // Runs until stopped.
    QVERIFY(WriteProgram(m_SystemDir->path(), QStringLiteral("ping"), "echo started; exec sleep 60"));
    CNetConfigImpl dialog;
    SetTarget(dialog, QStringLiteral("host"));
    dialog.btnStartUtility->click();
    QCOMPARE(dialog.btnStartUtility->text(), QStringLiteral("&Stop"));
    QVERIFY(dialog.btnStartUtility->isEnabled());
    QVERIFY(!dialog.comboUtility->isEnabled());
    QVERIFY(!dialog.editUtilityTarget->isEnabled());
    QVERIFY(!dialog.wsUtilityParams->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(PaneText(dialog).contains(QStringLiteral("started")), kRunTimeoutMs);

    dialog.btnStartUtility->click(); // Stop
    QTRY_VERIFY_WITH_TIMEOUT(IsIdle(dialog), kRunTimeoutMs);
    QVERIFY(dialog.editUtilityTarget->isEnabled());
    QVERIFY(dialog.wsUtilityParams->isEnabled());
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
    QVERIFY(dialog.comboUtility->isEnabled());
    QVERIFY(dialog.editUtilityTarget->isEnabled());
    QVERIFY(dialog.wsUtilityParams->isEnabled());
    QVERIFY(dialog.btnClearOutput->isEnabled());
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
    QTest::newRow("trailing blank, unknown code page") << QByteArray("Codepage = 866 \n") << privet << latin1Privet;
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
    QTest::newRow("plain") << true << QByteArray("Codepage = 866\n") << "866";
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
    dialog.ReadConsoleCodepage(); // reading again gives the same
    QCOMPARE(dialog.ConsoleCodepage(), expected);
}

void TestUtility::clearOutput()
{
    QVERIFY(WriteProgram(m_SystemDir->path(), QStringLiteral("ping"), "echo pong"));
    CNetConfigImpl dialog;
    QVERIFY(!dialog.btnClearOutput->isEnabled());
    SetTarget(dialog, QStringLiteral("host"));
    QVERIFY(runToIdle(dialog));
    QVERIFY(dialog.btnClearOutput->isEnabled());
    dialog.btnClearOutput->click();
    QVERIFY(PaneText(dialog).isEmpty());
    QVERIFY(!dialog.btnClearOutput->isEnabled());

    // A run on a cleared pane starts without a leading line break.
    QVERIFY(runToIdle(dialog));
    QVERIFY(PaneText(dialog).startsWith(QStringLiteral("Running ping host.")));
}

void TestUtility::paneIsConsoleLike()
{
    QVERIFY(WriteProgram(m_SystemDir->path(), QStringLiteral("ping"), "echo pong"));
    CNetConfigImpl dialog;
    SetTarget(dialog, QStringLiteral("host"));
    QVERIFY(runToIdle(dialog));
    QCOMPARE(dialog.editUtilityOutput->lineWrapMode(), QTextEdit::NoWrap);
    // Columns of ping and tracert output line up only in a fixed-pitch font.
    const QFontMetrics metrics(dialog.editUtilityOutput->font());
    QCOMPARE(metrics.horizontalAdvance(QStringLiteral("iiii")), metrics.horizontalAdvance(QStringLiteral("WWWW")));
    // An undo history would grow with every line of an endless ping.
    QVERIFY(!dialog.editUtilityOutput->document()->isUndoAvailable());
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
    QCOMPARE(colorAt(0).color(), QColor(Qt::red));
    QCOMPARE(colorAt(1).color(), QColor(Qt::blue));
    QCOMPARE(colorAt(2).color(), QColor(Qt::red));
    QCOMPARE(colorAt(3).style(), Qt::NoBrush);
}

QTEST_MAIN(TestUtility)
#include "tst_utility.moc"
