// The real program in console mode against an emulated host, run as over ssh
// or from cron (no display, Qt platform, runtime folder or locale): /l
// applies a file and the result is read back, /s saves the live
// configuration, /whatif plans. Bad files, switches and hives are refused
// with a clear message and nothing is lost; stderr holds only netconfig's own
// lines.
#include "hoststate.h"
#include "settingsfiletest.h"
#include "testenv.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QtTest>

#include <winsys/host.h>

#include <memory>
#include <random>

using namespace hoststate;
using settingstest::IniLines;
using settingstest::WriteText;

namespace {

const qint64 kBig = 100 * 1024 * 1024;

QByteArray Junk(int size, quint32 seed)
{
    std::mt19937 random(seed);
    QByteArray junk(size, '\0');
    for (char& c : junk)
        c = char(random());
    return junk;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Digest(const QString& path)
{
    return QCryptographicHash::hash(ReadAll(path), QCryptographicHash::Sha1);
}

// Lines without their trailing blanks: an argument list cannot carry a
// command line's last blank.
QStringList Lines(const QString& text)
{
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        lines << line.trimmed();
    return lines;
}

} // namespace

class TestConsoleE2E : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_Env;
    QByteArray m_Sample; // what /c /s writes for the sample host

    QString Path(QString text) const
    {
        return text.replace(QRegularExpression(QStringLiteral("(^|\\s)@")), QStringLiteral("\\1") + m_Env->root() + u'/');
    }

    // netconfig in a bare environment; "@name" names a file of the test's
    // folder. -2 when stderr holds a line that is not netconfig's own.
    int Run(QStringList args, QString* err = nullptr, QString* out = nullptr)
    {
        for (QString& arg : args)
            arg = Path(arg);
        QProcessEnvironment env = m_Env->bareEnvironment();
        for (const char* name : {"NETCONFIG_SETTLE_MS", "WINSYS_SETTLE_MS", "WINSYS_SYSTEM_DIR"})
            if (qEnvironmentVariableIsSet(name))
                env.insert(QString::fromLatin1(name), qEnvironmentVariable(name));
        QString errors;
        const int exit = m_Env->runIn(env, TestEnv::binDir() + "/netconfig", args, out, &errors);
        if (err)
            *err = errors;
        static const QRegularExpression own(QStringLiteral("^(netconfig: |usage: netconfig |Usage: netconfig -kill )"));
        for (const QString& line : errors.split(u'\n', Qt::SkipEmptyParts))
            if (!own.match(line).hasMatch())
                return qWarning("foreign line: %s", qPrintable(line)), -2;
        return exit;
    }

    QString WriteFile(const QString& name, const QByteArray& text)
    {
        return WriteText(m_Env->path(name), text) ? m_Env->path(name) : QString();
    }

private slots:
    void initTestCase()
    {
        init();
        QCOMPARE(Run({"/c", "/s", "@sample.ini"}), 0);
        m_Sample = ReadAll(m_Env->path("sample.ini"));
        QVERIFY(m_Sample.contains("protocol=192.168.1.5"));
        cleanup();
    }
    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        QVERIFY(m_Env->initSampleHost());
        const QProcessEnvironment bare = m_Env->bareEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR", "LANG"})
            QVERIFY(!bare.contains(QString::fromLatin1(name)));
    }
    void cleanup() { m_Env.reset(); }

    void run_data();
    void run();
    void saveWritesTheLiveConfiguration();
    void whatifIsWhatRuns();
    void saveLoadSaveLosesNothing_data();
    void saveLoadSaveLosesNothing();
    void checkWaitsForTheSystemToSettle();
    void badInput_data();
    void badInput();
};

// file: in.ini (null: none). errors: texts stderr holds, "@" the test's
// folder (none: stderr is empty). host: the adapters after (none: the hive
// is unchanged byte for byte). files: what the test's folder holds after.
void TestConsoleE2E::run_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("exit");
    QTest::addColumn<QStringList>("errors");
    QTest::addColumn<QStringList>("host");
    QTest::addColumn<QStringList>("files");
    const QStringList load{"/c", "/l", "@in.ini"}, same, in{"in.ini"};
    auto refused = [&](const char* name, const QByteArray& file, const QString& message) {
        QTest::newRow(name) << load << file << 3 << QStringList{"netconfig: " + message} << same << in;
    };
    auto reported = [&](const char* name, const QByteArray& file, const QString& message, const QString& wired) {
        QTest::newRow(name) << load << file << 4
                            << QStringList{"Not every setting took effect:", "Gigabit Ethernet Controller, " + message,
                                           "Command: netsh.exe interface ip "}
                            << QStringList{wired, kWireless} << in;
    };
    const QByteArray valid = "[Interface2]\nprotocol=10.0.0.50\nmask=255.255.255.0\nDNS=10.0.0.1;\n"
                             "Wins=10.0.0.2\n[HostInformation]\nComputerName=WS02\n";

    QTest::newRow("static, switches in any order, third section ignored")
        << QStringList{"/l", "@in.ini", "/c"}
        << QByteArray("[Interface1]\nprotocol=192.168.1.50\nmask=255.255.0.0\nDNS=10.1.1.1;;10.1.1.2;10.1.1.3;\n"
                      "Wins=192.168.1.20\nWins2=192.168.1.21\nGateway=192.168.1.1;192.168.1.254;\n"
                      "[Interface2]\nprotocol=172.16.0.5\nmask=255.255.0.0\nDNS=172.16.0.1;172.16.0.2;\n"
                      "Wins=0.0.0.0\nGateway=172.16.0.1;\n[Interface3]\nprotocol=10.9.9.9\nmask=255.0.0.0\n")
        << 0 << QStringList()
        << QStringList{"dhcp=0 ip=192.168.1.50 mask=255.255.0.0 gw=192.168.1.1,192.168.1.254 "
                       "dns=10.1.1.1,10.1.1.2,10.1.1.3 wins=192.168.1.20,192.168.1.21",
                       "dhcp=0 ip=172.16.0.5 mask=255.255.0.0 gw=172.16.0.1 dns=172.16.0.1,172.16.0.2 wins="}
        << in;
    QTest::newRow("DHCP in upper case") << load
                                        << QByteArray("[Interface1]\nprotocol=DHCP\nmask=255.255.255.0\nDNS=Dhcp\nWins=DHCP\n")
                                        << 0 << QStringList() << QStringList{kWireless, kWireless} << in;
    QTest::newRow("verbose: each command with its exit code")
        << load + QStringList{"/verbose"} << QByteArray("[Interface1]\nWins=192.168.1.20\nWins2=192.168.1.21\n") << 0
        << QStringList{"netconfig: netsh.exe interface ip set wins 11 source=static addr=192.168.1.20: exit code 0\n"
                       "netconfig: netsh.exe interface ip add wins 11 addr=192.168.1.21: exit code 0\n"}
        << QStringList{QString(kWired).replace("wins=192.168.1.2", "wins=192.168.1.20,192.168.1.21"), kWireless} << in;

    // What validation refuses stops the whole load before anything runs,
    // naming the section and key with the dialog's message.
    refused("mask octets grow, after a valid section", valid + "[Interface1]\nmask=255.0.255.0\n",
            "Subnet mask 255.0.255.0 is not valid for entered ip address. @in.ini: [Interface1] mask");
    refused("loopback", "[Interface1]\nprotocol=127.0.0.5", "Ip address 127.0.0.5 is a loopback address.");
    refused("multicast", "[Interface1]\nprotocol=224.0.0.5\nmask=255.255.255.0",
            "Ip address 224.0.0.5 is not a unicast address.");
    refused("network address", "[Interface1]\nprotocol=192.168.1.0",
            "Ip address 192.168.1.0 is the network address of its subnet.");
    refused("wins, before a valid section", "[Interface1]\nWins=10.0.0.2\nWins2=10.0.0.256\n" + valid,
            "Ip address 10.0.0.256 is not valid. @in.ini: [Interface1] Wins2");
    refused("further address", "[Interface1]\nAddresses=192.168.1.7/255.255.255.0;192.168.1.8/255.0.255.0;",
            "Ip address 192.168.1.8/255.0.255.0 is not valid.");
    refused("second adapter's DNS", "[Interface2]\nprotocol=10.0.0.50\nmask=255.255.255.0\nDNS=10.0.0.1;x;\n",
            "Ip address x is not valid. @in.ini: [Interface2] DNS");
    // Taken by validation, refused or changed by the system: the check says so.
    reported("no server first", "[Interface1]\nDNS=0.0.0.0;10.0.0.7;",
             "DNS servers: 0.0.0.0, 10.0.0.7 was asked for, the system has 10.0.0.7.",
             QString(kWired).replace("dns=192.168.1.1,10.0.0.1", "dns=10.0.0.7"));
    reported("secondary WINS alone", "[Interface1]\nWins=0.0.0.0\nWins2=10.0.0.9",
             "primary WINS server: 0.0.0.0 was asked for, the system has 10.0.0.9.",
             QString(kWired).replace("wins=192.168.1.2", "wins=10.0.0.9"));

    QTest::newRow("missing file") << QStringList{"/c", "/l", "@missing.ini"} << QByteArray() << 3
                                  << QStringList{"netconfig: Can not load parameters from file. @missing.ini"} << same
                                  << QStringList();
    QTest::newRow("unwritable save") << QStringList{"/c", "/s", "@missing/out.ini"} << QByteArray() << 3
                                     << QStringList{"Can not create a file."} << same << QStringList();
    // Switches that cannot do anything: nothing read or written.
    QTest::newRow("load and save") << QStringList{"-c", "-l", "@in.ini", "-s", "@b.ini"} << QByteArray() << 2
                                   << QStringList{"usage: netconfig"} << same << QStringList();
    QTest::newRow("what-if of a save") << QStringList{"/c", "/s", "@b.ini", "/whatif"} << QByteArray() << 2
                                       << QStringList{"usage: netconfig"} << same << QStringList();
    QTest::newRow("kill without a name") << QStringList{"-kill", ""} << QByteArray() << 2
                                         << QStringList{"Usage: netconfig -kill "} << same << QStringList();
    QStringList saves{"/c"};
    for (int i = 0; i < 3000; ++i)
        saves << "-s" << QStringLiteral("@out%1.ini").arg(i);
    QTest::newRow("3,000 saves: the last file wins")
        << saves << QByteArray() << 0 << QStringList() << same << QStringList{"out2999.ini"};
}

void TestConsoleE2E::run()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, file);
    QFETCH(QStringList, errors);
    QFETCH(QStringList, host);
    QVERIFY(file.isNull() || !WriteFile("in.ini", file).isEmpty());
    const QString hive = m_Env->readHive();
    QString err;
    QTEST(Run(args, &err), "exit");
    for (const QString& text : errors)
        QVERIFY2(err.contains(Path(text)), qPrintable(err));
    if (errors.isEmpty())
        QCOMPARE(err, QString());
    if (host.isEmpty())
        QCOMPARE(m_Env->readHive(), hive);
    else
        QCOMPARE(Adapters(*m_Env), host);
    QTEST(QDir(m_Env->root()).entryList(QDir::Files), "files");
}

// Into an existing file: ours first, in order and spelled right, then what
// belongs to others, untouched; an adapter the machine lacks goes.
void TestConsoleE2E::saveWritesTheLiveConfiguration()
{
    const QString out = WriteFile("out.ini", "[Other]\nkeep=1\n[HostInformation]\nnote=x\n[interface1]\n"
                                             "mask=1.2.3.4\ncustom=1\n[Interface3]\nprotocol=10.9.9.9\n");
    QCOMPARE(Run({"-console", "-save", out}), 0);
    QCOMPARE(IniLines(out).join(u' '),
             QStringLiteral("[Interface1] protocol=192.168.1.5 mask=255.255.255.0 DNS=192.168.1.1;10.0.0.1; "
                            "Wins=192.168.1.2 Wins2=0.0.0.0 Gateway=192.168.1.1; custom=1 [Interface2] "
                            "protocol=dhcp mask=255.255.255.0 DNS=dhcp Wins=dhcp Gateway=10.0.0.1; "
                            "[HostInformation] ComputerName=WS01 Workgroup=WORKGROUP PrimaryDNS=lan note=x "
                            "[Other] keep=1"));
    // A trailing blank names the same file for creating and writing.
    QCOMPARE(Run({"/c", "/s", "@blank.ini "}), 0);
    QCOMPARE(ReadAll(m_Env->path("blank.ini")), m_Sample);
}

// What /whatif prints is what the real run then executes, command for
// command; once the host holds the file, it prints nothing.
void TestConsoleE2E::whatifIsWhatRuns()
{
    QVERIFY(!WriteFile("in.ini", "[Interface1]\nprotocol=192.168.1.50\nmask=255.255.255.0\nDNS=10.1.1.1;10.1.1.2;\n"
                                 "Wins=192.168.1.2\nWins2=0.0.0.0\nGateway=192.168.1.1;\n"
                                 "[Interface2]\nprotocol=dhcp\nDNS=dhcp\nWins=10.0.0.9\n"
                                 "[HostInformation]\nComputerName=WS02\n")
                 .isEmpty());
    const QString before = m_Env->readHive();
    QString out;
    QCOMPARE(Run({"/c", "/l", "@in.ini", "/whatif"}, nullptr, &out), 0);
    QCOMPARE(m_Env->readHive(), before);
    const QStringList planned = Lines(out);
    QVERIFY2(planned.contains(QLatin1String("SetComputerNameEx(ComputerNamePhysicalNetBIOS, WS02)")), qPrintable(out));

    // A netsh.exe that only notes its command line, so the run changes nothing.
    QTemporaryDir system;
    const QString log = system.filePath("netsh.log"), netsh = system.filePath("netsh.exe");
    QVERIFY(WriteText(netsh, "#!/bin/sh\nprintf 'netsh.exe %s\\n' \"$*\" >> '" + log.toUtf8() + "'\n"));
    QVERIFY(QFile::setPermissions(netsh, QFile::ReadOwner | QFile::ExeOwner));
    qputenv("WINSYS_SYSTEM_DIR", system.path().toLocal8Bit());
    Run({"/c", "/l", "@in.ini"});
    qunsetenv("WINSYS_SYSTEM_DIR");
    const QStringList ran = Lines(QString::fromUtf8(ReadAll(log)));
    QVERIFY(!ran.isEmpty());
    QCOMPARE(ran, planned.mid(0, ran.count()));
    QVERIFY(!planned.mid(ran.count()).join(u'\n').contains(QLatin1String("netsh.exe")));

    QCOMPARE(Run({"/c", "/l", "@in.ini"}), 0);
    QCOMPARE(Run({"/c", "/l", "@in.ini", "/whatif"}, nullptr, &out), 0);
    QCOMPARE(out, QString());
}

// save, load, save: the same file, and the load changes nothing.
void TestConsoleE2E::saveLoadSaveLosesNothing_data()
{
    QTest::addColumn<QStringList>("shape");
    QTest::newRow("sample host") << QStringList();
    QTest::newRow("3 addresses, 3 gateways, 4 DNS servers")
        << QStringList{"--adapters", "2", "--addresses", "3", "--gateways", "3", "--dns", "4"};
}

void TestConsoleE2E::saveLoadSaveLosesNothing()
{
    QFETCH(QStringList, shape);
    if (!shape.isEmpty())
        QCOMPARE(m_Env->runProgram(TestEnv::binDir() + "/winhost", QStringList{"init", m_Env->hostDir()} + shape), 0);
    QCOMPARE(Run({"/c", "/s", "@first.ini"}), 0);
    const QString hive = m_Env->readHive();
    QCOMPARE(Run({"/c", "/l", "@first.ini"}), 0);
    QCOMPARE(m_Env->readHive(), hive);
    QCOMPARE(Run({"/c", "/s", "@second.ini"}), 0);
    const QByteArray saved = ReadAll(m_Env->path("first.ini"));
    QCOMPARE(ReadAll(m_Env->path("second.ini")), saved);
    QVERIFY2(shape.isEmpty() || saved.contains("Addresses=172.16.0.6/255.255.255.0;172.16.0.7/255.255.255.0;\n"),
             saved.constData());
}

// A new address is tentative for a moment: the check looks again until it
// settles, and reports it only when it never does within the time allowed.
void TestConsoleE2E::checkWaitsForTheSystemToSettle()
{
    QVERIFY(!WriteFile("in.ini", "[Interface1]\nprotocol=192.168.1.60\n").isEmpty());
    qputenv("WINSYS_SETTLE_MS", "1500");
    qputenv("NETCONFIG_SETTLE_MS", "4000");
    QString err;
    QCOMPARE(Run({"/c", "/l", "@in.ini"}, &err), 0);
    QCOMPARE(err, QString());

    QVERIFY(!WriteFile("in.ini", "[Interface1]\nprotocol=192.168.1.61\n").isEmpty());
    qputenv("WINSYS_SETTLE_MS", "600000");
    qputenv("NETCONFIG_SETTLE_MS", "1000");
    const int exit = Run({"/c", "/l", "@in.ini"}, &err);
    qunsetenv("WINSYS_SETTLE_MS");
    qputenv("NETCONFIG_SETTLE_MS", "0");
    QCOMPARE(exit, 4);
    QVERIFY2(err.contains("Gigabit Ethernet Controller, IP address: 192.168.1.61 was asked for, the system has 0.0.0.0."),
             qPrintable(err));
}

// A hive or settings file that is huge or junk: handled, or refused with a
// clear message (a settings file: exit code 3); what was not written to
// stays as it was. 100,000 foreign sections are carried along.
void TestConsoleE2E::badInput_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("exit");
    QTest::addColumn<QString>("message");
    const QString corrupt = "The configuration registry database is corrupt.", load = "Can not load parameters from file.";
    QTest::newRow("hive, 100 MB value") << "huge hive" << "/s" << 0 << QString();
    QTest::newRow("hive, binary junk") << "junk hive" << "/s" << 1 << corrupt;
    QTest::newRow("hive, header, then junk") << "header hive" << "/s" << 1 << corrupt;
    QTest::newRow("file, 100 MB, load") << "big" << "/l" << 3 << load;
    QTest::newRow("file, 100 MB, save") << "big" << "/s" << 3 << "Can not save parameters to file.";
    QTest::newRow("file, binary junk, load") << "junk" << "/l" << 3 << load;
    QTest::newRow("file, 100,000 sections, load") << "sections" << "/l" << 0 << QString();
    QTest::newRow("file, 100,000 sections, save") << "sections" << "/s" << 0 << QString();
}

void TestConsoleE2E::badInput()
{
    QFETCH(QString, kind);
    QFETCH(QString, action);
    QFETCH(QString, message);
    const bool hive = kind.endsWith("hive");
    const QString path = hive ? QString::fromStdString(winsys::HivePath(m_Env->hostDir().toStdString()))
                              : m_Env->path("settings.ini");
    {
        QByteArray content = kind.startsWith("junk") ? Junk(1 << 20, 11) : hive ? ReadAll(path) : QByteArray();
        if (kind == "header hive")
            content = "Windows Registry Editor Version 5.00\r\n\r\n" + Junk(1 << 20, 12);
        if (kind == "huge hive")
            content += "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Filler]\n\"Blob\"=hex:" +
                       (QByteArray("ab,").repeated(24) + "ab,\\\n  ").repeated(kBig / 80) + "ab\n";
        if (!hive && kind != "junk")
            content = "[Interface1]\nprotocol=192.168.1.77\nmask=255.255.255.0\n" +
                      (kind == "big" ? QByteArray("; padding\n").repeated(kBig / 10) : QByteArray());
        for (int i = 1; kind == "sections" && i < 100000; ++i)
            content += "[Foreign" + QByteArray::number(i) + "]\nkey=" + QByteArray::number(i) + "\n";
        QVERIFY(WriteText(path, content));
    }
    const QByteArray before = Digest(path);
    const QString hiveBefore = m_Env->readHive();
    QString err;
    QTEST(Run({"/c", action, hive ? "@out.ini" : path}, &err), "exit");
    QVERIFY2(err.contains(message), qPrintable(err));
    if (kind != "sections" || action == "/l")
        QCOMPARE(Digest(path), before);
    if (kind == "huge hive")
        QCOMPARE(ReadAll(m_Env->path("out.ini")), m_Sample);
    else if (kind == "sections" && action == "/l")
        QCOMPARE(Adapters(*m_Env).at(0), QString(kWired).replace("ip=192.168.1.5", "ip=192.168.1.77"));
    else if (kind == "sections") {
        // Ours rewritten from the live configuration, every foreign section kept.
        const QByteArray after = ReadAll(path);
        QVERIFY(after.startsWith("[Interface1]\nprotocol=192.168.1.5\n"));
        QCOMPARE(after.count("[Foreign"), 99999);
        QVERIFY(after.contains("[Foreign99999]\nkey=99999\n"));
    } else if (!hive)
        QCOMPARE(m_Env->readHive(), hiveBefore);
}

QTEST_GUILESS_MAIN(TestConsoleE2E)
#include "tst_console_e2e.moc"
