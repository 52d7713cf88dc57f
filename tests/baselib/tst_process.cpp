// Command lines split and quoted the Windows way (CommandLineToArgvW) by
// baselib's Qt form of the winsys rules (winfidelity runs the winsys form on
// the same cases), and child processes: real programs of the machine
// (printf, sh, sleep).
#include "../winfidelity/cmdline_cases.h"
#include "childprocess.h"
#include "processargs.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QtTest>

class TestProcess : public QObject
{
    Q_OBJECT

private:
    static bool processAlive(qint64 pid) { return QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid)); }

private slots:
    void split_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("words");
        for (const cmdline_cases::Split& c : cmdline_cases::kSplits) {
            QStringList words;
            for (const std::string& w : c.words)
                words << QString::fromStdString(w);
            QTest::newRow(c.name) << QString::fromLatin1(c.line) << words;
        }
        QTest::newRow("utf-8 untouched") << QString::fromUtf8("b\u00fccher \u043f\u0440")
                                         << QStringList{QString::fromUtf8("b\u00fccher"),
                                                        QString::fromUtf8("\u043f\u0440")};
    }
    void split()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, words);
        QCOMPARE(baselib::SplitCommandLine(line), words);
        QCOMPARE(CProcess::SplitArguments({line}), words);
    }

    void quote_data()
    {
        QTest::addColumn<QString>("arg");
        QTest::addColumn<QString>("quoted");
        for (const cmdline_cases::Quote& c : cmdline_cases::kQuotes)
            QTest::newRow(c.name) << QString::fromLatin1(c.arg) << QString::fromLatin1(c.quoted);
    }
    void quote()
    {
        QFETCH(QString, arg);
        QFETCH(QString, quoted);
        QCOMPARE(baselib::QuoteArgument(arg), quoted);
        // The inverse of the splitter: one word, unchanged, among others.
        QCOMPARE(baselib::SplitCommandLine("x " + quoted + " y"), (QStringList{"x", arg, "y"}));
    }

    // The system folder comes before PATH; a bare name finds NAME.exe there
    // too. Windows' own programs come from the system folder or not at all:
    // this machine's ping must never run in place of a missing one.
    void findProgram()
    {
        const auto found = [](const char* name) { return CProcess::FindProgram(QString::fromLatin1(name)); };
        const auto system = [](const char* name) {
            return QFileInfo(QStringLiteral(NETCONFIG_SYSTEM_DIR "/") + QLatin1String(name)).canonicalFilePath();
        };
        QVERIFY(found("no-such-program-here").isEmpty());
        QCOMPARE(QFileInfo(found("ping")).canonicalFilePath(), system("ping"));
        QCOMPARE(QFileInfo(found("netsh")).canonicalFilePath(), system("netsh.exe"));

        QTemporaryDir empty;
        qputenv("WINSYS_SYSTEM_DIR", empty.path().toLocal8Bit());
        for (const char* name : {"ping", "PING.EXE", "tracert", "netsh", "netsh.exe", "route"})
            QVERIFY2(found(name).isEmpty(), name);
        QCOMPARE(QFileInfo(found("sh")).fileName(), QStringLiteral("sh"));
        // Not started, and so nothing reported.
        CProcess process;
        QSignalSpy exited(&process, &CProcess::processExited);
        process.setArguments({QStringLiteral("ping -n 1 127.0.0.1")});
        QVERIFY(!process.start());
        qunsetenv("WINSYS_SYSTEM_DIR");
        QVERIFY(!process.isRunning());
        QTest::qWait(20);
        QCOMPARE(exited.count(), 0);
    }

    void channels_data()
    {
        QTest::addColumn<int>("flags");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        QTest::newRow("apart") << int(CProcess::Stdout | CProcess::Stderr) << QByteArray("o\n") << QByteArray("e\n");
        QTest::newRow("merged") << int(CProcess::Stdout | CProcess::DupStderr) << QByteArray("o\ne\n") << QByteArray();
        QTest::newRow("errors dropped") << int(CProcess::Stdout) << QByteArray("o\n") << QByteArray();
    }
    void channels()
    {
        QFETCH(int, flags);
        CProcess process;
        process.setCommunication(flags);
        QSignalSpy exited(&process, &CProcess::processExited);
        process.setArguments({QStringLiteral("sh -c \"echo o; echo e >&2\"")});
        QVERIFY(process.start());
        QTRY_COMPARE(exited.count(), 1);
        QTEST(process.readStdout(), "out");
        QTEST(process.readStderr(), "err");
        QVERIFY(!process.isRunning());
        QVERIFY(process.normalExit());
        QCOMPARE(process.exitStatus(), 0);
    }

    void killReportsExitOnce()
    {
        CProcess process;
        QSignalSpy exited(&process, &CProcess::processExited);
        process.setArguments({QStringLiteral("sleep 60")});
        QVERIFY(process.start());
        QVERIFY(process.isRunning());
        QVERIFY(!process.start()); // a second start while running is refused
        const qint64 pid = process.processIdentifier();
        QVERIFY(pid > 0);
        process.kill();
        QTRY_COMPARE(exited.count(), 1);
        QVERIFY(!process.isRunning());
        QVERIFY(!process.normalExit());
        QVERIFY(!processAlive(pid));
        QTest::qWait(50);
        QCOMPARE(exited.count(), 1);

        // The same object starts again and reports the new run.
        process.setArguments({QStringLiteral("printf ok")});
        QVERIFY(process.start());
        QTRY_COMPARE(exited.count(), 2);
        QCOMPARE(process.readStdout(), QByteArray("ok"));
    }

    void destructorKillsTheChild()
    {
        qint64 pid = 0;
        bool signalled = false;
        {
            CProcess process;
            connect(&process, &CProcess::processExited, this, [&] { signalled = true; });
            process.setArguments({QStringLiteral("sleep 60")});
            QVERIFY(process.start());
            pid = process.processIdentifier();
        }
        QVERIFY(pid > 0);
        QVERIFY(!processAlive(pid));
        QVERIFY(!signalled); // the owner is going away; no signal reaches it
    }
};

QTEST_GUILESS_MAIN(TestProcess)
#include "tst_process.moc"
