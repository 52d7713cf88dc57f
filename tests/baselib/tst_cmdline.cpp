// The Windows command-line rules: splitting (CommandLineToArgvW) and the
// quoting that survives it, in the winsys form and baselib's Qt form.
#include "../winfidelity/cmdline_cases.h"
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
        for (const cmdline_cases::Split& c : cmdline_cases::kSplits) {
            QStringList words;
            for (const std::string& w : c.words)
                words << QString::fromStdString(w);
            QTest::newRow(c.name) << QString::fromLatin1(c.line) << words;
        }
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
        for (const cmdline_cases::Quote& c : cmdline_cases::kQuotes)
            QTest::newRow(c.name) << QString::fromLatin1(c.arg) << QString::fromLatin1(c.quoted);
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
