// Writing a hive as regedit 5.00 text, the way regedit exports it.
#include <winsys/hive.h>
#include <winsys.h>

#include "hivetext.h"
#include "text.h"

#include <cstdio>

namespace winsys {

namespace {

std::string Quote(const std::string& s)
{
    std::string out = "\"";
    for (char c : s) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

// regedit's quoted form cannot hold line breaks or other control characters.
bool Quotable(const RegValue& v)
{
    if (v.data.empty() || v.data.back() != 0)
        return false;
    for (size_t i = 0; i + 1 < v.data.size(); ++i)
        if (v.data[i] < 0x20)
            return false;
    return true;
}

// "hex(7):" and the bytes, wrapped with backslash continuations like regedit.
std::string HexData(const std::string& prefix, const std::vector<uint8_t>& bytes)
{
    std::string out = prefix;
    size_t column = prefix.size();
    char buf[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02x", bytes[i]);
        out += buf;
        column += 2;
        if (i + 1 < bytes.size()) {
            out += ',';
            ++column;
            if (column >= 77) {
                out += "\\\n  ";
                column = 2;
            }
        }
    }
    return out;
}

std::string ValueLine(const std::string& name, const RegValue& v)
{
    const std::string lhs = (name.empty() ? std::string("@") : Quote(name)) + "=";
    if (v.type == REG_SZ && Quotable(v))
        return lhs + Quote(std::string(v.data.begin(), v.data.end() - 1));
    if (v.type == REG_DWORD && v.data.size() == 4) {
        char buf[16];
        const uint32_t x = uint32_t(v.data[0]) | uint32_t(v.data[1]) << 8 | uint32_t(v.data[2]) << 16 |
                           uint32_t(v.data[3]) << 24;
        std::snprintf(buf, sizeof buf, "dword:%08x", x);
        return lhs + buf;
    }
    if (v.type == REG_BINARY)
        return HexData(lhs + "hex:", v.data);
    char type[16];
    std::snprintf(type, sizeof type, "hex(%x):", v.type);
    const bool text = v.type == REG_SZ || v.type == REG_EXPAND_SZ || v.type == REG_MULTI_SZ;
    return HexData(lhs + type, text ? StoredToUtf16Bytes(v.data) : v.data);
}

}  // namespace

std::string FormatHive(const Hive& h)
{
    std::string out = "Windows Registry Editor Version 5.00\n";
    for (const std::string& key : h.AllKeys()) {
        const std::vector<std::string> names = h.ValueNames(key);
        // A key without values is implied by its subkeys; write it only as a leaf.
        if (names.empty() && !h.SubKeys(key).empty())
            continue;
        out += "\n[" + key + "]\n";
        for (const std::string& name : names)
            out += ValueLine(name, *h.GetValue(key, name)) + "\n";
    }
    return out;
}

std::vector<uint8_t> StoredToUtf16Bytes(const std::vector<uint8_t>& stored)
{
    const std::u16string wide = Utf8ToUtf16(std::string(stored.begin(), stored.end()));
    std::vector<uint8_t> out;
    out.reserve(wide.size() * 2);
    for (char16_t c : wide) {
        out.push_back(static_cast<uint8_t>(c & 0xFF));
        out.push_back(static_cast<uint8_t>(c >> 8));
    }
    return out;
}

std::vector<uint8_t> Utf16BytesToStored(const std::vector<uint8_t>& utf16)
{
    std::u16string wide;
    for (size_t i = 0; i + 1 < utf16.size(); i += 2)
        wide += static_cast<char16_t>(utf16[i] | (utf16[i + 1] << 8));
    const std::string s = Utf16ToUtf8(wide);
    return std::vector<uint8_t>(s.begin(), s.end());
}

std::string DecodeHiveFileText(const std::string& raw)
{
    if (raw.size() >= 2 && uint8_t(raw[0]) == 0xFF && uint8_t(raw[1]) == 0xFE) {
        std::u16string wide;
        for (size_t i = 2; i + 1 < raw.size(); i += 2)
            wide += static_cast<char16_t>(uint8_t(raw[i]) | (uint8_t(raw[i + 1]) << 8));
        return Utf16ToUtf8(wide);
    }
    if (raw.size() >= 3 && raw.compare(0, 3, "\xEF\xBB\xBF") == 0)
        return raw.substr(3);
    return raw;
}

}  // namespace winsys
