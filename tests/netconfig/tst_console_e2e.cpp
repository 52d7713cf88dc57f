// Console mode of the real program: /c with /s writes the live configuration,
// /c with /l loads a settings file and applies it to the emulated host.
#include "hoststate.h"
#include "settingsfiletest.h"
#include "testenv.h"

#include <QDir>
#include <QtTest>

#include <memory>

using namespace settingstest;

namespace {

const QString kWired = QStringLiteral(
    "dhcp=0 ip=192.168.1.5 mask=255.255.255.0 gw=192.168.1.1 dns=192.168.1.1,10.0.0.1 wins=192.168.1.2");
const QString kWireless = QStringLiteral("dhcp=1 dns= wins=");

// What the sample host's configuration calls for.
const QStringList kSampleFile{"[Interface1]", "protocol=192.168.1.5", "mask=255.255.255.0", "DNS=192.168.1.1;",
                              "Wins=192.168.1.2", "Wins2=0.0.0.0", "Gateway=192.168.1.1;", "[Interface2]",
                              "protocol=dhcp", "mask=255.255.255.0", "DNS=dhcp", "Wins=dhcp",
                              "Gateway=10.0.0.1;", "[HostInformation]", "ComputerName=WS01",
                              "Workgroup=WORKGROUP", "PrimaryDNS=lan"};

const QByteArray kStaticFile = "[Interface1]\nprotocol=192.168.1.50\nmask=255.255.0.0\n"
                               "DNS=10.1.1.1;10.1.1.2;10.1.1.3;\nWins=192.168.1.20\nWins2=192.168.1.21\n"
                               "Gateway=192.168.1.1;192.168.1.254;\n";
const QString kStaticWired = QStringLiteral("dhcp=0 ip=192.168.1.50 mask=255.255.0.0 gw=192.168.1.1,192.168.1.254 "
                                            "dns=10.1.1.1,10.1.1.2,10.1.1.3 wins=192.168.1.20,192.168.1.21");

} // namespace

class TestConsoleE2E : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_Env;

    QString WriteFile(const QString& name, const QByteArray& text)
    {
        const QString path = m_Env->path(name);
        if (!WriteText(path, text))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    int Run(const QStringList& args, QString* stdErr = nullptr)
    {
        QString err;
        const int code = m_Env->runNetconfig(args, &err);
        if (stdErr)
            *stdErr = err;
        return code;
    }

    bool RowStored() const
    {
        QFile settings(QDir(m_Env->configDir()).filePath(QStringLiteral("netconfig/settings.xml")));
        return settings.open(QIODevice::ReadOnly) && settings.readAll().contains("NetConfigActiveAdapter");
    }

private slots:
    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        QVERIFY(m_Env->initSampleHost());
        QCOMPARE(hoststate::Adapters(*m_Env), (QStringList{kWired, kWireless}));
    }

    void cleanup() { m_Env.reset(); }

    void saveWritesTheLiveConfiguration()
    {
        const QString fresh = m_Env->path(QStringLiteral("fresh.ini"));
        QCOMPARE(Run({"/c", "/s", fresh}), 0);
        QCOMPARE(IniLines(fresh), kSampleFile);
        // Into an existing file: foreign sections stay, ours are rewritten.
        const QString out = WriteFile(QStringLiteral("out.ini"), "[Other]\nkeep=1\n[Interface1]\nstale=1\n");
        QCOMPARE(Run({"-console", "-save", out}), 0);
        QCOMPARE(IniLines(out), (QStringList{"[Other]", "keep=1"} + kSampleFile));
    }

    void saveReportsAFileItCannotCreate()
    {
        const QString out = m_Env->path(QStringLiteral("missing/out.ini"));
        QString err;
        QCOMPARE(Run({"/c", "/s", out}, &err), 0);
        QVERIFY2(err.contains(QLatin1String("Can not create a file.")), qPrintable(err));
        QVERIFY(!QFile::exists(out));
    }

    void loadAppliesTheFile_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("static addresses and server lists")
            << kStaticFile + "[Interface2]\nprotocol=172.16.0.5\nmask=255.255.0.0\nDNS=172.16.0.1;172.16.0.2;\n"
                             "Wins=0.0.0.0\nGateway=172.16.0.1;\n"
            << QStringList{kStaticWired, "dhcp=0 ip=172.16.0.5 mask=255.255.0.0 gw=172.16.0.1 "
                                         "dns=172.16.0.1,172.16.0.2 wins="};
        QTest::newRow("DHCP in upper case")
            << QByteArray("[Interface1]\nprotocol=DHCP\nmask=255.255.255.0\nDNS=Dhcp\nWins=DHCP\n")
            << QStringList{"dhcp=1 dns= wins=", kWireless};
        QTest::newRow("doubled separators, third section ignored")
            << QByteArray("[Interface1]\nDNS=10.0.0.1;;10.0.0.2;\n[Interface2]\nWins=10.0.0.8\n"
                          "[Interface3]\nprotocol=10.9.9.9\nmask=255.0.0.0\n")
            << QStringList{QString(kWired).replace("dns=192.168.1.1,10.0.0.1", "dns=10.0.0.1,10.0.0.2"),
                           "dhcp=1 dns= wins=10.0.0.8"};
    }

    void loadAppliesTheFile()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, expected);
        const QString in = WriteFile(QStringLiteral("in.ini"), file);
        QString err;
        QCOMPARE(Run({"/c", "/l", in}, &err), 0);
        QCOMPARE(hoststate::Adapters(*m_Env), expected);
        QVERIFY2(!err.contains(QLatin1String("netconfig: ")), qPrintable(err));
    }

    // Switch order is free; the program reads the host back as at start-up.
    void savedFileShowsTheLoadedConfiguration()
    {
        const QString in = WriteFile(QStringLiteral("in.ini"), kStaticFile);
        const QString out = m_Env->path(QStringLiteral("out.ini"));
        QCOMPARE(Run({"/l", in, "/c"}), 0);
        QCOMPARE(hoststate::Adapters(*m_Env), (QStringList{kStaticWired, kWireless}));
        QCOMPARE(Run({"/c", "/s", out}), 0);
        QCOMPARE(IniLines(out).mid(0, 7),
                 (QStringList{"[Interface1]", "protocol=192.168.1.50", "mask=255.255.0.0", "DNS=10.1.1.1;",
                              "Wins=192.168.1.20", "Wins2=192.168.1.21", "Gateway=192.168.1.1;192.168.1.254;"}));
    }

    void incompleteSwitchesRunNothing_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("load and save") << QStringList{"/c", "/l", "A", "/s", "B"};
        QTest::newRow("load without a file") << QStringList{"/c", "/l"};
        QTest::newRow("save switch left without a file") << QStringList{"/c", "/l", "A", "/s"};
        QTest::newRow("console alone") << QStringList{"/c"};
    }

    void incompleteSwitchesRunNothing()
    {
        QFETCH(QStringList, args);
        const QString in = WriteFile(QStringLiteral("a.ini"), kStaticFile);
        const QString out = m_Env->path(QStringLiteral("b.ini"));
        args.replaceInStrings(QRegularExpression(QStringLiteral("^A$")), in);
        args.replaceInStrings(QRegularExpression(QStringLiteral("^B$")), out);
        const QString hive = m_Env->readHive();

        QCOMPARE(Run(args), 0);
        QCOMPARE(m_Env->readHive(), hive);
        QVERIFY(!QFile::exists(out));
        QVERIFY(RowStored());
    }

    void refusedFilesChangeNothing()
    {
        const QString hive = m_Env->readHive();
        for (const QString& in : {WriteFile(QStringLiteral("bad.ini"), "\x01\x02\x03 junk\nprotocol=dhcp\n"),
                                  m_Env->path(QStringLiteral("missing.ini"))}) {
            QString err;
            QCOMPARE(Run({"/c", "/l", in}, &err), 0);
            QVERIFY2(err.contains(QLatin1String("Can not load parameters from file. ") + in), qPrintable(err));
            QCOMPARE(m_Env->readHive(), hive);
        }
    }

    // The apply validates the page as shown, which in console mode is the
    // start-up row: a host whose own page is invalid refuses any file.
    void invalidPageStopsTheApply()
    {
        HostHive host;
        QVERIFY(host.IsValid());
        host.SetString(host.TcpipKey(0), "NameServer", ""); // static address, automatic DNS
        QVERIFY(host.WriteTo(*m_Env));
        const QString hive = m_Env->readHive();
        const QString in = WriteFile(QStringLiteral("in.ini"), kStaticFile);

        QString err;
        QCOMPARE(Run({"/c", "/l", in}, &err), 0);
        QVERIFY2(err.contains(QLatin1String("DNS/WINS can not be set automatically in current configuration.")),
                 qPrintable(err));
        QCOMPARE(m_Env->readHive(), hive);
    }

    // netsh's own complaints are not system errors; what fails the apply is
    // a netsh that cannot be started, here one missing from the system folder.
    void netshThatCannotRunIsReported()
    {
        const QString empty = m_Env->path(QStringLiteral("nosystem"));
        QVERIFY(QDir().mkpath(empty));
        const QString in = WriteFile(QStringLiteral("in.ini"), kStaticFile);
        const QString hive = m_Env->readHive();
        const QByteArray path = qgetenv("PATH");
        qputenv("WINSYS_SYSTEM_DIR", empty.toLocal8Bit());
        qputenv("PATH", empty.toLocal8Bit());

        QString err;
        const int code = Run({"/c", "/l", in}, &err);
        qunsetenv("WINSYS_SYSTEM_DIR");
        qputenv("PATH", path);
        QCOMPARE(code, 0);
        QVERIFY2(err.contains(QLatin1String("netconfig: The system cannot find the file specified.")),
                 qPrintable(err));
        QCOMPARE(m_Env->readHive(), hive);
    }
};

QTEST_GUILESS_MAIN(TestConsoleE2E)
#include "tst_console_e2e.moc"
