// Text helpers shared by the emulation: UTF-8 <-> UTF-16, case folding,
// splitting. ASCII case rules suffice: key paths and names are ASCII in practice.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace winsys {

std::u16string Utf8ToUtf16(const std::string& s);
std::string Utf16ToUtf8(const std::u16string& s);
std::string Utf16ToUtf8(const char16_t* s);   // null gives ""
std::u16string FromWide(const char16_t* s);    // null gives u""

std::string Lower(const std::string& s);
std::string Upper(const std::string& s);
bool EqualNoCase(const std::string& a, const std::string& b);
std::string Trim(const std::string& s);
std::vector<std::string> Split(const std::string& s, char sep);
// Splits at commas and blanks, dropping empty parts ("a, b c" -> a b c).
std::vector<std::string> SplitList(const std::string& s);

// Copies text into a fixed char array, always NUL-terminated.
void CopyText(char* dst, size_t size, const std::string& src);

}  // namespace winsys
