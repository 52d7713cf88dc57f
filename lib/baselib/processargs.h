#pragma once

// The Windows command-line rules of winsys/cmdline.h for Qt strings, so that
// child processes and the emulated programs split a line the same way.

#include <QString>
#include <QStringList>

namespace baselib {
// Blanks and tabs separate words, double quotes group, and backslashes
// escape quotes only when they precede one.
QStringList SplitCommandLine(const QString& line);
// arg as one word of a command line: SplitCommandLine gives it back whole.
QString QuoteArgument(const QString& arg);
}
