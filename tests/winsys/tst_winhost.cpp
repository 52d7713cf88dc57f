// winhost: creating, showing and checking emulated hosts from the command line.
#include "testenv.h"

#include <QtTest>

namespace {

QString Winhost()
{
    return TestEnv::binDir() + QStringLiteral("/winhost");
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

}  // namespace

class TestWinhost : public QObject
{
    Q_OBJECT

private slots:
    void sampleHost();
    void generatedHost();
    void usageErrors_data();
    void usageErrors();
    void brokenHiveNamesLine_data();
    void brokenHiveNamesLine();
    void initRefusesAFile();
};

void TestWinhost::sampleHost()
{
    TestEnv env;
    const QString dir = env.path("new/host");   // folders that do not exist yet
    QCOMPARE(env.runProgram(Winhost(), {"init", dir}), 0);
    QVERIFY(QFile::exists(dir + "/registry.reg"));
    QString out, err;
    QCOMPARE(env.runProgram(Winhost(), {"check", dir}, &out, &err), 0);
    QVERIFY(err.isEmpty());
    QCOMPARE(env.runProgram(Winhost(), {"show", dir}, &out, &err), 0);
    for (const char* fact : {"Gigabit Ethernet Controller", "Wireless Network Adapter", "192.168.1.5", "10.0.0.23",
                             "WS01", "fileserver"})
        QVERIFY2(out.contains(fact), fact);
}

void TestWinhost::generatedHost()
{
    TestEnv env;
    const QString dir = env.path("gen");
    QCOMPARE(env.runProgram(Winhost(), {"init", dir, "--adapters", "7"}), 0);
    QCOMPARE(env.runProgram(Winhost(), {"check", dir}), 0);
    QString out;
    QCOMPARE(env.runProgram(Winhost(), {"show", dir}, &out), 0);
    // One block per adapter, each with its physical address line.
    QCOMPARE(out.count("Physical Address"), 7);
}

void TestWinhost::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("unknown command") << QStringList{"frob", "x"};
    QTest::newRow("init without folder") << QStringList{"init"};
    QTest::newRow("adapters not a number") << QStringList{"init", "x", "--adapters", "many"};
    QTest::newRow("adapters zero") << QStringList{"init", "x", "--adapters", "0"};
    QTest::newRow("unknown option") << QStringList{"init", "x", "--colour", "3"};
    QTest::newRow("show two folders") << QStringList{"show", "a", "b"};
}

void TestWinhost::usageErrors()
{
    QFETCH(QStringList, args);
    TestEnv env;
    QString out, err;
    QCOMPARE(env.runProgram(Winhost(), args, &out, &err), 2);
    QVERIFY2(err.contains("Usage: winhost"), qPrintable(err));
    QVERIFY(!QFile::exists(env.path("x")));   // nothing was created
}

void TestWinhost::brokenHiveNamesLine_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("line");
    const QByteArray head = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SYSTEM]\r\n\"ok\"=\"fine\"\r\n";
    QTest::newRow("bad dword") << head + "\"bad\"=dword:zz\r\n" << 5;
    QTest::newRow("unclosed key") << head + "\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\r\n" << 6;
    QTest::newRow("no header") << QByteArray("[HKEY_LOCAL_MACHINE\\SYSTEM]\r\n") << 1;
}

void TestWinhost::brokenHiveNamesLine()
{
    QFETCH(QByteArray, text);
    QFETCH(int, line);
    TestEnv env;
    QVERIFY(WriteFile(env.hostDir() + "/registry.reg", text));
    QString out, err;
    QCOMPARE(env.runProgram(Winhost(), {"check", env.hostDir()}, &out, &err), 1);
    QVERIFY2(QRegularExpression(QStringLiteral("\\b%1\\b").arg(line)).match(err).hasMatch(), qPrintable(err));
    QCOMPARE(env.runProgram(Winhost(), {"show", env.hostDir()}, &out, &err), 1);
    // Checking and showing never rewrite the file.
    QFile file(env.hostDir() + "/registry.reg");
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), text);
}

void TestWinhost::initRefusesAFile()
{
    TestEnv env;
    QVERIFY(WriteFile(env.path("plain"), "data"));
    QString out, err;
    QCOMPARE(env.runProgram(Winhost(), {"init", env.path("plain")}, &out, &err), 1);
    QVERIFY(!err.isEmpty());
    QCOMPARE(env.runProgram(Winhost(), {"check", env.path("missing")}, &out, &err), 1);
}

QTEST_GUILESS_MAIN(TestWinhost)
#include "tst_winhost.moc"
