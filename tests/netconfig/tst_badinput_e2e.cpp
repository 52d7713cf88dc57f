// The real program against inputs far outside the usual: huge or junk hives
// and settings files, an INI of 100,000 sections, thousands of switches and
// a 10,000-character utility target. Each is refused with the system's
// message or handled, and nothing is lost (bench/run.sh measures the memory
// such a file costs).
#include "netconfigimpl.h"
#include "testenv.h"

#include <QCryptographicHash>
#include <QtTest>

#include <winsys/host.h>

#include <fcntl.h>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

const qint64 kBig = 100 * 1024 * 1024;

struct Outcome
{
    int exit = -1;
    QString stdErr;
};

// Runs the program headless, its standard error kept in a file: a flood of
// messages must not fill a pipe nobody reads.
Outcome RunMeasured(const TestEnv& env, const QStringList& args)
{
    std::vector<QByteArray> bytes{(TestEnv::binDir() + "/netconfig").toLocal8Bit()};
    for (const QString& a : args)
        bytes.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    const QByteArray errPath = env.path("stderr.txt").toLocal8Bit();
    Outcome out;
    const pid_t pid = fork();
    if (pid == 0) {
        const int err = open(errPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int null = open("/dev/null", O_WRONLY);
        if (err < 0 || null < 0 || dup2(err, 2) < 0 || dup2(null, 1) < 0)
            _exit(127);
        execve(argv[0], argv.data(), environ);
        _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid)
        return out;
    out.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;

    QFile err(QString::fromLocal8Bit(errPath));
    if (err.open(QIODevice::ReadOnly))
        out.stdErr = QString::fromUtf8(err.readAll());
    return out;
}

QByteArray Junk(int size, quint32 seed)
{
    std::mt19937 random(seed);
    QByteArray junk(size, '\0');
    for (char& c : junk)
        c = char(random());
    return junk;
}

// The sample hive plus one binary value of about `size` bytes of text.
QByteArray HugeHive(qint64 size)
{
    QByteArray text = QByteArray::fromStdString(winsys::SampleHiveText());
    text += "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Filler]\n\"Blob\"=hex:";
    const QByteArray row = QByteArray("ab,").repeated(24) + "ab";
    text.reserve(size + 100);
    while (text.size() < size)
        text += row + ",\\\n  ";
    return text + "ab\n";
}

QByteArray Digest(const QString& path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    return file.open(QIODevice::ReadOnly) && hash.addData(&file) ? hash.result() : QByteArray();
}

bool WriteFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestBadInputE2E : public QObject
{
    Q_OBJECT

private:
    QByteArray m_SampleSettings; // what /c /s writes for the sample host

private slots:
    void initTestCase()
    {
        TestEnv env;
        QVERIFY(env.initSampleHost());
        const Outcome run = RunMeasured(env, {"/c", "/s", env.path("sample.ini")});
        QCOMPARE(run.exit, 0);

        m_SampleSettings = ReadFile(env.path("sample.ini"));
        QVERIFY(m_SampleSettings.contains("protocol=192.168.1.5"));
    }

    void hive_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("exit");
        QTest::newRow("100 MB value") << "huge" << 0;
        QTest::newRow("binary junk") << "junk" << 1;
        QTest::newRow("header, then junk") << "header" << 1;
    }

    void hive()
    {
        QFETCH(QString, kind);
        QFETCH(int, exit);
        // Made here, not in the table, and freed before the run (see RunMeasured).
        QByteArray hive = kind == "huge"   ? HugeHive(kBig)
                          : kind == "junk" ? Junk(1 << 20, 11)
                                           : "Windows Registry Editor Version 5.00\r\n\r\n" + Junk(1 << 20, 12);
        TestEnv env;
        const QString hivePath = winsys::HivePath(env.hostDir().toStdString()).c_str();
        QVERIFY(WriteFile(hivePath, hive));
        const QByteArray before = Digest(hivePath);
        hive = QByteArray();
        const Outcome run = RunMeasured(env, {"/c", "/s", env.path("out.ini")});
        QCOMPARE(run.exit, exit);
        if (exit == 0)
            QCOMPARE(ReadFile(env.path("out.ini")), m_SampleSettings);
        else
            QVERIFY2(run.stdErr.contains("The configuration registry database is corrupt."), qPrintable(run.stdErr));
        QCOMPARE(Digest(hivePath), before);
    }

    void settingsFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("message"); // empty: handled
        QTest::newRow("100 MB, load") << "big"
                                      << "/l"
                                      << "Can not load parameters from file.";
        QTest::newRow("100 MB, save") << "big"
                                      << "/s"
                                      << "Can not save parameters to file.";
        QTest::newRow("binary junk, load") << "junk"
                                           << "/l"
                                           << "Can not load parameters from file.";
        QTest::newRow("100,000 sections, load") << "sections"
                                                << "/l" << QString();
        QTest::newRow("100,000 sections, save") << "sections"
                                                << "/s" << QString();
    }

    void settingsFile()
    {
        QFETCH(QString, kind);
        QFETCH(QString, action);
        QFETCH(QString, message);
        TestEnv env;
        QVERIFY(env.initSampleHost());
        QByteArray content = "[Interface1]\nprotocol=192.168.1.77\nmask=255.255.255.0\n";
        if (kind == "big")
            content += QByteArray("; padding\n").repeated(int(kBig / 10));
        else if (kind == "junk")
            content = Junk(1 << 20, 21);
        for (int i = 1; kind == "sections" && i < 100000; ++i)
            content += "[Foreign" + QByteArray::number(i) + "]\nkey=" + QByteArray::number(i) + "\n";
        const QString file = env.path("settings.ini");
        QVERIFY(WriteFile(file, content));
        content = QByteArray();
        const QByteArray fileBefore = Digest(file);
        const QString hive = env.readHive();
        const Outcome run = RunMeasured(env, {"/c", action, file});
        // A file that cannot be read or written: exit code 3, nothing applied.
        QCOMPARE(run.exit, message.isEmpty() ? 0 : 3);
        if (!message.isEmpty()) {
            QVERIFY2(run.stdErr.contains(message), qPrintable(run.stdErr));
            QCOMPARE(Digest(file), fileBefore);
            QCOMPARE(env.readHive(), hive);
            return;
        }
        if (action == "/l") {
            QCOMPARE(Digest(file), fileBefore);
            QCOMPARE(RunMeasured(env, {"/c", "/s", env.path("after.ini")}).exit, 0);
            QVERIFY(ReadFile(env.path("after.ini")).startsWith("[Interface1]\nprotocol=192.168.1.77\n"));
        } else {
            // Ours rewritten from the live configuration, every foreign section kept.
            const QByteArray after = ReadFile(file);
            QVERIFY(after.startsWith("[Interface1]\nprotocol=192.168.1.5\n"));
            QCOMPARE(after.count("[Foreign"), 99999);
            QVERIFY(after.contains("[Foreign99999]\nkey=99999\n"));
        }
    }

    void thousandsOfSwitches_data()
    {
        QTest::addColumn<bool>("withLoad");
        QTest::newRow("saves: the last file wins") << false;
        QTest::newRow("loads and saves: nothing runs") << true;
    }

    void thousandsOfSwitches()
    {
        QFETCH(bool, withLoad);
        TestEnv env;
        QVERIFY(env.initSampleHost());
        QVERIFY(WriteFile(env.path("load.ini"), "[Interface1]\nprotocol=192.168.1.77\n"));
        QStringList args{"/c"};
        for (int i = 0; i < 3000; ++i) {
            args << "-s" << env.path(QStringLiteral("out%1.ini").arg(i));
            if (withLoad)
                args << "/load" << env.path("load.ini");
        }
        const QString hive = env.readHive();
        // Loads and saves together contradict each other: a usage error.
        QCOMPARE(RunMeasured(env, args).exit, withLoad ? 2 : 0);
        QCOMPARE(env.readHive(), hive);
        const QStringList written = QDir(env.root()).entryList({"out*.ini"});
        QCOMPARE(written, withLoad ? QStringList() : QStringList{"out2999.ini"});
        if (!withLoad)
            QCOMPARE(ReadFile(env.path("out2999.ini")), m_SampleSettings);
    }

    void longUtilityTarget()
    {
        TestEnv env;
        QVERIFY(env.initSampleHost());
        CNetConfigImpl dialog;
        const QString target(10000, QLatin1Char('a'));
        dialog.UtilitiesPage()->editUtilityTarget->setText(target);
        QVERIFY(dialog.UtilitiesPage()->btnStartUtility->isEnabled());
        dialog.UtilitiesPage()->btnStartUtility->click();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.UtilitiesPage()->comboUtility->isEnabled(), 60000);
        const QString text = dialog.UtilitiesPage()->editUtilityOutput->toPlainText();
        QVERIFY(text.startsWith("Running ping " + target + ".\n"));
        QVERIFY(text.endsWith("ping " + target + " done.\n"));
        // Three times whole: the start line, the program's own complaint, the end line.
        QVERIFY2(text.count(target) >= 3, qPrintable(text.left(300)));
    }
};

QTEST_MAIN(TestBadInputE2E)
#include "tst_badinput_e2e.moc"
