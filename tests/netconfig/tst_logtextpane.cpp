// The utility output pane's scrollback: bounded, newest lines kept, Clear
// empties it.
#include "logtextpane.h"

#include <QTextBrowser>
#include <QtTest>

namespace {

QString Lines(int first, int last)
{
    QString text;
    for (int i = first; i <= last; ++i)
        text += QStringLiteral("line %1\r\n").arg(i);
    return text;
}

// The plain text as the pane holds it, "\n" between lines.
QString Plain(int first, int last)
{
    return Lines(first, last).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

} // namespace

class TestLogTextPane : public QObject
{
    Q_OBJECT

private slots:
    // However the output arrives, the newest lines are the ones kept.
    void keepsTheNewestLines_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<QStringList>("fragments");
        QTest::addColumn<QString>("kept");
        QTest::newRow("one fragment") << 10 << QStringList{Lines(1, 25)} << Plain(16, 25);
        QStringList oneByOne;
        for (int i = 1; i <= 25; ++i)
            oneByOne << Lines(i, i);
        QTest::newRow("line by line") << 10 << oneByOne << Plain(16, 25);
        QTest::newRow("lines split across reads")
            << 3 << QStringList{"line 1\r\nli", "ne 2\r\nline 3\r", "\nline 4\r\nline", " 5\r\n"} << Plain(3, 5);
        QTest::newRow("fewer lines than the limit") << 10 << QStringList{Lines(1, 4)} << Plain(1, 4);
        QTest::newRow("colours") << 2 << QStringList{"<font color=\"red\">" + Lines(1, 3) + "</font>", Lines(4, 4)}
                                 << Plain(3, 4);
    }

    void keepsTheNewestLines()
    {
        QFETCH(int, limit);
        QFETCH(QStringList, fragments);
        QFETCH(QString, kept);
        QTextBrowser pane;
        PrepareLogPane(&pane, limit);
        for (const QString& fragment : fragments)
            AppendLogText(&pane, fragment);
        QCOMPARE(pane.toPlainText(), kept);
    }

    void defaultLimit()
    {
        QTextBrowser pane;
        PrepareLogPane(&pane);
        AppendLogText(&pane, Lines(1, kDefaultLogPaneLines + 5));
        const QStringList lines = pane.toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), kDefaultLogPaneLines);
        QCOMPARE(lines.first(), QStringLiteral("line 6"));
        QCOMPARE(lines.last(), QStringLiteral("line %1").arg(kDefaultLogPaneLines + 5));
    }

    // A limit read from the settings may be nonsense or may change later.
    void limitGivenLater()
    {
        QTextBrowser pane;
        PrepareLogPane(&pane, 0);
        AppendLogText(&pane, Lines(1, 20));
        QCOMPARE(pane.toPlainText(), Plain(1, 20));
        PrepareLogPane(&pane, 5);
        QCOMPARE(pane.toPlainText(), Plain(16, 20));
        AppendLogText(&pane, Lines(21, 22));
        QCOMPARE(pane.toPlainText(), Plain(18, 22));
    }

    void clearEmptiesAndKeepsTheLimit()
    {
        QTextBrowser pane;
        PrepareLogPane(&pane, 4);
        AppendLogText(&pane, Lines(1, 50));
        ClearLogPane(&pane);
        QVERIFY(pane.document()->isEmpty());
        QCOMPARE(pane.document()->blockCount(), 1);
        AppendLogText(&pane, Lines(51, 60));
        QCOMPARE(pane.toPlainText(), Plain(57, 60));
    }
};

QTEST_MAIN(TestLogTextPane)
#include "tst_logtextpane.moc"
