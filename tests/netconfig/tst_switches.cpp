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
        // "c" console, "l" load, "s" save, "m" a file name missing, "w" whatif,
        // "v" verbose, "u" undo, "k" keep with its seconds; then the file names.
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
        QTest::newRow("options") << QStringList{"/whatif", "-verbose", "-undo"} << "wvu"
                                 << ""
                                 << "";
        QTest::newRow("keep with seconds") << QStringList{"/keep", "30"} << "k30"
                                           << ""
                                           << "";
        QTest::newRow("keep zero seconds") << QStringList{"-keep", "0"} << "k0"
                                           << ""
                                           << "";
        QTest::newRow("keep without seconds") << QStringList{"/keep", "/l", "a"} << "lk-1"
                                              << "a"
                                              << "";
        QTest::newRow("keep negative") << QStringList{"/keep", "-5"} << "k-1"
                                       << ""
                                       << "";
    }
    void scan()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, flags);
        const CommandLineSwitches s = ScanCommandLine(args);
        const QByteArray got = QByteArray(s.console ? "c" : "") + (s.load ? "l" : "") + (s.save ? "s" : "") +
                               (s.missingFile ? "m" : "") + (s.whatif ? "w" : "") + (s.verbose ? "v" : "") +
                               (s.undo ? "u" : "") + (s.keep ? "k" + QByteArray::number(s.keepSeconds) : QByteArray());
        QCOMPARE(QString::fromLatin1(got), flags);
        QTEST(s.loadFile, "loadFile");
        QTEST(s.saveFile, "saveFile");
    }

    // What a console command line is refused for; empty: accepted.
    void usage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("problem");
        const QString none = "console mode needs /load FILE, /save FILE, /undo or /keep";
        const QString two = "load, save, undo and confirm cannot be combined";
        QTest::newRow("load") << QStringList{"/c", "/l", "a"} << "";
        QTest::newRow("save") << QStringList{"/c", "/s", "a"} << "";
        QTest::newRow("undo") << QStringList{"/c", "/undo"} << "";
        QTest::newRow("confirm") << QStringList{"/c", "/keep"} << "";
        QTest::newRow("load, keep seconds, whatif")
            << QStringList{"/c", "/l", "a", "/keep", "30", "/whatif", "/verbose"} << "";
        QTest::newRow("nothing") << QStringList{"/c", "/verbose"} << none;
        QTest::newRow("save without file") << QStringList{"/c", "/s"} << "a load or save switch needs a file name";
        QTest::newRow("load and save") << QStringList{"/c", "/l", "a", "/s", "b"} << two;
        QTest::newRow("undo and confirm") << QStringList{"/c", "/undo", "/keep"} << two;
        QTest::newRow("whatif with undo") << QStringList{"/c", "/undo", "/whatif"} << "/whatif goes with /load FILE";
        QTest::newRow("keep 0 with save")
            << QStringList{"/c", "/s", "a", "/keep", "0"} << "/keep SECONDS goes with /load FILE";
    }
    void usage()
    {
        QFETCH(QStringList, args);
        QTEST(ConsoleUsageProblem(ScanCommandLine(args)), "problem");
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
