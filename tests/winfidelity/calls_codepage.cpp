// Console output decoded as the utilities page decodes it: the text of each
// of its code pages, what Windows makes of bytes that are no character, and
// the call's sizing and refusals. A check's size is a hash of the text.
#include "calls.h"

#include <string>

namespace winfidelity {

namespace {

struct Decoded
{
    int rc = 0;
    DWORD err = 0;
    unsigned long long hash = 0;
};

Decoded Decode(UINT codePage, DWORD flags, const std::string& bytes, int length, int capacity)
{
    WCHAR buffer[256] = {};
    SetLastError(0);
    Decoded decoded;
    decoded.rc = MultiByteToWideChar(codePage, flags, bytes.c_str(), length, capacity ? buffer : nullptr, capacity);
    decoded.err = GetLastError();
    unsigned long long hash = 14695981039346656037ull;
    for (int i = 0; capacity && i < decoded.rc && i < capacity; ++i)
        hash = (hash ^ static_cast<unsigned long long>(buffer[i])) * 1099511628211ull;
    decoded.hash = hash % 1000000007ull;
    return decoded;
}

void CheckDecode(Report& report, const std::string& name, UINT codePage, const std::string& bytes, int expectedLength,
                 DWORD flags = 0, int length = -2, int capacity = 256)
{
    const Decoded d = Decode(codePage, flags, bytes, length == -2 ? int(bytes.size()) : length, capacity);
    report.Add(name, static_cast<unsigned long long>(d.rc), d.hash, d.err, d.rc == expectedLength,
               "the decoded length");
}

} // namespace

void CheckCodePages(Report& report)
{
    CheckDecode(report, "cp.28591", 28591,
                "Zeit<1ms gr\xf6\xdf"
                "er \x81\x94",
                18);
    CheckDecode(report, "cp.28592", 28592, "Odpov\xec\xef od \xa3\xf3\x64\xbc", 15);
    CheckDecode(report, "cp.28597", 28597, "\xc1\xf0\xdc\xed\xf4\xe7\xf3\xe7 <1ms", 13);
    CheckDecode(report, "cp.866", 866, "\x8e\xe2\xa2\xa5\xe2 \x1a\x1c\x7f", 9);
    CheckDecode(report, "cp.936", 936, "\xc0\xb4\xd7\xd4 \xb5\xc4\xbb\xd8\xb8\xb4 \x80", 8);
    CheckDecode(report, "cp.950", 950, "\xa8\xd3\xa6\xdb \xaa\xba\xa6\x5e\xc2\xd0", 6);
    CheckDecode(report, "cp.932", 932, "\x82\xa9\x82\xe7 \x89\x9e\x93\x9a \xb1\xb2 \\~", 11);
    CheckDecode(report, "cp.949", 949, "\xc0\xc7 \xc0\xc0\xb4\xe4 \x8c\x63", 6);
    CheckDecode(report, "cp.932.leadatend", 932, "a\x82", 2);
    CheckDecode(report, "cp.932.badtrail", 932, "\x82\x20z", 2);
    CheckDecode(report, "cp.936.leadatend", 936, "\xc0", 1);
    CheckDecode(report, "cp.utf8.invalid", CP_UTF8, "\xc3\xa4\xff", 2);
    CheckDecode(report, "cp.terminated", 866, "\x8e\xe2", 3, 0, -1);
    CheckDecode(report, "cp.sizeonly", 932, "\x82\xa9\x82\xe7", 2, 0, -2, 0);
    CheckDecode(report, "cp.small", 866, "\x8e\xe2\xa2", 0, 0, -2, 2);
    CheckDecode(report, "cp.unknown", 4, "abc", 0);
    CheckDecode(report, "cp.strict", 932, "a\x82", 0, MB_ERR_INVALID_CHARS);
    CheckDecode(report, "cp.nolength", 866, "abc", 0, 0, 0);
}

} // namespace winfidelity
