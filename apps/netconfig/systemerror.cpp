#include "systemerror.h"

#include "winresources.h"

namespace {

const DWORD kTextBufferChars = 1024;
const DWORD kFormatFlags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;

// The provider's own description; the number becomes the provider's code.
QString ProviderErrorText(unsigned long* number)
{
    WCHAR description[kTextBufferChars] = {};
    WCHAR provider[kTextBufferChars] = {};
    DWORD providerError = 0;
    if (WNetGetLastErrorW(&providerError, description, kTextBufferChars, provider, kTextBufferChars) != NO_ERROR)
        return QString();
    *number = providerError;
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(description));
}

QString FormattedText(DWORD number)
{
    CLocalMemory buffer;
    const DWORD length = FormatMessageA(kFormatFlags, nullptr, number, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                        reinterpret_cast<LPSTR>(buffer.Out()), 0, nullptr);
    if (length == 0 || !buffer.Get())
        return QString();
    // Used as the system wrote it, trailing line break included.
    return QString::fromLocal8Bit(buffer.Get());
}

} // namespace

QString SystemErrorText(unsigned long* number)
{
    QString text;
    if (*number == ERROR_EXTENDED_ERROR)
        text = ProviderErrorText(number);
    if (text.isEmpty())
        text = FormattedText(DWORD(*number));
    return text;
}
