// The utility output pane's scrollback: bounded, newest lines kept, Clear empties it.
#include "logtextpane.h"

#include <QTextBrowser>
#include <QtTest>

namespace {

QString Lines(int first, int last, const char* end = "\r\n")
{
    QString text;
    for (int i = first; i <= last; ++i)
        text += QStringLiteral("line %1").arg(i) + QLatin1String(end);
    return text;
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
        QStringList oneByOne;
        for (int i = 1; i <= 25; ++i)
            oneByOne << Lines(i, i);
        QTest::newRow("line by line") << 10 << oneByOne << Lines(16, 25, "\n");
        QTest::newRow("lines split across reads")
            << 3 << QStringList{"line 1\r\nli", "ne 2\r\nline 3\r", "\nline 4\r\nline", " 5\r\n"} << Lines(3, 5, "\n");
        QTest::newRow("fewer lines than the limit") << 10 << QStringList{Lines(1, 4)} << Lines(1, 4, "\n");
        QTest::newRow("colours") << 2 << QStringList{"<font color=\"red\">" + Lines(1, 3) + "</font>", Lines(4, 4)}
                                 << Lines(3, 4, "\n");
        QTest::newRow("default limit") << 0 << QStringList{Lines(1, kDefaultLogPaneLines + 5)}
                                       << Lines(6, kDefaultLogPaneLines + 5, "\n");
    }

    void keepsTheNewestLines()
    {
        QFETCH(int, limit);
        QFETCH(QStringList, fragments);
        QTextBrowser pane;
        if (limit)
            PrepareLogPane(&pane, limit);
        else
            PrepareLogPane(&pane);
        for (const QString& fragment : fragments)
            AppendLogText(&pane, fragment);
        QTEST(pane.toPlainText(), "kept");
    }

    // A limit read from the settings may be nonsense or may change later; Clear keeps it.
    void limitGivenLaterAndClear()
    {
        QTextBrowser pane;
        PrepareLogPane(&pane, 0);
        AppendLogText(&pane, Lines(1, 20));
        QCOMPARE(pane.toPlainText(), Lines(1, 20, "\n"));
        PrepareLogPane(&pane, 5);
        QCOMPARE(pane.toPlainText(), Lines(16, 20, "\n"));
        AppendLogText(&pane, Lines(21, 22));
        QCOMPARE(pane.toPlainText(), Lines(18, 22, "\n"));
        ClearLogPane(&pane);
        QVERIFY(pane.document()->isEmpty());
        QCOMPARE(pane.document()->blockCount(), 1);
        AppendLogText(&pane, Lines(51, 60));
        QCOMPARE(pane.toPlainText(), Lines(56, 60, "\n"));
    }
};

QTEST_MAIN(TestLogTextPane)
#include "tst_logtextpane.moc"
