#include "entry.h"

#include <QtTest>

class TestSwitches : public QObject
{
    Q_OBJECT

private slots:
    void scan_data();
    void scan();
    void killCommand_data();
    void killCommand();
};

void TestSwitches::scan_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<bool>("console");
    QTest::addColumn<bool>("load");
    QTest::addColumn<QString>("loadFile");
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("saveFile");
    QTest::addColumn<bool>("missingFile");

    QTest::newRow("nothing") << "" << false << false << "" << false << "" << false;
    QTest::newRow("plain file name") << "a.ini" << false << false << "" << false << "" << false;
    QTest::newRow("order is free") << "/l a.ini /c" << true << true << "a.ini" << false << "" << false;
    QTest::newRow("file named like a switch is one")
        << "/c /l /s" << true << true << "/s" << true << "" << true;
    QTest::newRow("load and save") << "/c /l a.ini /s b.ini" << true << true << "a.ini" << true << "b.ini" << false;
    QTest::newRow("load without file") << "/c /l" << true << true << "" << false << "" << true;
    QTest::newRow("trailing save") << "/c /l a.ini /s" << true << true << "a.ini" << true << "" << true;
    QTest::newRow("save") << "/c /s out.ini" << true << false << "" << true << "out.ini" << false;
    QTest::newRow("later load wins") << "/l a.ini -l b.ini" << false << true << "b.ini" << false << "" << false;
    QTest::newRow("file named console") << "/l -c" << true << true << "-c" << false << "" << false;
    QTest::newRow("save file named load") << "-s /load x" << false << true << "x" << true << "/load" << false;
    QTest::newRow("long forms") << "/console -load a -save b" << true << true << "a" << true << "b" << false;
    QTest::newRow("dash forms") << "-console /load a /save b" << true << true << "a" << true << "b" << false;
    QTest::newRow("short dash forms") << "-c -l a -s b" << true << true << "a" << true << "b" << false;
    QTest::newRow("case matters") << "/C /L a.ini -S b.ini -Console" << false << false << "" << false << "" << false;
    QTest::newRow("whole arguments only") << "/cons /load: /s2 c" << false << false << "" << false << "" << false;
    QTest::newRow("kill is not a switch") << "-kill x /c" << true << false << "" << false << "" << false;
}

void TestSwitches::scan()
{
    QFETCH(QString, commandLine);
    QFETCH(bool, console);
    QFETCH(bool, load);
    QFETCH(QString, loadFile);
    QFETCH(bool, save);
    QFETCH(QString, saveFile);
    QFETCH(bool, missingFile);

    const CommandLineSwitches s = ScanCommandLine(commandLine.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    QCOMPARE(s.console, console);
    QCOMPARE(s.load, load);
    QCOMPARE(s.loadFile, loadFile);
    QCOMPARE(s.save, save);
    QCOMPARE(s.saveFile, saveFile);
    QCOMPARE(s.missingFile, missingFile);
}

void TestSwitches::killCommand_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("kill");
    QTest::newRow("name") << QStringList{"-kill", "notepad"} << true;
    QTest::newRow("name and more") << QStringList{"-kill", "notepad", "/c"} << true;
    QTest::newRow("alone") << QStringList{"-kill"} << false;
    QTest::newRow("not first") << QStringList{"/c", "-kill", "notepad"} << false;
    QTest::newRow("other case") << QStringList{"-KILL", "notepad"} << false;
    QTest::newRow("slash form") << QStringList{"/kill", "notepad"} << false;
    QTest::newRow("nothing") << QStringList() << false;
}

void TestSwitches::killCommand()
{
    QFETCH(QStringList, args);
    QFETCH(bool, kill);
    QCOMPARE(IsKillCommand(args), kill);
}

QTEST_GUILESS_MAIN(TestSwitches)
#include "tst_switches.moc"
