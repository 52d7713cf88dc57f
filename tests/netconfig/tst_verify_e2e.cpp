// Trustworthy applies, end to end through the real netconfig and netsh.exe:
// every refused or impossible value is either refused before anything runs
// or reported by the check that follows; nothing passes silently. A dry run
// prints exactly what a real run then executes; saving and loading lose
// nothing.
#include "applytestutil.h"
#include "hoststate.h"
#include "settingsfiletest.h"

using namespace applytest;
using settingstest::WriteText;

namespace {

const QString kWired =
    QStringLiteral("dhcp=0 ip=192.168.1.5 mask=255.255.255.0 gw=192.168.1.1 dns=192.168.1.1,10.0.0.1 wins=192.168.1.2");

// A netsh.exe that only notes its command line, so a run changes nothing.
bool WriteStandInNetsh(const QString& dir, const QString& log)
{
    const QString path = dir + QStringLiteral("/netsh.exe");
    const QByteArray script = "#!/bin/sh\nprintf 'netsh.exe %s\\n' \"$*\" >> '" + log.toUtf8() + "'\n";
    return WriteText(path, script) &&
           QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Lines without their trailing blanks: a program's argument list cannot
// carry a command line's last blank.
QStringList Lines(const QString& text)
{
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        lines << line.trimmed();
    return lines;
}

} // namespace

class TestVerifyE2E : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        QVERIFY(m_Env->initSampleHost());
    }
    void cleanup() { m_Env.reset(); }

    void nothingPassesSilently_data();
    void nothingPassesSilently();
    void typedValuesAlike_data();
    void typedValuesAlike();
    void whatifIsWhatRuns();
    void saveLoadSaveLosesNothing_data();
    void saveLoadSaveLosesNothing();
    void checkWaitsForTheSystemToSettle();

private:
    QString WriteFile(const QString& name, const QByteArray& text)
    {
        return WriteText(m_Env->path(name), text) ? m_Env->path(name) : QString();
    }
    std::unique_ptr<TestEnv> m_Env;
};

// section: the [Interface1] lines of a console load. refused: the message
// shown before anything runs; reported: a text of the check's report
// (then the host took the rest of the section).
void TestVerifyE2E::nothingPassesSilently_data()
{
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QString>("refused");
    QTest::addColumn<QString>("reported");
    const QString none;
    auto row = [](const char* name, const char* section, QString refused, QString reported) {
        QTest::newRow(name) << QByteArray(section) << refused << reported;
    };
    row("mask with a hole", "mask=255.255.255.1", "Subnet mask 255.255.255.1 is not valid.", none);
    row("mask octets grow", "mask=255.0.255.0", "Subnet mask 255.0.255.0 is not valid for entered ip address.", none);
    row("address wraps", "protocol=999.1.1.1", "Ip address 999.1.1.1 is not valid.", none);
    row("loopback", "protocol=127.0.0.5", "Ip address 127.0.0.5 is a loopback address.", none);
    row("this network", "protocol=0.1.2.3\nmask=255.255.255.0", "Ip address 0.1.2.3 is reserved and cannot be used.",
        none);
    row("multicast", "protocol=224.0.0.5\nmask=255.255.255.0", "Ip address 224.0.0.5 is not a unicast address.", none);
    row("network address", "protocol=192.168.1.0", "Ip address 192.168.1.0 is the network address of its subnet.",
        none);
    row("broadcast address", "protocol=192.168.1.255",
        "Ip address 192.168.1.255 is the broadcast address of its subnet.", none);
    row("gateway", "Gateway=192.168.1.1;1.1.1.300;", "Ip address 1.1.1.300 is not valid.", none);
    row("dns server", "DNS=10.0.0.1;dns.example;", "Ip address dns.example is not valid.", none);
    row("wins server", "Wins=192.168.1.2\nWins2=10.0.0.256", "Ip address 10.0.0.256 is not valid.", none);
    row("further address", "Addresses=192.168.1.7/255.255.255.0;192.168.1.8/255.0.255.0;",
        "Ip address 192.168.1.8/255.0.255.0 is not valid.", none);
    // Taken by validation, refused or changed by the system: the check says so.
    row("no server first", "DNS=0.0.0.0;10.0.0.7;", none,
        "DNS servers: 0.0.0.0, 10.0.0.7 was asked for, the system has 10.0.0.7.");
    row("secondary WINS alone", "Wins=0.0.0.0\nWins2=10.0.0.9", none,
        "primary WINS server: 0.0.0.0 was asked for, the system has 10.0.0.9.");
}

void TestVerifyE2E::nothingPassesSilently()
{
    QFETCH(QByteArray, section);
    QFETCH(QString, refused);
    QFETCH(QString, reported);
    const QString before = m_Env->readHive();
    const QString file = WriteFile(QStringLiteral("in.ini"), "[Interface1]\n" + section + "\n");
    QString err;
    const int exit = m_Env->runNetconfig({"/c", "/l", file}, &err);
    if (!refused.isEmpty()) {
        QCOMPARE(exit, 3);
        QVERIFY2(err.contains(QLatin1String("netconfig: ") + refused), qPrintable(err));
        QCOMPARE(m_Env->readHive(), before);
        return;
    }
    QCOMPARE(exit, 4);
    QVERIFY2(err.contains(QLatin1String("Not every setting took effect:")), qPrintable(err));
    QVERIFY2(err.contains(QLatin1String("Gigabit Ethernet Controller, ") + reported), qPrintable(err));
    QVERIFY2(err.contains(QLatin1String("Command: netsh.exe interface ip ")), qPrintable(err));
    // Only the group the section named was touched.
    QCOMPARE(hoststate::Adapters(*m_Env).at(1), hoststate::Adapters(*m_Env).at(1));
    QCOMPARE(hoststate::Adapters(*m_Env).at(0).section(u' ', 0, 3), kWired.section(u' ', 0, 3));
}

// The same rules for what is typed into the dialog: the box, nothing run.
void TestVerifyE2E::typedValuesAlike_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("mask with a hole") << "ledSubNet"
                                      << "255.255.255.1"
                                      << "Subnet mask 255.255.255.1 is not valid.";
    QTest::newRow("broadcast") << "ledIPAddress"
                               << "192.168.1.255"
                               << "Ip address 192.168.1.255 is the broadcast address of its subnet.";
    QTest::newRow("loopback") << "ledIPAddress"
                              << "127.1.1.1"
                              << "Ip address 127.1.1.1 is a loopback address.";
}

void TestVerifyE2E::typedValuesAlike()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    Fixture fx;
    QVERIFY(fx.Open(0));
    const QString before = fx.env->readHive();
    QVERIFY(Type(fx.dialog->findChild<QLineEdit*>(field), typed));
    Click(fx.dialog->btnApply);
    QCOMPARE(fx.boxes.texts(), QStringList{message});
    QCOMPARE(fx.env->readHive(), before);
    QVERIFY(fx.dialog->btnApply->isEnabled());
}

// What /whatif prints is what the real run then executes, command for
// command; once the host holds the file, it prints nothing.
void TestVerifyE2E::whatifIsWhatRuns()
{
    const QString file = WriteFile(QStringLiteral("in.ini"),
                                   "[Interface1]\nprotocol=192.168.1.50\nmask=255.255.255.0\nDNS=10.1.1.1;10.1.1.2;\n"
                                   "Wins=192.168.1.2\nWins2=0.0.0.0\nGateway=192.168.1.1;\n"
                                   "[Interface2]\nprotocol=dhcp\nDNS=dhcp\nWins=10.0.0.9\n"
                                   "[HostInformation]\nComputerName=WS02\n");
    const QString before = m_Env->readHive();
    QString out, err;
    const QString netconfig = QDir(TestEnv::binDir()).filePath(QStringLiteral("netconfig"));
    QCOMPARE(m_Env->runProgram(netconfig, {"/c", "/l", file, "/whatif"}, &out, &err), 0);
    QCOMPARE(m_Env->readHive(), before);
    const QStringList planned = Lines(out);
    QVERIFY2(planned.contains(QLatin1String("SetComputerNameEx(ComputerNamePhysicalNetBIOS, WS02)")), qPrintable(out));

    QTemporaryDir system;
    const QString log = system.filePath(QStringLiteral("netsh.log"));
    QVERIFY(WriteStandInNetsh(system.path(), log));
    qputenv("WINSYS_SYSTEM_DIR", system.path().toLocal8Bit());
    m_Env->runNetconfig({"/c", "/l", file});
    qunsetenv("WINSYS_SYSTEM_DIR");
    QFile logged(log);
    QVERIFY(logged.open(QIODevice::ReadOnly));
    const QStringList ran = Lines(QString::fromUtf8(logged.readAll()));
    QVERIFY(!ran.isEmpty());
    QCOMPARE(ran, planned.mid(0, ran.count()));
    QVERIFY(!planned.mid(ran.count()).join(u'\n').contains(QLatin1String("netsh.exe")));

    QCOMPARE(m_Env->runNetconfig({"/c", "/l", file}), 0);
    QCOMPARE(m_Env->runProgram(netconfig, {"/c", "/l", file, "/whatif"}, &out, &err), 0);
    QCOMPARE(out, QString());
}

// save, load, save: the same file, and the load changes nothing; for the
// sample host and for adapters with several addresses, gateways and servers.
void TestVerifyE2E::saveLoadSaveLosesNothing_data()
{
    QTest::addColumn<QStringList>("shape");
    QTest::newRow("sample host") << QStringList();
    QTest::newRow("3 addresses, 3 gateways, 4 DNS servers")
        << QStringList{"--adapters", "2", "--addresses", "3", "--gateways", "3", "--dns", "4"};
}

void TestVerifyE2E::saveLoadSaveLosesNothing()
{
    QFETCH(QStringList, shape);
    if (!shape.isEmpty())
        QCOMPARE(m_Env->runProgram(QDir(TestEnv::binDir()).filePath(QStringLiteral("winhost")),
                                   QStringList{"init", m_Env->hostDir()} + shape),
                 0);
    const QString first = m_Env->path(QStringLiteral("first.ini")), second = m_Env->path(QStringLiteral("second.ini"));
    QCOMPARE(m_Env->runNetconfig({"/c", "/s", first}), 0);
    const QString hive = m_Env->readHive();
    QCOMPARE(m_Env->runNetconfig({"/c", "/l", first}), 0);
    QCOMPARE(m_Env->readHive(), hive);
    QCOMPARE(m_Env->runNetconfig({"/c", "/s", second}), 0);
    QFile a(first), b(second);
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    const QByteArray saved = a.readAll();
    QCOMPARE(b.readAll(), saved);
    if (!shape.isEmpty())
        QVERIFY2(saved.contains("Addresses=172.16.0.6/255.255.255.0;172.16.0.7/255.255.255.0;\n"), saved.constData());
}

// A new address is tentative for a moment: the check looks again until it
// settles, and reports it only when it never does within the time allowed.
void TestVerifyE2E::checkWaitsForTheSystemToSettle()
{
    const QString file = WriteFile(QStringLiteral("in.ini"), "[Interface1]\nprotocol=192.168.1.60\n");
    qputenv("WINSYS_SETTLE_MS", "1500");
    qputenv("NETCONFIG_SETTLE_MS", "4000");
    QString err;
    QCOMPARE(m_Env->runNetconfig({"/c", "/l", file}, &err), 0);
    QVERIFY2(!err.contains(QLatin1String("netconfig: ")), qPrintable(err));

    const QString again = WriteFile(QStringLiteral("again.ini"), "[Interface1]\nprotocol=192.168.1.61\n");
    qputenv("WINSYS_SETTLE_MS", "600000");
    qputenv("NETCONFIG_SETTLE_MS", "1000");
    QCOMPARE(m_Env->runNetconfig({"/c", "/l", again}, &err), 4);
    qunsetenv("WINSYS_SETTLE_MS");
    QVERIFY2(err.contains(QLatin1String("Gigabit Ethernet Controller, IP address: 192.168.1.61 was asked for, "
                                        "the system has 0.0.0.0.")),
             qPrintable(err));
}

QTEST_MAIN(TestVerifyE2E)
#include "tst_verify_e2e.moc"
