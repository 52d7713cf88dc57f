// Fuzzes the command-line switch scanner with an argument list split from
// the input (one argument a line). The scan is checked against the rules
// as stated in entry.h, and the list, quoted the Windows way, must come
// back unchanged from both command-line splitters (the one child processes
// are started with and the one the emulated programs get their arguments
// from), or a file name could reach a program mangled.
#include "entry.h"
#include "processargs.h"

#include <winsys/cmdline.h>

#include <cstdint>
#include <cstdlib>

namespace {

const QStringList kConsole{"/console", "-console", "/c", "-c"};
const QStringList kLoad{"/load", "-load", "/l", "-l"};
const QStringList kSave{"/save", "-save", "/s", "-s"};

// The argument after the last switch of the set that has one after it.
QString FileAfter(const QStringList& args, const QStringList& switches)
{
    QString file;
    for (int i = 0; i + 1 < args.count(); ++i) {
        if (switches.contains(args.at(i)))
            file = args.at(i + 1);
    }
    return file;
}

bool AnyOf(const QStringList& args, const QStringList& switches)
{
    for (const QString& arg : args) {
        if (switches.contains(arg))
            return true;
    }
    return false;
}

// CommandLineToArgvW's rules backwards: backslashes are doubled only where
// a quote follows them.
QString Quote(const QString& arg)
{
    static const QString special = QStringLiteral(" \t\n\"");
    bool plain = !arg.isEmpty();
    for (const QChar c : arg)
        plain = plain && !special.contains(c);
    if (plain)
        return arg;
    QString out(QLatin1Char('"'));
    for (qsizetype i = 0;; ++i) {
        qsizetype backslashes = 0;
        for (; i < arg.size() && arg.at(i) == QLatin1Char('\\'); ++i)
            ++backslashes;
        if (i == arg.size()) {
            out += QString(backslashes * 2, QLatin1Char('\\'));
            break;
        }
        if (arg.at(i) == QLatin1Char('"'))
            out += QString(backslashes * 2 + 1, QLatin1Char('\\'));
        else
            out += QString(backslashes, QLatin1Char('\\'));
        out += arg.at(i);
    }
    return out + QLatin1Char('"');
}

void CheckSplitters(const QStringList& args)
{
    QStringList quoted;
    for (const QString& arg : args)
        quoted << Quote(arg);
    const QString line = quoted.join(QLatin1Char(' '));
    if (baselib::SplitCommandLine(line) != args)
        std::abort();
    std::vector<std::string> expected;
    for (const QString& arg : args)
        expected.push_back(arg.toStdString());
    if (winsys::SplitCommandLine(line.toStdString()) != expected)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QStringList args;
    if (size > 0)
        args = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(QLatin1Char('\n'));

    const CommandLineSwitches s = ScanCommandLine(args);
    const bool lastTakesFile = !args.isEmpty() && (kLoad.contains(args.last()) || kSave.contains(args.last()));
    if (s.console != AnyOf(args, kConsole) || s.load != AnyOf(args, kLoad) || s.save != AnyOf(args, kSave) ||
        s.missingFile != lastTakesFile || s.loadFile != FileAfter(args, kLoad) ||
        s.saveFile != FileAfter(args, kSave))
        std::abort();
    if (IsKillCommand(args) != (args.count() >= 2 && args.first() == QLatin1String("-kill")))
        std::abort();
    CheckSplitters(args);
    return 0;
}
