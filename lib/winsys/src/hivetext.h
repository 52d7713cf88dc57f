// Conversions between stored value data and the regedit text encodings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace winsys {

// Stored strings are UTF-8; regedit's hex(2)/hex(7) data is UTF-16LE.
std::vector<uint8_t> StoredToUtf16Bytes(const std::vector<uint8_t>& stored);
std::vector<uint8_t> Utf16BytesToStored(const std::vector<uint8_t>& utf16);
// A file exported by regedit may be UTF-16LE with a byte order mark.
std::string DecodeHiveFileText(const std::string& raw);

}  // namespace winsys
