#pragma once

// Word splitting of a Windows command line (the rules of CommandLineToArgvW
// for arguments): blanks and tabs separate words, double quotes group, and
// backslashes escape quotes only when they precede one.

#include <QString>
#include <QStringList>

namespace baselib {
QStringList SplitCommandLine(const QString& line);
}
