// Fuzzes the command-line switch scanner with an argument list split from
// the input (one argument a line): it must not crash, whatever the list
// (its rules are checked row by row in tests/netconfig/tst_rules.cpp).
// The list, quoted the Windows way, must come back unchanged from both
// command-line splitters (the one child processes are started with and the
// one the emulated programs get their arguments from), or a file name could
// reach a program mangled.
#include "entry.h"
#include "processargs.h"

#include <winsys/cmdline.h>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QStringList args;
    if (size > 0)
        args = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(QLatin1Char('\n'));
    ScanCommandLine(args);
    IsKillCommand(args);

    QStringList quoted;
    std::vector<std::string> expected;
    for (const QString& arg : args) {
        quoted << baselib::QuoteArgument(arg);
        expected.push_back(arg.toStdString());
    }
    const QString line = quoted.join(QLatin1Char(' '));
    if (baselib::SplitCommandLine(line) != args || winsys::SplitCommandLine(line.toStdString()) != expected)
        std::abort();
    return 0;
}
