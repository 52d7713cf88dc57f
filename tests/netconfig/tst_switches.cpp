// The command-line switch scanner and kill mode, row by row.
#include "entry.h"

#include <QtTest>

namespace {

void Row(const char* name, const QStringList& args, const char* expected)
{
    QTest::newRow(name) << args << QString::fromUtf8(expected);
}

} // namespace

class TestSwitches : public QObject
{
    Q_OBJECT

private slots:
    // "c" console, "l" load, "s" save, "m" a file name missing, "w" whatif, "v" verbose, "u" undo, "k" keep with
    // its seconds; then the load and the save file.
    void scan_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("scanned");
        Row("none", {}, "||");
        Row("a file alone", {"net.ini"}, "||");
        Row("long forms", {"-console", "-save", "my file.ini"}, "cs||my file.ini");
        Row("slash long forms", {"/console", "/load", "x", "/save", "y"}, "cls|x|y");
        Row("dash short forms", {"-c", "-l", "x", "-s", "y"}, "cls|x|y");
        Row("any order", {"/s", "out.ini", "-load", "in.ini", "/c"}, "cls|in.ini|out.ini");
        Row("case matters", {"/C", "/L", "x", "-Save", "y"}, "||");
        Row("whole words only", {"/cx", "--c", "/l:", "-loads"}, "||");
        Row("load last", {"/c", "/l"}, "clm||");
        Row("the last file wins", {"/l", "a", "/l", "b"}, "l|b|");
        Row("a switch taken as the file", {"/s", "/l"}, "lsm||/l");
        Row("an empty file name", {"/l", ""}, "l||");
        Row("missing after a complete one", {"/l", "a", "/s"}, "lsm|a|");
        Row("options", {"/whatif", "-verbose", "-undo"}, "wvu||");
        Row("keep with seconds", {"/keep", "30"}, "k30||");
        Row("keep zero seconds", {"-keep", "0"}, "k0||");
        Row("keep without seconds", {"/keep", "/l", "a"}, "lk-1|a|");
        Row("keep negative", {"/keep", "-5"}, "k-1||");
    }
    void scan()
    {
        QFETCH(QStringList, args);
        const CommandLineSwitches s = ScanCommandLine(args);
        const QByteArray flags = QByteArray(s.console ? "c" : "") + (s.load ? "l" : "") + (s.save ? "s" : "") +
                                 (s.missingFile ? "m" : "") + (s.whatif ? "w" : "") + (s.verbose ? "v" : "") +
                                 (s.undo ? "u" : "") + (s.keep ? "k" + QByteArray::number(s.keepSeconds) : "");
        QTEST(QString::fromLatin1(flags) + u'|' + s.loadFile + u'|' + s.saveFile, "scanned");
    }

    // What a console command line is refused for; empty: accepted.
    void usage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("problem");
        const char* two = "load, save, undo and confirm cannot be combined";
        Row("load", {"/c", "/l", "a"}, "");
        Row("save", {"/c", "/s", "a"}, "");
        Row("undo", {"/c", "/undo"}, "");
        Row("confirm", {"/c", "/keep"}, "");
        Row("load, keep seconds, whatif", {"/c", "/l", "a", "/keep", "30", "/whatif", "/verbose"}, "");
        Row("nothing", {"/c", "/verbose"}, "console mode needs /load FILE, /save FILE, /undo or /keep");
        Row("save without file", {"/c", "/s"}, "a load or save switch needs a file name");
        Row("load and save", {"/c", "/l", "a", "/s", "b"}, two);
        Row("undo and confirm", {"/c", "/undo", "/keep"}, two);
        Row("whatif with undo", {"/c", "/undo", "/whatif"}, "/whatif goes with /load FILE");
        Row("keep 0 with save", {"/c", "/s", "a", "/keep", "0"}, "/keep SECONDS goes with /load FILE");
    }
    void usage()
    {
        QFETCH(QStringList, args);
        QTEST(ConsoleUsageProblem(ScanCommandLine(args)), "problem");
    }

    // 1: kill mode.
    void kill_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("kill");
        Row("name", {"-kill", "ping"}, "1");
        Row("more after the name", {"-kill", "ping", "/c"}, "1");
        Row("empty name", {"-kill", ""}, "1");
        Row("nothing to kill", {"-kill"}, "0");
        Row("not first", {"/c", "-kill", "ping"}, "0");
        Row("other case", {"-KILL", "ping"}, "0");
        Row("slash form", {"/kill", "ping"}, "0");
    }
    void kill()
    {
        QFETCH(QStringList, args);
        QTEST(QString::number(IsKillCommand(args)), "kill");
    }
};

QTEST_APPLESS_MAIN(TestSwitches)
#include "tst_switches.moc"
