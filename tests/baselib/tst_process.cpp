#include "childprocess.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QtTest>

// Children here are real programs of the machine (printf, ls, sleep, env).
class TestProcess : public QObject
{
    Q_OBJECT

private:
    static bool processAlive(qint64 pid) { return QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid)); }

private slots:
    // Each element is split on its own (the rules themselves: tst_cmdline).
    void split_data()
    {
        QTest::addColumn<QStringList>("elements");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("tabs and runs of blanks") << QStringList{"  a \t\tb  ", "c"} << QStringList{"a", "b", "c"};
        QTest::newRow("empty elements vanish") << QStringList{"a", "", "   ", "b"} << QStringList{"a", "b"};
        QTest::newRow("quotes group") << QStringList{"x", "\"two words\" z"} << QStringList{"x", "two words", "z"};
    }
    void split()
    {
        QFETCH(QStringList, elements);
        QFETCH(QStringList, words);
        QCOMPARE(CProcess::SplitArguments(elements), words);
    }

    void findProgram()
    {
        QVERIFY(CProcess::FindProgram(QStringLiteral("no-such-program-here")).isEmpty());
        QCOMPARE(QFileInfo(CProcess::FindProgram(QStringLiteral("sh"))).fileName(), QStringLiteral("sh"));
        QVERIFY(CProcess::FindProgram(QStringLiteral("/no/such/dir/sh")).isEmpty());
        // The system folder comes before PATH; a bare name finds NAME.exe there too.
        QCOMPARE(QFileInfo(CProcess::FindProgram(QStringLiteral("ping"))).canonicalFilePath(),
                 QFileInfo(QStringLiteral(NETCONFIG_SYSTEM_DIR "/ping")).canonicalFilePath());
        QCOMPARE(QFileInfo(CProcess::FindProgram(QStringLiteral("netsh"))).canonicalFilePath(),
                 QFileInfo(QStringLiteral(NETCONFIG_SYSTEM_DIR "/netsh.exe")).canonicalFilePath());
    }

    // Windows' own programs come from the system folder or not at all:
    // this machine's ping must never run in place of a missing one.
    void systemProgramsNeverFromPath()
    {
        QTemporaryDir empty;
        qputenv("WINSYS_SYSTEM_DIR", empty.path().toLocal8Bit());
        for (const char* name : {"ping", "PING.EXE", "tracert", "netsh", "netsh.exe", "route"})
            QVERIFY2(CProcess::FindProgram(QString::fromLatin1(name)).isEmpty(), name);
        QCOMPARE(QFileInfo(CProcess::FindProgram(QStringLiteral("sh"))).fileName(), QStringLiteral("sh"));
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

    void outputArrivesSplitIntoWords()
    {
        CProcess process;
        process.setCommunication(7);
        QSignalSpy out(&process, &CProcess::readyReadStdout);
        QSignalSpy exited(&process, &CProcess::processExited);
        process.setArguments({QStringLiteral("printf"), QStringLiteral("[%s]"), QStringLiteral("-n 4"),
                              QStringLiteral("x\ty")});
        QVERIFY(process.start());
        QTRY_COMPARE(exited.count(), 1);
        QVERIFY(out.count() >= 1);
        QCOMPARE(process.readStdout(), QByteArray("[-n][4][x][y]"));
        QVERIFY(!process.isRunning());
        QVERIFY(process.normalExit());
        QCOMPARE(process.exitStatus(), 0);
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
    }

    void killReportsExitOnce()
    {
        CProcess process;
        QSignalSpy exited(&process, &CProcess::processExited);
        process.setArguments({QStringLiteral("sleep 60")});
        QVERIFY(process.start());
        QVERIFY(process.isRunning());
        QVERIFY(!process.start());   // a second start while running is refused
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
