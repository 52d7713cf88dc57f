// Codec names to code pages, and console bytes decoded through the system's
// MultiByteToWideChar in each code page the utilities page uses.
#include "consoletext.h"

#include <QtTest>

class TestConsoleText : public QObject
{
    Q_OBJECT

private slots:
    // Each name the utilities page uses is checked there, through the decoded output.
    void codePageOfCodec_data()
    {
        QTest::addColumn<QString>("codec");
        QTest::addColumn<uint>("codePage");
        QTest::newRow("any case") << "big5" << 950u;
        QTest::newRow("unknown") << "UTF-7" << 0u;
        QTest::newRow("empty") << "" << 0u;
    }

    void codePageOfCodec()
    {
        QFETCH(QString, codec);
        QFETCH(uint, codePage);
        QCOMPARE(CodePageOfCodec(codec), codePage);
    }

    // Windows' own tables: ASCII stays ASCII, 0x5C is a backslash in 932
    // (not a yen sign), control bytes are themselves; what is no character
    // becomes the code page's default character, one per lead and trail.
    void decode_data()
    {
        QTest::addColumn<uint>("codePage");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("latin-1 is not 850")
            << 28591u << QByteArray("\x81\x94 \xe4") << QStringLiteral("\u0081\u0094 ä");
        QTest::newRow("866 controls") << 866u << QByteArray("\x1a\x1c\x7f\x8e") << QStringLiteral("\x1a\x1c\x7fО");
        QTest::newRow("932 backslash tilde kana") << 932u << QByteArray("\\~\xb1") << QStringLiteral("\\~ｱ");
        QTest::newRow("932 lead at the end") << 932u << QByteArray("a\x82") << QStringLiteral("a\u30fb");
        QTest::newRow("932 bad trail") << 932u << QByteArray("\x82\x20z") << QStringLiteral("\u30fbz");
        QTest::newRow("936 euro") << 936u << QByteArray("\x80") << QStringLiteral("€");
        QTest::newRow("936 lead at the end") << 936u << QByteArray("\xc0") << QStringLiteral("?");
        QTest::newRow("949 beyond euc-kr") << 949u << QByteArray("\x8c\x63") << QStringLiteral("똠");
        QTest::newRow("utf-8") << 65001u << QByteArray("\xc3\xa4\xff") << QStringLiteral("ä\ufffd");
        QTest::newRow("no such code page") << 4u << QByteArray("abc") << QString();
        QTest::newRow("nothing") << 932u << QByteArray() << QString();
    }

    void decode()
    {
        QFETCH(uint, codePage);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(DecodeCodePage(bytes, codePage), text);
    }
};

QTEST_APPLESS_MAIN(TestConsoleText)
#include "tst_consoletext.moc"
