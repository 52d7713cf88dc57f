// The Windows ping and tracert wrappers: switch translation and the guard
// that keeps a target from becoming an option or a command.
#include "pingargs.h"
#include "testenv.h"

#include <QtTest>

namespace {

QStringList ToQt(const std::vector<std::string>& v)
{
    QStringList out;
    for (const std::string& s : v)
        out << QString::fromStdString(s);
    return out;
}

std::vector<std::string> ToStd(const QStringList& list)
{
    std::vector<std::string> out;
    for (const QString& s : list)
        out.push_back(s.toStdString());
    return out;
}

}  // namespace

class TestPingTracert : public QObject
{
    Q_OBJECT

private slots:
    void ping_data();
    void ping();
    void tracert_data();
    void tracert();
    void guardedTargets_data();
    void guardedTargets();
};

void TestPingTracert::ping_data()
{
    QTest::addColumn<QStringList>("windows");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QStringList>("linux");

    const int run = int(winping::Outcome::Run), usage = int(winping::Outcome::Usage), help = int(winping::Outcome::Help);
    QTest::newRow("defaults") << QStringList{"host"} << run << QStringList{"-c", "4", "-n", "--", "host"};
    QTest::newRow("-t wins over -n") << QStringList{"-n", "3", "-t", "host"} << run << QStringList{"-n", "--", "host"};
    QTest::newRow("resolve names") << QStringList{"-a", "host"} << run << QStringList{"-c", "4", "--", "host"};
    QTest::newRow("utility page form") << QStringList{"-t", "-a", "-n", "4", "10.0.0.1"} << run << QStringList{"--", "10.0.0.1"};
    QTest::newRow("slash switches") << QStringList{"/N", "2", "host"} << run << QStringList{"-c", "2", "-n", "--", "host"};
    QTest::newRow("size ttl timeout") << QStringList{"-l", "64", "-i", "9", "-w", "1500", "h"} << run
                                      << QStringList{"-c", "4", "-n", "-s", "64", "-t", "9", "-W", "1.5", "--", "h"};
    QTest::newRow("target first") << QStringList{"host", "-n", "2"} << run << QStringList{"-c", "2", "-n", "--", "host"};
    QTest::newRow("help") << QStringList{"-?"} << help << QStringList{};
    QTest::newRow("no target") << QStringList{"-t"} << usage << QStringList{};
    QTest::newRow("two targets") << QStringList{"a", "b"} << usage << QStringList{};
    QTest::newRow("unknown switch") << QStringList{"-f", "host"} << usage << QStringList{};
    QTest::newRow("count zero") << QStringList{"-n", "0", "host"} << usage << QStringList{};
    QTest::newRow("count too big") << QStringList{"-n", "4294967296", "host"} << usage << QStringList{};
    QTest::newRow("empty target") << QStringList{""} << usage << QStringList{};
}

void TestPingTracert::ping()
{
    QFETCH(QStringList, windows);
    const winping::Translation t = winping::TranslatePing(ToStd(windows));
    QTEST(int(t.outcome), "outcome");
    QTEST(ToQt(t.args), "linux");
}

void TestPingTracert::tracert_data()
{
    QTest::addColumn<QStringList>("windows");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QStringList>("linux");

    const int run = int(winping::Outcome::Run), usage = int(winping::Outcome::Usage);
    QTest::newRow("defaults") << QStringList{"host"} << run << QStringList{"--", "host"};
    QTest::newRow("utility page form") << QStringList{"-d", "-h", "30", "-w", "4000", "10.0.0.1"} << run
                                       << QStringList{"-n", "-m", "30", "-w", "4", "--", "10.0.0.1"};
    QTest::newRow("fractional wait") << QStringList{"-w", "250", "host"} << run << QStringList{"-w", "0.25", "--", "host"};
    QTest::newRow("hops too many") << QStringList{"-h", "256", "host"} << usage << QStringList{};
    QTest::newRow("ping switch") << QStringList{"-t", "host"} << usage << QStringList{};
    QTest::newRow("dash target") << QStringList{"-"} << run << QStringList{"--", "-"};
}

void TestPingTracert::tracert()
{
    QFETCH(QStringList, windows);
    const winping::Translation t = winping::TranslateTracert(ToStd(windows));
    QTEST(int(t.outcome), "outcome");
    QTEST(ToQt(t.args), "linux");
}

void TestPingTracert::guardedTargets_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("switches");
    QTest::addColumn<QString>("target");
    const QList<QPair<QString, QStringList>> programs{{"ping", {"-n", "1"}}, {"tracert", {"-h", "1", "-w", "500"}}};
    for (const auto& program : programs) {
        for (const char* target : {"-f", "--help", "127.0.0.1; touch X", "$(touch X)"})
            QTest::newRow(qPrintable(program.first + " " + target)) << program.first << program.second << target;
    }
}

void TestPingTracert::guardedTargets()
{
    QFETCH(QString, program);
    QFETCH(QStringList, switches);
    QFETCH(QString, target);
    TestEnv env;
    QString out;
    QVERIFY(env.runProgram(TestEnv::systemDir() + "/" + program, switches << target, &out) != 0);
    // A switch-like target is refused before running; others reach the real program as one name, never a shell.
    if (target.startsWith('-'))
        QVERIFY2(out.contains("Usage: " + program), qPrintable(out));
    QVERIFY(!QFile::exists(env.path("X")));
}

QTEST_GUILESS_MAIN(TestPingTracert)
#include "tst_pingtracert.moc"
