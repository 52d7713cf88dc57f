#include "consoletext.h"

#include <winsys.h>

#include <vector>

namespace {

struct CodecCodePage
{
    const char* codec;
    unsigned codePage;
};

// The names Qt's codecs went by; matched without case, as Qt did.
const CodecCodePage kCodecCodePages[] = {
    {"ISO8859-1", 28591}, {"ISO8859-2", 28592}, {"ISO8859-7", 28597}, {"IBM 866", 866},
    {"GBK", 936},         {"Big5", 950},        {"Shift-JIS", 932},   {"eucKR", 949},
};

} // namespace

unsigned CodePageOfCodec(const QString& codecName)
{
    for (const CodecCodePage& entry : kCodecCodePages) {
        if (codecName.compare(QLatin1String(entry.codec), Qt::CaseInsensitive) == 0)
            return entry.codePage;
    }
    return 0;
}

QString DecodeCodePage(const QByteArray& bytes, unsigned codePage)
{
    if (bytes.isEmpty())
        return QString();
    // No code page the page decodes gives more UTF-16 units than bytes, so
    // one call fills a buffer of that size: output arrives in many small
    // reads, and asking for the length first would decode each one twice.
    const int size = int(bytes.size());
    std::vector<WCHAR> text(static_cast<size_t>(size));
    const int written = MultiByteToWideChar(codePage, 0, bytes.constData(), size, text.data(), size);
    return QString(reinterpret_cast<const QChar*>(text.data()), qMax(written, 0));
}
