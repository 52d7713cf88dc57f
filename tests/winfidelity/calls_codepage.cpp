// Console output decoded as the utilities page decodes it: the text of each
// of its code pages, what Windows makes of bytes that are no character, and
// the call's sizing and refusals. A check's size is a hash of the text.
#include "calls.h"

namespace winfidelity {

namespace {

struct Decode
{
    const char* name;
    UINT codePage;
    std::string bytes;
    int expectedLength;
    DWORD flags = 0;
    int length = -2; // -2: the bytes' own length
    int capacity = 256;
};

const Decode kDecodes[] = {
    {"cp.28591", 28591, "Zeit<1ms gr\xf6\xdf\x65r \x81\x94", 18},
    {"cp.28592", 28592, "Odpov\xec\xef od \xa3\xf3\x64\xbc", 15},
    {"cp.28597", 28597, "\xc1\xf0\xdc\xed\xf4\xe7\xf3\xe7 <1ms", 13},
    {"cp.866", 866, "\x8e\xe2\xa2\xa5\xe2 \x1a\x1c\x7f", 9},
    {"cp.936", 936, "\xc0\xb4\xd7\xd4 \xb5\xc4\xbb\xd8\xb8\xb4 \x80", 8},
    {"cp.950", 950, "\xa8\xd3\xa6\xdb \xaa\xba\xa6\x5e\xc2\xd0", 6},
    {"cp.932", 932, "\x82\xa9\x82\xe7 \x89\x9e\x93\x9a \xb1\xb2 \\~", 11},
    {"cp.949", 949, "\xc0\xc7 \xc0\xc0\xb4\xe4 \x8c\x63", 6},
    {"cp.932.leadatend", 932, "a\x82", 2},
    {"cp.932.badtrail", 932, "\x82\x20z", 2},
    {"cp.936.leadatend", 936, "\xc0", 1},
    {"cp.utf8.invalid", CP_UTF8, "\xc3\xa4\xff", 2},
    {"cp.terminated", 866, "\x8e\xe2", 3, 0, -1},
    {"cp.sizeonly", 932, "\x82\xa9\x82\xe7", 2, 0, -2, 0},
    {"cp.small", 866, "\x8e\xe2\xa2", 0, 0, -2, 2},
    {"cp.unknown", 4, "abc", 0},
    {"cp.strict", 932, "a\x82", 0, MB_ERR_INVALID_CHARS},
    {"cp.nolength", 866, "abc", 0, 0, 0},
};

} // namespace

void CheckCodePages(Report& report)
{
    for (const Decode& d : kDecodes) {
        WCHAR buffer[256] = {};
        SetLastError(0);
        const int rc =
            MultiByteToWideChar(d.codePage, d.flags, d.bytes.c_str(), d.length == -2 ? int(d.bytes.size()) : d.length,
                                d.capacity ? buffer : nullptr, d.capacity);
        const DWORD err = GetLastError();
        ull hash = 14695981039346656037ull;
        for (int i = 0; d.capacity && i < rc && i < d.capacity; ++i)
            hash = (hash ^ ull(buffer[i])) * 1099511628211ull;
        report.Add(d.name, ull(rc), hash % 1000000007ull, err, rc == d.expectedLength);
    }
}

} // namespace winfidelity
