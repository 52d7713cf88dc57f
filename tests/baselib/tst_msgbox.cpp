#include "msgbox.h"

#include <QTemporaryFile>
#include <QtTest>

#include <cstdio>
#include <unistd.h>

// Captures what is written to file descriptor 2 while it lives.
class StderrCapture
{
public:
    StderrCapture()
    {
        m_File.open();
        std::fflush(stderr);
        m_Saved = dup(2);
        dup2(m_File.handle(), 2);
    }
    ~StderrCapture() { restore(); }
    QByteArray text()
    {
        restore();
        m_File.seek(0);
        return m_File.readAll();
    }

private:
    void restore()
    {
        if (m_Saved < 0)
            return;
        std::fflush(stderr);
        dup2(m_Saved, 2);
        close(m_Saved);
        m_Saved = -1;
    }
    QTemporaryFile m_File;
    int m_Saved = -1;
};

class TestMsgBox : public QObject
{
    Q_OBJECT

private slots:
    void init() { QuarvelMsgBoxHistory().clear(); }

    void headlessWritesOneLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("text2");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("history");
        QTest::newRow("one text") << "Can not create a file." << QString()
                                  << QByteArray("netconfig: Can not create a file.\n") << "Can not create a file.";
        QTest::newRow("with path") << "Can not save parameters to file." << "/tmp/x y.ini"
                                   << QByteArray("netconfig: Can not save parameters to file. /tmp/x y.ini\n")
                                   << "Can not save parameters to file.\n/tmp/x y.ini";
        QTest::newRow("system text with CRLF")
            << "The network is not present or not started.\r\n" << QString()
            << QByteArray("netconfig: The network is not present or not started.\n")
            << "The network is not present or not started.\r\n";
        QTest::newRow("lines joined") << "a\nb" << " c\r\n" << QByteArray("netconfig: a b c\n") << "a\nb\n c\r\n";
        QTest::newRow("empty text") << QString() << QString() << QByteArray("netconfig: \n") << QString();
    }
    void headlessWritesOneLine()
    {
        QFETCH(QString, text);
        QFETCH(QString, text2);
        QFETCH(QByteArray, line);
        QFETCH(QString, history);
        QVERIFY(QuarvelMsgBoxHeadless());
        StderrCapture capture;
        QuarvelMsgBox(nullptr, text, text2, QString(), QString(), 1, 258, 0, 0, nullptr, 0);
        QCOMPARE(capture.text(), line);
        QCOMPARE(QuarvelMsgBoxHistory(), QStringList{history});
    }

    void historyKeepsOrder()
    {
        StderrCapture capture;
        QuarvelMsgBox(nullptr, QStringLiteral("first"));
        QuarvelMsgBox(nullptr, QStringLiteral("second"), QStringLiteral("detail"));
        QCOMPARE(QuarvelMsgBoxHistory(), (QStringList{"first", "second\ndetail"}));
        QCOMPARE(capture.text(), QByteArray("netconfig: first\nnetconfig: second detail\n"));
    }
};

// Offscreen platform (set by the test run): a GUI application without a screen.
QTEST_MAIN(TestMsgBox)
#include "tst_msgbox.moc"
