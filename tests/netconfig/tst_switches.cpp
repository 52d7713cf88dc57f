// The command-line switch scanner and kill mode, row by row.
#include "entry.h"

#include <QtTest>

class TestSwitches : public QObject
{
    Q_OBJECT

private slots:
    void scan_data()
    {
        QTest::addColumn<QStringList>("args");
        // "c" console, "l" load, "s" save, "m" a file name missing, then the file names.
        QTest::addColumn<QString>("flags");
        QTest::addColumn<QString>("loadFile");
        QTest::addColumn<QString>("saveFile");
        QTest::newRow("none") << QStringList{} << "" << "" << "";
        QTest::newRow("a file alone") << QStringList{"net.ini"} << "" << "" << "";
        QTest::newRow("console, load") << QStringList{"/c", "/l", "a.ini"} << "cl" << "a.ini" << "";
        QTest::newRow("long forms") << QStringList{"-console", "-save", "my file.ini"} << "cs" << "" << "my file.ini";
        QTest::newRow("slash long forms") << QStringList{"/console", "/load", "x", "/save", "y"} << "cls" << "x" << "y";
        QTest::newRow("dash short forms") << QStringList{"-c", "-l", "x", "-s", "y"} << "cls" << "x" << "y";
        QTest::newRow("any order") << QStringList{"/s", "out.ini", "-load", "in.ini", "/c"} << "cls" << "in.ini"
                                   << "out.ini";
        QTest::newRow("case matters") << QStringList{"/C", "/L", "x", "-Save", "y"} << "" << "" << "";
        QTest::newRow("whole words only") << QStringList{"/cx", "--c", "/l:", "-loads"} << "" << "" << "";
        QTest::newRow("load last") << QStringList{"/c", "/l"} << "clm" << "" << "";
        QTest::newRow("save last") << QStringList{"-s"} << "sm" << "" << "";
        QTest::newRow("the last file wins") << QStringList{"/l", "a", "/l", "b"} << "l" << "b" << "";
        QTest::newRow("a switch taken as the file") << QStringList{"/s", "/l"} << "lsm" << "" << "/l";
        QTest::newRow("an empty file name") << QStringList{"/l", ""} << "l" << "" << "";
        QTest::newRow("missing after a complete one") << QStringList{"/l", "a", "/s"} << "lsm" << "a" << "";
    }
    void scan()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, flags);
        const CommandLineSwitches s = ScanCommandLine(args);
        const QByteArray got =
            QByteArray(s.console ? "c" : "") + (s.load ? "l" : "") + (s.save ? "s" : "") + (s.missingFile ? "m" : "");
        QCOMPARE(QString::fromLatin1(got), flags);
        QTEST(s.loadFile, "loadFile");
        QTEST(s.saveFile, "saveFile");
    }

    void kill_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("kill");
        QTest::newRow("name") << QStringList{"-kill", "ping"} << true;
        QTest::newRow("more after the name") << QStringList{"-kill", "ping", "/c"} << true;
        QTest::newRow("empty name") << QStringList{"-kill", ""} << true;
        QTest::newRow("nothing to kill") << QStringList{"-kill"} << false;
        QTest::newRow("not first") << QStringList{"/c", "-kill", "ping"} << false;
        QTest::newRow("other case") << QStringList{"-KILL", "ping"} << false;
        QTest::newRow("slash form") << QStringList{"/kill", "ping"} << false;
    }
    void kill()
    {
        QFETCH(QStringList, args);
        QTEST(IsKillCommand(args), "kill");
    }
};

QTEST_APPLESS_MAIN(TestSwitches)
#include "tst_switches.moc"
