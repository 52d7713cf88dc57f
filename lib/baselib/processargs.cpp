#include "processargs.h"

#include <winsys/cmdline.h>

namespace baselib {

QStringList SplitCommandLine(const QString& line)
{
    QStringList words;
    for (const std::string& word : winsys::SplitCommandLine(line.toStdString()))
        words << QString::fromStdString(word);
    return words;
}

QString QuoteArgument(const QString& arg)
{
    return QString::fromStdString(winsys::QuoteArgument(arg.toStdString()));
}

} // namespace baselib
