// Small text helpers of the netsh parser.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace netsh {

std::string Lower(const std::string& s);
bool EqualNoCase(const std::string& a, const std::string& b);
std::string Join(const std::vector<std::string>& words);
// Strips one pair of surrounding double quotes.
std::string Unquote(const std::string& s);
// Decimal digits only, within [min, max].
bool ParseNumber(const std::string& s, uint32_t min, uint32_t max, uint32_t* out);
// netsh accepts a command word or any prefix of it that names only one meaning.
bool MatchWord(const std::string& word, const std::vector<std::pair<const char*, int>>& choices, int* value);

}  // namespace netsh
