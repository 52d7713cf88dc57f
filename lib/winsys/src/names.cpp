#include "names.h"

#include <winsys.h>

#include <algorithm>
#include <cctype>

namespace winsys {

namespace {

bool AllDigits(const std::string& s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

bool DnsLabelChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || (c & 0x80);
}

}  // namespace

uint32_t CheckNetbiosName(const std::string& name)
{
    if (name.empty() || name.size() > MAX_COMPUTERNAME_LENGTH)
        return ERROR_INVALID_PARAMETER;
    static const std::string forbidden = "\\/:*?\"<>|,;=+[] ";
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || forbidden.find(c) != std::string::npos)
            return ERROR_INVALID_COMPUTERNAME;
    if (name[0] == '.' || AllDigits(name))
        return ERROR_INVALID_COMPUTERNAME;
    return 0;
}

uint32_t CheckDnsHostname(const std::string& name)
{
    if (name.empty() || name.size() > 63)
        return ERROR_INVALID_PARAMETER;
    if (!std::all_of(name.begin(), name.end(), DnsLabelChar) || name[0] == '-' || AllDigits(name))
        return ERROR_INVALID_COMPUTERNAME;
    return 0;
}

uint32_t CheckDnsDomain(const std::string& name)
{
    if (name.size() > 255)
        return ERROR_INVALID_PARAMETER;
    if (name.empty())
        return 0;
    size_t start = 0;
    for (;;) {
        const size_t dot = name.find('.', start);
        const std::string label = name.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        if (label.empty() || label.size() > 63 || !std::all_of(label.begin(), label.end(), DnsLabelChar))
            return ERROR_INVALID_DOMAINNAME;
        if (dot == std::string::npos)
            return 0;
        start = dot + 1;
    }
}

}  // namespace winsys
