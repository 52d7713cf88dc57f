#include "netshparse.h"
#include "netshtext.h"

#include <cctype>

#include <winsys/cmdline.h>

namespace netsh {

std::string Lower(const std::string& s)
{
    std::string out = s;
    for (char& c : out)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    return Lower(a) == Lower(b);
}

std::string Join(const std::vector<std::string>& words)
{
    std::string out;
    for (const std::string& w : words)
        out += (out.empty() ? "" : " ") + w;
    return out;
}

std::string Unquote(const std::string& s)
{
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"')
        return s.substr(1, s.size() - 2);
    return s;
}

bool ParseNumber(const std::string& s, uint32_t min, uint32_t max, uint32_t* out)
{
    if (s.empty() || s.size() > 9)
        return false;
    uint32_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + uint32_t(c - '0');
    }
    if (v < min || v > max)
        return false;
    *out = v;
    return true;
}

bool MatchWord(const std::string& word, const std::vector<std::pair<const char*, int>>& choices, int* value)
{
    const std::string w = Lower(word);
    for (const auto& c : choices) {
        if (w == c.first) {
            *value = c.second;
            return true;
        }
    }
    bool found = false;
    int match = 0;
    for (const auto& c : choices) {
        if (w.empty() || std::string(c.first).compare(0, w.size(), w) != 0)
            continue;
        if (found && match != c.second)
            return false;   // ambiguous abbreviation
        found = true;
        match = c.second;
    }
    if (found)
        *value = match;
    return found;
}

std::string Message(const Result& r)
{
    switch (r.status) {
    case Status::Ok:
        return {};
    case Status::CommandNotFound:
        return "The following command was not found: " + r.detail + ".";
    case Status::BadParameter:
        return "The parameter is incorrect.";
    case Status::MissingParameter:
        return "One or more essential parameters were not entered.\n"
               "Verify the required parameters, and reenter them.";
    case Status::NotFound:
        return "Element not found.";
    case Status::AlreadyInList:
        return "The object is already in the list.";
    case Status::AlreadyExists:
        return "The object already exists.";
    case Status::BadInterface:
        return "The filename, directory name, or volume label syntax is incorrect.";
    case Status::HiveError:
        return "The configuration registry database is corrupt.";
    case Status::InvalidAddress:
        return "Invalid address parameter (" + r.detail + "). It should be a valid IPv4 address.";
    case Status::InvalidMask:
        return "Invalid mask parameter (" + r.detail + ").";
    case Status::InvalidGateway:
        return "Invalid gateway parameter (" + r.detail + "). It should be a valid IPv4 address.";
    case Status::DhcpAlreadyEnabled:
        return "DHCP is already enabled on this interface.";
    }
    return {};
}

std::vector<std::string> SplitCommandLine(const std::string& line)
{
    return winsys::SplitCommandLine(line);
}

bool ParseIPv4(const std::string& text, uint32_t* value)
{
    uint32_t result = 0;
    size_t pos = 0;
    for (int part = 0; part < 4; ++part) {
        const size_t end = part < 3 ? text.find('.', pos) : text.size();
        uint32_t octet = 0;
        if (end == std::string::npos || end - pos > 3 || !ParseNumber(text.substr(pos, end - pos), 0, 255, &octet))
            return false;
        result = (result << 8) | octet;
        pos = end + 1;
    }
    *value = result;
    return true;
}

std::string FormatIPv4(uint32_t v)
{
    return std::to_string(v >> 24) + "." + std::to_string((v >> 16) & 255) + "." +
           std::to_string((v >> 8) & 255) + "." + std::to_string(v & 255);
}

bool IsValidMask(uint32_t mask)
{
    // Ones then zeros: the inverted mask plus one is a power of two.
    const uint32_t inv = ~mask;
    return (inv & (inv + 1)) == 0;
}

bool ParseCidr(const std::string& text, uint32_t* address, uint32_t* mask)
{
    const size_t slash = text.find('/');
    uint32_t bits = 0;
    if (slash == std::string::npos || !ParseIPv4(text.substr(0, slash), address) ||
        !ParseNumber(text.substr(slash + 1), 1, 32, &bits))
        return false;
    *mask = bits == 32 ? 0xFFFFFFFFu : ~(0xFFFFFFFFu >> bits);
    return true;
}

}  // namespace netsh
