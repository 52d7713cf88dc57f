// Console mode of the real program: /s saves the live configuration, /l applies a file.
#include "hoststate.h"
#include "settingsfiletest.h"
#include "testenv.h"

#include <QtTest>

#include <memory>

using namespace settingstest;

namespace {

const QString kWired =
    QStringLiteral("dhcp=0 ip=192.168.1.5 mask=255.255.255.0 gw=192.168.1.1 dns=192.168.1.1,10.0.0.1 wins=192.168.1.2");
const QString kWireless = QStringLiteral("dhcp=1 dns= wins=");

const QByteArray kStaticFile = "[Interface1]\nprotocol=192.168.1.50\nmask=255.255.0.0\n"
                               "DNS=10.1.1.1;;10.1.1.2;10.1.1.3;\nWins=192.168.1.20\nWins2=192.168.1.21\n"
                               "Gateway=192.168.1.1;192.168.1.254;\n";

} // namespace

class TestConsoleE2E : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_Env;

    QString WriteFile(const QString& name, const QByteArray& text)
    {
        return WriteText(m_Env->path(name), text) ? m_Env->path(name) : QString();
    }

private slots:
    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        QVERIFY(m_Env->initSampleHost());
        QCOMPARE(hoststate::Adapters(*m_Env), (QStringList{kWired, kWireless}));
    }

    void cleanup() { m_Env.reset(); }

    // Into an existing file: ours first, in order and spelled right, then
    // what belongs to others, untouched; an adapter the machine lacks goes.
    void saveWritesTheLiveConfiguration()
    {
        const QString out = WriteFile(QStringLiteral("out.ini"),
                                      "[Other]\nkeep=1\n[HostInformation]\nnote=x\n[interface1]\nmask=1.2.3.4\n"
                                      "custom=1\n[Interface3]\nprotocol=10.9.9.9\n");
        QCOMPARE(m_Env->runNetconfig({"-console", "-save", out}), 0);
        QCOMPARE(IniLines(out), (QStringList{"[Interface1]",
                                             "protocol=192.168.1.5",
                                             "mask=255.255.255.0",
                                             "DNS=192.168.1.1;10.0.0.1;",
                                             "Wins=192.168.1.2",
                                             "Wins2=0.0.0.0",
                                             "Gateway=192.168.1.1;",
                                             "custom=1",
                                             "[Interface2]",
                                             "protocol=dhcp",
                                             "mask=255.255.255.0",
                                             "DNS=dhcp",
                                             "Wins=dhcp",
                                             "Gateway=10.0.0.1;",
                                             "[HostInformation]",
                                             "ComputerName=WS01",
                                             "Workgroup=WORKGROUP",
                                             "PrimaryDNS=lan",
                                             "note=x",
                                             "[Other]",
                                             "keep=1"}));

        // A trailing blank names the same file for creating and writing.
        const QString blank = m_Env->path(QStringLiteral("blank.ini"));
        QCOMPARE(m_Env->runNetconfig({"/c", "/s", blank + u' '}), 0);
        QCOMPARE(IniLines(blank).first(), QStringLiteral("[Interface1]"));

        const QString missing = m_Env->path(QStringLiteral("missing/out.ini"));
        QString err;
        QCOMPARE(m_Env->runNetconfig({"/c", "/s", missing}, &err), 3);
        QVERIFY2(err.contains(QLatin1String("Can not create a file.")), qPrintable(err));
        QVERIFY(!QFile::exists(missing));
    }

    void loadAppliesTheFile_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("static, switches in any order, third section ignored")
            << kStaticFile + "[Interface2]\nprotocol=172.16.0.5\nmask=255.255.0.0\nDNS=172.16.0.1;172.16.0.2;\n"
                             "Wins=0.0.0.0\nGateway=172.16.0.1;\n[Interface3]\nprotocol=10.9.9.9\nmask=255.0.0.0\n"
            << QStringList{"dhcp=0 ip=192.168.1.50 mask=255.255.0.0 gw=192.168.1.1,192.168.1.254 "
                           "dns=10.1.1.1,10.1.1.2,10.1.1.3 wins=192.168.1.20,192.168.1.21",
                           "dhcp=0 ip=172.16.0.5 mask=255.255.0.0 gw=172.16.0.1 dns=172.16.0.1,172.16.0.2 wins="};
        QTest::newRow("DHCP in upper case")
            << QByteArray("[Interface1]\nprotocol=DHCP\nmask=255.255.255.0\nDNS=Dhcp\nWins=DHCP\n")
            << QStringList{"dhcp=1 dns= wins=", kWireless};
    }

    void loadAppliesTheFile()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, expected);
        const QString in = WriteFile(QStringLiteral("in.ini"), file);
        QString err;
        QCOMPARE(m_Env->runNetconfig({"/l", in, "/c"}, &err), 0);
        QCOMPARE(hoststate::Adapters(*m_Env), expected);
        QVERIFY2(!err.contains(QLatin1String("netconfig: ")), qPrintable(err));
    }

    // A value validation refuses stops the whole load before anything runs,
    // naming the file's section and key with the dialog's message.
    void invalidValueAppliesNothing_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("error");
        const QByteArray valid = "[Interface2]\nprotocol=10.0.0.50\nmask=255.255.255.0\nDNS=10.0.0.1;\n"
                                 "Wins=10.0.0.2\n[HostInformation]\nComputerName=WS02\n";
        QTest::newRow("mask")
            << valid + "[Interface1]\nmask=255.0.255.0\n"
            << QStringLiteral("Subnet mask 255.0.255.0 is not valid for entered ip address. %1: [Interface1] mask");
        QTest::newRow("address wraps") << valid + "[Interface1]\nprotocol=999.1.1.1\n"
                                       << QStringLiteral(
                                              "Ip address 999.1.1.1 is not valid. %1: [Interface1] protocol");
        QTest::newRow("wins") << "[Interface1]\nWins=10.0.0.2\nWins2=10.0.0.256\n" + valid
                              << QStringLiteral("Ip address 10.0.0.256 is not valid. %1: [Interface1] Wins2");
        QTest::newRow("second adapter") << QByteArray("[Interface2]\nprotocol=10.0.0.50\nmask=255.255.255.0\n"
                                                      "DNS=10.0.0.1;x;\nWins=10.0.0.2\n")
                                        << QStringLiteral("Ip address x is not valid. %1: [Interface2] DNS");
    }

    void invalidValueAppliesNothing()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, error);
        const QString hive = m_Env->readHive(), in = WriteFile(QStringLiteral("bad.ini"), file);
        QString err;
        QCOMPARE(m_Env->runNetconfig({"/c", "/l", in}, &err), 3);
        QVERIFY2(err.contains(QLatin1String("netconfig: ") + error.arg(in)), qPrintable(err));
        QCOMPARE(m_Env->readHive(), hive);
    }

    // Switches that cannot do anything: a usage line, exit code 2, nothing
    // read or written.
    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("console alone") << QStringList{"/c"};
        QTest::newRow("load without its file") << QStringList{"/c", "/l"};
        QTest::newRow("load and save") << QStringList{"-c", "-l", "a.ini", "-s", "b.ini"};
        QTest::newRow("what-if of a save") << QStringList{"/c", "/s", "b.ini", "/whatif"};
    }

    void usageErrors()
    {
        QFETCH(QStringList, args);
        const QString hive = m_Env->readHive();
        QString err;
        QCOMPARE(m_Env->runNetconfig(args, &err), 2);
        QVERIFY2(err.contains(QLatin1String("usage: netconfig")), qPrintable(err));
        QCOMPARE(m_Env->readHive(), hive);
        QVERIFY(!QFile::exists(m_Env->path(QStringLiteral("b.ini"))));
    }

    // /verbose: each command with its exit code on standard error.
    void verboseNamesEachCommand()
    {
        const QString in = WriteFile(QStringLiteral("in.ini"), "[Interface1]\nWins=192.168.1.20\nWins2=192.168.1.21\n");
        QString err;
        QCOMPARE(m_Env->runNetconfig({"/c", "/l", in, "/verbose"}, &err), 0);
        QVERIFY2(err.contains("netconfig: netsh.exe interface ip set wins 11 source=static addr=192.168.1.20: "
                              "exit code 0\n"
                              "netconfig: netsh.exe interface ip add wins 11 addr=192.168.1.21: exit code 0\n"),
                 qPrintable(err));
    }

    void missingFileChangesNothing()
    {
        const QString hive = m_Env->readHive(), missing = m_Env->path(QStringLiteral("missing.ini"));
        QString err;
        QCOMPARE(m_Env->runNetconfig({"/c", "/l", missing}, &err), 3);
        QVERIFY2(err.contains(QLatin1String("Can not load parameters from file. ") + missing), qPrintable(err));
        QCOMPARE(m_Env->readHive(), hive);
    }
};

QTEST_GUILESS_MAIN(TestConsoleE2E)
#include "tst_console_e2e.moc"
