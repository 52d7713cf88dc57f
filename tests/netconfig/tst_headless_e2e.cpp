// The real program run as over ssh or from cron: no display, no Qt platform,
// no runtime folder, no locale. Console runs work and print only
// netconfig's own messages; a bad kill command line is a usage error.
#include "hoststate.h"
#include "testenv.h"

#include <QtTest>

#include <memory>

namespace {

bool WriteText(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

} // namespace

class TestHeadlessE2E : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_Env;

    int Run(const QStringList& args, QString* stdErr)
    {
        const QProcessEnvironment env = m_Env->bareEnvironment();
        return m_Env->runIn(env, QDir(TestEnv::binDir()).filePath(QStringLiteral("netconfig")), args, nullptr, stdErr);
    }

private slots:
    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        QVERIFY(m_Env->initSampleHost());
        const QProcessEnvironment env = m_Env->bareEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR", "LANG"})
            QVERIFY(!env.contains(QString::fromLatin1(name)));
    }

    void cleanup() { m_Env.reset(); }

    // A clean save and a clean load print nothing at all.
    void cleanConsoleRunsAreSilent()
    {
        const QString out = m_Env->path(QStringLiteral("out.ini"));
        QString errors;
        QCOMPARE(Run({"/c", "/s", out}, &errors), 0);
        QCOMPARE(errors, QString());
        QVERIFY(QFile(out).size() > 0);

        QVERIFY(WriteText(out, "[Interface1]\nprotocol=192.168.1.50\nmask=255.255.255.0\nDNS=192.168.1.1;\n"
                               "Wins=192.168.1.2\nWins2=0.0.0.0\nGateway=192.168.1.1;\n"));
        QCOMPARE(Run({"/c", "/l", out}, &errors), 0);
        QCOMPARE(errors, QString());
        QVERIFY2(hoststate::Adapters(*m_Env).value(0).contains(QLatin1String(" ip=192.168.1.50 ")),
                 qPrintable(hoststate::Adapters(*m_Env).value(0)));
    }

    // What goes wrong is told in netconfig's own lines, and nothing else is.
    void onlyOwnMessages_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("storedRow"); // settings.xml's adapter row; empty: none
        QTest::addColumn<QString>("expected");  // a line stderr must hold
        QTest::addColumn<int>("exitCode");
        QTest::newRow("missing file") << QStringList{"/c", "/l", "missing.ini"} << QString() << "netconfig: " << 3;
        // A row the machine no longer has trips a development check.
        QTest::newRow("development check") << QStringList{"/c", "/s", "out.ini"} << "7"
                                           << "ASSERT: \"Index < (int)m_Adapters.count()\"" << 0;
    }

    void onlyOwnMessages()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, storedRow);
        QFETCH(QString, expected);
        QFETCH(int, exitCode);
        if (!storedRow.isEmpty()) {
            const QString settings = QDir(m_Env->configDir()).filePath(QStringLiteral("netconfig/settings.xml"));
            QVERIFY(QDir().mkpath(QFileInfo(settings).path()));
            QVERIFY(WriteText(settings, QStringLiteral("<settings><block name=\"CNetConfigImpl\"><value "
                                                       "name=\"NetConfigActiveAdapter\">%1</value></block>"
                                                       "</settings>\n")
                                            .arg(storedRow)
                                            .toUtf8()));
        }
        QString errors;
        QCOMPARE(Run(args, &errors), exitCode);
        const QStringList lines = errors.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY2(!lines.isEmpty() && lines.first().startsWith(expected), qPrintable(errors));
        for (const QString& line : lines)
            QVERIFY2(line.startsWith(QLatin1String("netconfig: ")) || line.startsWith(QLatin1String("ASSERT: ")),
                     qPrintable(errors));
    }

    void killWithoutANameIsAUsageError()
    {
        QString errors;
        QCOMPARE(Run({"-kill", ""}, &errors), 2);
        QVERIFY2(errors.startsWith(QLatin1String("Usage: netconfig -kill ")) && errors.count(QLatin1Char('\n')) == 1,
                 qPrintable(errors));
    }
};

QTEST_GUILESS_MAIN(TestHeadlessE2E)
#include "tst_headless_e2e.moc"
