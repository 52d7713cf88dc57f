// MultiByteToWideChar over iconv. glibc's tables are Windows' for the code
// pages the application decodes, save the few single bytes Windows adds and
// what an invalid sequence becomes, which follow Windows here.
#include <winsys/hive.h>

#include "emul.h"
#include "text.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include <iconv.h>

using namespace winsys;

namespace {

const char kCodePageKey[] = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage";

struct ExtraByte
{
    UINT codePage;
    unsigned char byte;
    char16_t unicode;
};

// Single bytes of Windows' tables that glibc's lack.
const ExtraByte kExtraBytes[] = {
    {932, 0x80, 0x0080}, {932, 0xA0, 0xF8F0}, {932, 0xFD, 0xF8F1}, {932, 0xFE, 0xF8F2},
    {932, 0xFF, 0xF8F3}, {936, 0x80, 0x20AC}, {936, 0xFF, 0xF8F5}, {949, 0x80, 0x0080},
    {949, 0xFF, 0xF8F7}, {950, 0x80, 0x0080}, {950, 0xFF, 0xF8F8},
};

bool ExtraByteOf(UINT codePage, unsigned char byte, char16_t& unicode)
{
    for (const ExtraByte& extra : kExtraBytes) {
        if (extra.codePage == codePage && extra.byte == byte) {
            unicode = extra.unicode;
            return true;
        }
    }
    return false;
}

// What an invalid sequence becomes without MB_ERR_INVALID_CHARS.
char16_t DefaultChar(UINT codePage)
{
    return codePage == 932 ? char16_t(0x30FB) : char16_t(u'?');
}

std::string CharsetOf(UINT codePage)
{
    switch (codePage) {
    case 20127:
        return "ASCII";
    case 28591:
        return "ISO-8859-1";
    case 28592:
        return "ISO-8859-2";
    case 28593:
        return "ISO-8859-3";
    case 28594:
        return "ISO-8859-4";
    case 28595:
        return "ISO-8859-5";
    case 28596:
        return "ISO-8859-6";
    case 28597:
        return "ISO-8859-7";
    case 28598:
        return "ISO-8859-8";
    case 28599:
        return "ISO-8859-9";
    case 28605:
        return "ISO-8859-15";
    case 20866:
        return "KOI8-R";
    case 21866:
        return "KOI8-U";
    default:
        return "CP" + std::to_string(codePage);
    }
}

UINT HostCodePage(const char* value, UINT fallback)
{
    std::string text;
    ReadHive([&](const Hive& h) -> uint32_t {
        text = h.GetString(kCodePageKey, value);
        return 0;
    });
    char* end = nullptr;
    const unsigned long cp = std::strtoul(text.c_str(), &end, 10);
    return (text.empty() || *end != '\0' || cp == 0 || cp > 65535) ? fallback : UINT(cp);
}

// One character: the length of the longest valid sequence, tried one byte
// longer while iconv calls it incomplete (a lead byte).
class Decoder
{
public:
    Decoder(iconv_t cd, UINT codePage) : m_Cd(cd), m_CodePage(codePage) {}

    // Appends the character at in[0..left) and says how many bytes it
    // took; false when they are no character of the code page.
    bool Next(const char* in, size_t left, std::u16string& out, size_t& taken)
    {
        for (size_t n = 1; n <= left && n <= 4; ++n) {
            char16_t buffer[4];
            char* inPtr = const_cast<char*>(in);
            char* outPtr = reinterpret_cast<char*>(buffer);
            size_t inLeft = n, outLeft = sizeof buffer;
            const size_t rc = ::iconv(m_Cd, &inPtr, &inLeft, &outPtr, &outLeft);
            const int error = errno;
            ::iconv(m_Cd, nullptr, nullptr, nullptr, nullptr);
            taken = n;
            if (rc != size_t(-1) && inLeft == 0) {
                out.append(buffer, (sizeof buffer - outLeft) / sizeof(char16_t));
                return true;
            }
            if (rc == size_t(-1) && error == EINVAL)
                continue;
            char16_t extra = 0;
            if (n == 1 && ExtraByteOf(m_CodePage, static_cast<unsigned char>(in[0]), extra)) {
                out += extra;
                return true;
            }
            return false; // a lead byte takes its trail byte with it, valid or not
        }
        return false; // a lead byte at the end
    }

private:
    iconv_t m_Cd;
    UINT m_CodePage;
};

bool DecodeUtf8(const char* in, size_t size, bool strict, std::u16string& out)
{
    const std::string bytes(in, size);
    out = Utf8ToUtf16(bytes);
    return !strict || Utf16ToUtf8(out) == bytes;
}

bool Decode(UINT codePage, const char* in, size_t size, bool strict, std::u16string& out, DWORD& error)
{
    if (codePage == CP_UTF8) {
        if (DecodeUtf8(in, size, strict, out))
            return true;
        error = ERROR_NO_UNICODE_TRANSLATION;
        return false;
    }
    const iconv_t cd = ::iconv_open("UTF-16LE", CharsetOf(codePage).c_str());
    if (cd == iconv_t(-1)) {
        error = ERROR_INVALID_PARAMETER;
        return false;
    }
    Decoder decoder(cd, codePage);
    for (size_t i = 0; i < size;) {
        size_t taken = 0;
        if (!decoder.Next(in + i, size - i, out, taken)) {
            if (strict) {
                ::iconv_close(cd);
                error = ERROR_NO_UNICODE_TRANSLATION;
                return false;
            }
            out += DefaultChar(codePage);
        }
        i += taken;
    }
    ::iconv_close(cd);
    return true;
}

} // namespace

int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                               LPWSTR lpWideCharStr, int cchWideChar)
{
    if (!lpMultiByteStr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0 ||
        (cchWideChar > 0 && !lpWideCharStr))
        return Fail(ERROR_INVALID_PARAMETER, 0);
    if (dwFlags & ~DWORD(MB_PRECOMPOSED | MB_ERR_INVALID_CHARS))
        return Fail(ERROR_INVALID_FLAGS, 0);
    if (CodePage == CP_UTF8 && (dwFlags & MB_PRECOMPOSED))
        return Fail(ERROR_INVALID_FLAGS, 0);
    if (CodePage == CP_ACP)
        CodePage = HostCodePage("ACP", 1252);
    else if (CodePage == CP_OEMCP)
        CodePage = HostCodePage("OEMCP", 850);
    // -1: up to and with the NUL, which is converted too.
    const size_t size = cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : size_t(cbMultiByte);
    std::u16string text;
    DWORD error = 0;
    if (!Decode(CodePage, lpMultiByteStr, size, (dwFlags & MB_ERR_INVALID_CHARS) != 0, text, error))
        return Fail(error, 0);
    if (cchWideChar == 0)
        return int(text.size());
    if (text.size() > size_t(cchWideChar))
        return Fail(ERROR_INSUFFICIENT_BUFFER, 0);
    std::memcpy(lpWideCharStr, text.data(), text.size() * sizeof(char16_t));
    return int(text.size());
}
