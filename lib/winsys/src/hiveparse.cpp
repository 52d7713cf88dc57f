// Reading regedit's export format ("Windows Registry Editor Version 5.00").
#include <winsys/hive.h>
#include <winsys.h>

#include "hivetext.h"
#include "text.h"

#include <cctype>
#include <string_view>

namespace winsys {

namespace {

std::string_view TrimView(std::string_view s)
{
    const char* ws = " \t\r\n";
    const size_t b = s.find_first_not_of(ws);
    if (b == std::string_view::npos)
        return {};
    return s.substr(b, s.find_last_not_of(ws) - b + 1);
}

// Hands out the text's lines one at a time, hex data continued with a
// trailing backslash joined into one logical line. Nothing is split up
// front: a hive of a hundred megabytes must not be held twice over.
class LineReader {
public:
    explicit LineReader(std::string_view text) : m_Text(text) {}
    bool Next(std::string& line, int& number)
    {
        if (m_Pos > m_Text.size())
            return false;
        line.assign(Raw());
        number = m_Number;
        if (line.find("=hex") == std::string::npos)
            return true;
        while (m_Pos <= m_Text.size()) {
            while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
                line.pop_back();
            if (line.empty() || line.back() != '\\')
                break;
            line.pop_back();
            line.append(TrimView(Raw()));
        }
        return true;
    }

private:
    std::string_view Raw()
    {
        size_t end = m_Text.find('\n', m_Pos);
        if (end == std::string_view::npos)
            end = m_Text.size();
        std::string_view l = m_Text.substr(m_Pos, end - m_Pos);
        m_Pos = end + 1;
        ++m_Number;
        if (!l.empty() && l.back() == '\r')
            l.remove_suffix(1);
        return l;
    }
    std::string_view m_Text;
    size_t m_Pos = 0;
    int m_Number = 0;
};

// The hive file is UTF-8; a string that is not (or holds a NUL) could not
// be written back unchanged, so it is refused rather than altered.
bool IsCleanUtf8(std::string_view text)
{
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == 0)
            return false;
        const size_t extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : 9;
        if (extra == 9 || (extra && c < 0xC2) || (c >= 0xF5) || i + extra >= text.size() + (extra ? 0 : 1))
            return false;
        for (size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        }
        // Overlong forms, UTF-16 surrogates and code points past U+10FFFF
        // would not survive the conversion to UTF-16 and back.
        const unsigned char next = extra ? static_cast<unsigned char>(text[i + 1]) : 0;
        if ((c == 0xE0 && next < 0xA0) || (c == 0xED && next >= 0xA0) || (c == 0xF0 && next < 0x90) ||
            (c == 0xF4 && next >= 0x90))
            return false;
        i += extra + 1;
    }
    return true;
}

// Reads a quoted string starting at text[pos] == '"'; pos ends after the quote.
bool ReadQuoted(std::string_view text, size_t& pos, std::string& out)
{
    out.clear();
    for (++pos; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c == '\\' && pos + 1 < text.size() && (text[pos + 1] == '\\' || text[pos + 1] == '"'))
            ++pos;
        out += text[pos];
    }
    return false;
}

bool HexDigit(char c, uint8_t& value)
{
    if (c >= '0' && c <= '9')
        value = uint8_t(c - '0');
    else if (c >= 'a' && c <= 'f')
        value = uint8_t(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F')
        value = uint8_t(c - 'A' + 10);
    else
        return false;
    return true;
}

// "de,ad, be" -> bytes; one or two hex digits between commas, blanks allowed.
bool ParseHexBytes(std::string_view s, std::vector<uint8_t>& out)
{
    out.clear();
    if (TrimView(s).empty())
        return true;
    out.reserve(s.size() / 3 + 1);
    size_t i = 0;
    for (;;) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
            ++i;
        uint8_t byte = 0, digit = 0;
        int digits = 0;
        for (; i < s.size() && HexDigit(s[i], digit); ++i, ++digits)
            byte = uint8_t(byte << 4 | digit);
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
            ++i;
        if (digits < 1 || digits > 2)
            return false;
        out.push_back(byte);
        if (i == s.size())
            return true;
        if (s[i++] != ',')
            return false;
    }
}

// Parses the text after '=' of a value line. *remove is set for "=-".
bool ParseData(std::string_view raw, RegValue& v, bool* remove, std::string* error)
{
    const std::string_view s = TrimView(raw);
    *remove = s == "-";
    if (*remove)
        return true;
    if (!s.empty() && s[0] == '"') {
        size_t pos = 0;
        std::string text;
        if (!ReadQuoted(s, pos, text) || !TrimView(s.substr(pos)).empty()) {
            *error = "unterminated or malformed string";
            return false;
        }
        if (!IsCleanUtf8(text)) {
            *error = "string is not valid UTF-8";
            return false;
        }
        v.type = REG_SZ;
        v.data.assign(text.begin(), text.end());
        v.data.push_back(0);
        return true;
    }
    if (s.compare(0, 6, "dword:") == 0) {
        const std::string digits(s.substr(6));
        if (digits.empty() || digits.size() > 8 ||
            digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
            *error = "bad dword value";
            return false;
        }
        const uint32_t x = static_cast<uint32_t>(std::stoul(digits, nullptr, 16));
        v.type = REG_DWORD;
        v.data = {uint8_t(x), uint8_t(x >> 8), uint8_t(x >> 16), uint8_t(x >> 24)};
        return true;
    }
    if (s.compare(0, 3, "hex") != 0) {
        *error = "unknown value type";
        return false;
    }
    size_t colon = s.find(':');
    v.type = REG_BINARY;
    if (colon != 3) {   // hex(N):
        const size_t close = s.find(')');
        // At most eight digits: a type is 32 bits, and more would overflow stoul.
        if (s[3] != '(' || close == std::string::npos || close + 1 != colon || close == 4 || close > 12 ||
            s.substr(4, close - 4).find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
            *error = "bad hex type";
            return false;
        }
        v.type = static_cast<uint32_t>(std::stoul(std::string(s.substr(4, close - 4)), nullptr, 16));
    }
    if (colon == std::string::npos || !ParseHexBytes(s.substr(colon + 1), v.data)) {
        *error = "bad hex data";
        return false;
    }
    if (v.type == REG_SZ || v.type == REG_EXPAND_SZ || v.type == REG_MULTI_SZ)
        v.data = Utf16BytesToStored(v.data);
    return true;
}

bool ValidRoot(const std::string& path)
{
    static const char* const roots[] = {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", "HKEY_CLASSES_ROOT",
                                        "HKEY_USERS", "HKEY_CURRENT_CONFIG"};
    const std::string first = Upper(path.substr(0, path.find('\\')));
    for (const char* r : roots)
        if (first == r)
            return true;
    return false;
}

bool ParseKeyLine(std::string_view line, std::string& path, bool* remove, std::string* error)
{
    const std::string_view t = TrimView(line);
    if (t.back() != ']') {
        *error = "key line without closing bracket";
        return false;
    }
    path = std::string(t.substr(1, t.size() - 2));
    *remove = !path.empty() && path[0] == '-';
    if (*remove)
        path.erase(0, 1);
    bool emptyPart = false;
    for (const std::string& part : Split(path, '\\'))
        emptyPart = emptyPart || part.empty();
    if (path.empty() || emptyPart || !ValidRoot(path)) {
        *error = "bad key path";
        return false;
    }
    return true;
}

bool ParseValueLine(std::string_view line, Hive& h, const std::string& key, std::string* error)
{
    std::string name;
    size_t pos = 0;
    if (line[0] == '@') {
        pos = 1;
    } else if (!ReadQuoted(line, pos, name)) {
        *error = "unterminated value name";
        return false;
    }
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
        ++pos;
    if (pos >= line.size() || line[pos] != '=') {
        *error = "missing '=' after value name";
        return false;
    }
    RegValue v;
    bool remove = false;
    if (!ParseData(line.substr(pos + 1), v, &remove, error))
        return false;
    if (remove)
        h.DeleteValue(key, name);
    else
        h.SetValue(key, name, std::move(v));
    return true;
}

}  // namespace

bool ParseHive(const std::string& input, Hive& out, std::string* error, int* badLine)
{
    // Only a UTF-16 file needs a converted copy.
    std::string utf8;
    std::string_view text(input);
    if (input.size() >= 2 && uint8_t(input[0]) == 0xFF && uint8_t(input[1]) == 0xFE) {
        utf8 = DecodeHiveFileText(input);
        text = utf8;
    } else if (input.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        text.remove_prefix(3);
    }
    LineReader lines(text);
    Hive h;
    std::string key, raw;
    int number = 0;
    bool header = false, skipKey = false;
    while (lines.Next(raw, number)) {
        const std::string_view t = TrimView(raw);
        std::string why;
        bool ok = true;
        if (t.empty() || t[0] == ';') {
            continue;
        } else if (!header) {
            header = t == "Windows Registry Editor Version 5.00" || t == "REGEDIT4";
            ok = header;
            why = "missing \"Windows Registry Editor Version 5.00\" header";
        } else if (t[0] == '[') {
            bool remove = false;
            ok = ParseKeyLine(t, key, &remove, &why);
            if (ok && remove)
                h.DeleteKey(key);
            else if (ok)
                h.CreateKey(key);
            skipKey = remove;
        } else if (t[0] == '"' || t[0] == '@') {
            ok = !key.empty() && !skipKey;
            if (!ok)
                why = "value outside of a key";
            else
                ok = ParseValueLine(t, h, key, &why);
        } else {
            ok = false;
            why = "unrecognised line";
        }
        if (!ok) {
            if (error)
                *error = why;
            if (badLine)
                *badLine = number;
            return false;
        }
    }
    if (!header) {
        if (error)
            *error = "empty file: missing \"Windows Registry Editor Version 5.00\" header";
        if (badLine)
            *badLine = 1;
        return false;
    }
    out = std::move(h);
    return true;
}

}  // namespace winsys
