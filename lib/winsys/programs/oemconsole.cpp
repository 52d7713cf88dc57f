#include "oemconsole.h"

#include <winsys.h>

#include <cerrno>
#include <cstdlib>

#include <iconv.h>
#include <unistd.h>

namespace winping {

namespace {

const unsigned kDefaultCodePage = 850;

bool Usable(unsigned cp)
{
    if (cp == 65001)
        return true;
    const iconv_t cd = ::iconv_open(("CP" + std::to_string(cp)).c_str(), "UTF-8");
    if (cd == iconv_t(-1))
        return false;
    ::iconv_close(cd);
    return true;
}

// Length of the UTF-8 sequence at s[i], 0 when it is not one.
size_t SequenceLength(const std::string& s, size_t i)
{
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    const size_t n = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size())
        return 0;
    for (size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
    }
    return n;
}

void WriteAll(const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;   // the reader went away
        done += size_t(n);
    }
}

}  // namespace

unsigned HostOemCodePage()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage", 0, KEY_READ,
                      &key) != ERROR_SUCCESS)
        return kDefaultCodePage;
    char value[32] = {};
    DWORD size = sizeof value - 1;
    DWORD type = 0;
    const LSTATUS rc = RegQueryValueExA(key, "OEMCP", nullptr, &type, reinterpret_cast<LPBYTE>(value), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_SZ)
        return kDefaultCodePage;
    char* end = nullptr;
    const unsigned long cp = std::strtoul(value, &end, 10);
    if (end == value || *end != '\0' || cp == 0 || cp > 65535 || !Usable(unsigned(cp)))
        return kDefaultCodePage;
    return unsigned(cp);
}

std::string ToCodePage(const std::string& utf8, unsigned cp)
{
    if (cp == 65001)
        return utf8;
    iconv_t cd = ::iconv_open(("CP" + std::to_string(cp)).c_str(), "UTF-8");
    if (cd == iconv_t(-1))
        cd = ::iconv_open(("CP" + std::to_string(kDefaultCodePage)).c_str(), "UTF-8");
    if (cd == iconv_t(-1))
        return utf8;
    std::string out;
    // One character at a time, so one that does not fit costs only itself.
    for (size_t i = 0; i < utf8.size();) {
        const size_t n = SequenceLength(utf8, i);
        if (n == 0) {
            out += '?';
            ++i;
            continue;
        }
        char in[4];
        char converted[8];
        utf8.copy(in, n, i);
        char* inPtr = in;
        char* outPtr = converted;
        size_t inLeft = n, outLeft = sizeof converted;
        if (::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1)) {
            ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
            out += '?';
        } else {
            out.append(converted, sizeof converted - outLeft);
        }
        i += n;
    }
    ::iconv_close(cd);
    return out;
}

void ConsoleWriter::Line(const std::string& utf8) const
{
    WriteAll(ToCodePage(utf8, m_CodePage) + "\r\n");
}

void ConsoleWriter::Text(const std::string& utf8) const
{
    size_t start = 0;
    while (start < utf8.size()) {
        size_t end = utf8.find('\n', start);
        if (end == std::string::npos)
            end = utf8.size();
        Line(utf8.substr(start, end - start));
        start = end + 1;
    }
}

}  // namespace winping
