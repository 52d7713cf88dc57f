// The Windows command-line rules: splitting (CommandLineToArgvW) and the
// quoting that survives it, in the winsys form and baselib's Qt form.
#include "processargs.h"

#include <QtTest>

#include <winsys/cmdline.h>

namespace {

QStringList Split(const QString& line)
{
    QStringList words;
    for (const std::string& w : winsys::SplitCommandLine(line.toStdString()))
        words << QString::fromStdString(w);
    return words;
}

} // namespace

class TestCmdline : public QObject
{
    Q_OBJECT

private slots:
    void split_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("blanks and tabs") << "  a \t\tb  " << QStringList{"a", "b"};
        QTest::newRow("newline is no separator") << "a\nb c\r\n" << QStringList{"a\nb", "c\r\n"};
        QTest::newRow("empty line") << "" << QStringList{};
        QTest::newRow("quotes group") << "x \"two words\" z" << QStringList{"x", "two words", "z"};
        QTest::newRow("quotes inside a word") << "a\"b c\"d" << QStringList{"ab cd"};
        QTest::newRow("empty quotes are a word") << "x \"\"" << QStringList{"x", ""};
        QTest::newRow("unclosed quote runs to the end") << "\"a b" << QStringList{"a b"};
        QTest::newRow("escaped quote") << "a\\\"b" << QStringList{"a\"b"};
        QTest::newRow("backslashes kept") << "C:\\dir\\ x\\\\" << QStringList{"C:\\dir\\", "x\\\\"};
        QTest::newRow("even backslashes then quote") << "\"a\\\\\" b" << QStringList{"a\\", "b"};
        QTest::newRow("odd backslashes then quote") << "a\\\\\\\"b" << QStringList{"a\\\"b"};
        QTest::newRow("doubled quote inside quotes") << "\"a\"\"b\"" << QStringList{"a\"b"};
        QTest::newRow("utf-8 untouched") << QString::fromUtf8("b\u00fccher \u043f\u0440") << QStringList{QString::fromUtf8("b\u00fccher"), QString::fromUtf8("\u043f\u0440")};
    }
    void split()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, words);
        QCOMPARE(Split(line), words);
        QCOMPARE(baselib::SplitCommandLine(line), words);   // one splitter behind both
    }

    void quote_data()
    {
        QTest::addColumn<QString>("arg");
        QTest::addColumn<QString>("quoted");
        QTest::newRow("plain") << "127.0.0.1" << "127.0.0.1";
        QTest::newRow("backslashes alone stay") << "C:\\a\\b\\" << "C:\\a\\b\\";
        QTest::newRow("empty") << "" << "\"\"";
        QTest::newRow("blank") << "a b" << "\"a b\"";
        QTest::newRow("only blanks") << "   " << "\"   \"";
        QTest::newRow("tab") << "a\tb" << "\"a\tb\"";
        QTest::newRow("newline") << "a\nb" << "\"a\nb\"";
        QTest::newRow("quote") << "a\"b" << "\"a\\\"b\"";
        QTest::newRow("backslashes before a quote") << "a\\\\\"b" << "\"a\\\\\\\\\\\"b\"";
        QTest::newRow("trailing backslash in quotes") << "a b\\" << "\"a b\\\\\"";
        QTest::newRow("inner backslash in quotes") << "a\\b c" << "\"a\\b c\"";
        QTest::newRow("option-like") << "-n 4" << "\"-n 4\"";
    }
    void quote()
    {
        QFETCH(QString, arg);
        QFETCH(QString, quoted);
        QCOMPARE(QString::fromStdString(winsys::QuoteArgument(arg.toStdString())), quoted);
        QCOMPARE(baselib::QuoteArgument(arg), quoted);
        // The inverse of the splitter: one word, unchanged, also among others.
        QCOMPARE(Split(quoted), QStringList{arg});
        QCOMPARE(Split("x " + quoted + " y"), (QStringList{"x", arg, "y"}));
    }
};

QTEST_GUILESS_MAIN(TestCmdline)
#include "tst_cmdline.moc"
