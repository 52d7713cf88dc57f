#include "processargs.h"

namespace baselib {

QStringList SplitCommandLine(const QString& line)
{
    QStringList words;
    QString word;
    bool inWord = false; // "" makes an empty word
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == QLatin1Char('\\')) {
            qsizetype n = 0;
            while (i < line.size() && line.at(i) == QLatin1Char('\\')) {
                ++n;
                ++i;
            }
            if (i < line.size() && line.at(i) == QLatin1Char('"')) {
                // 2n backslashes + quote: n backslashes, the quote toggles;
                // 2n+1: n backslashes and a literal quote.
                word += QString(n / 2, QLatin1Char('\\'));
                if (n % 2)
                    word += QLatin1Char('"');
                else
                    quoted = !quoted;
            } else {
                word += QString(n, QLatin1Char('\\'));
                --i;
            }
            inWord = true;
        } else if (c == QLatin1Char('"')) {
            if (quoted && i + 1 < line.size() && line.at(i + 1) == QLatin1Char('"')) {
                word += QLatin1Char('"'); // "" inside quotes is a literal quote
                ++i;
            } else {
                quoted = !quoted;
            }
            inWord = true;
        } else if (!quoted && (c == QLatin1Char(' ') || c == QLatin1Char('\t'))) {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words << word;
    return words;
}

} // namespace baselib
