// Computer name and primary DNS suffix: pending values are written, the
// active ones change only at the next restart, as on Windows.
#include <winsys/hive.h>
#include <winsys/host.h>

#include "emul.h"
#include "names.h"
#include "text.h"

#include <cstring>

using namespace winsys;

namespace {

DWORD SetName(COMPUTER_NAME_FORMAT type, const std::string& name)
{
    DWORD check = 0;
    switch (type) {
    // Windows documents ERROR_INVALID_PARAMETER for any NetBIOS name it refuses.
    case ComputerNamePhysicalNetBIOS: check = CheckNetbiosName(name) ? ERROR_INVALID_PARAMETER : 0; break;
    case ComputerNamePhysicalDnsHostname: check = CheckDnsHostname(name); break;
    case ComputerNamePhysicalDnsDomain: check = CheckDnsDomain(name); break;
    default: return ERROR_INVALID_PARAMETER;
    }
    if (check)
        return check;
    return ModifyHive([&](Hive& h) -> uint32_t {
        if (type == ComputerNamePhysicalDnsDomain) {
            h.SetString(keys::kTcpipParameters, "NV Domain", name);
            return 0;
        }
        h.SetString(keys::kComputerName, "ComputerName", Upper(name.substr(0, MAX_COMPUTERNAME_LENGTH)));
        h.SetString(keys::kTcpipParameters, "NV Hostname", name);
        return 0;
    });
}

DWORD ActiveName(COMPUTER_NAME_FORMAT type, std::string& out)
{
    return ReadHive([&](const Hive& h) -> uint32_t {
        const std::string host = h.GetString(keys::kTcpipParameters, "Hostname");
        const std::string domain = h.GetString(keys::kTcpipParameters, "Domain");
        switch (type) {
        case ComputerNameNetBIOS:
        case ComputerNamePhysicalNetBIOS: out = h.GetString(keys::kActiveComputerName, "ComputerName"); break;
        case ComputerNameDnsHostname:
        case ComputerNamePhysicalDnsHostname: out = host; break;
        case ComputerNameDnsDomain:
        case ComputerNamePhysicalDnsDomain: out = domain; break;
        case ComputerNameDnsFullyQualified:
        case ComputerNamePhysicalDnsFullyQualified: out = domain.empty() ? host : host + "." + domain; break;
        default: return ERROR_INVALID_PARAMETER;
        }
        return 0;
    });
}

}  // namespace

BOOL WINAPI SetComputerNameExW(COMPUTER_NAME_FORMAT NameType, LPCWSTR lpBuffer)
{
    if (!lpBuffer)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    const DWORD code = SetName(NameType, Utf16ToUtf8(lpBuffer));
    return code ? Fail(code, FALSE) : TRUE;
}

BOOL WINAPI SetComputerNameExA(COMPUTER_NAME_FORMAT NameType, LPCSTR lpBuffer)
{
    if (!lpBuffer)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    const DWORD code = SetName(NameType, lpBuffer);
    return code ? Fail(code, FALSE) : TRUE;
}

BOOL WINAPI GetComputerNameExW(COMPUTER_NAME_FORMAT NameType, LPWSTR lpBuffer, LPDWORD nSize)
{
    std::string name;
    if (!nSize)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    if (const DWORD code = ActiveName(NameType, name))
        return Fail(code, FALSE);
    const std::u16string wide = Utf8ToUtf16(name);
    if (!lpBuffer || *nSize < wide.size() + 1) {
        *nSize = DWORD(wide.size() + 1);
        return Fail(ERROR_MORE_DATA, FALSE);
    }
    std::memcpy(lpBuffer, wide.c_str(), (wide.size() + 1) * sizeof(WCHAR));
    *nSize = DWORD(wide.size());
    return TRUE;
}

BOOL WINAPI GetComputerNameExA(COMPUTER_NAME_FORMAT NameType, LPSTR lpBuffer, LPDWORD nSize)
{
    std::string name;
    if (!nSize)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    if (const DWORD code = ActiveName(NameType, name))
        return Fail(code, FALSE);
    if (!lpBuffer || *nSize < name.size() + 1) {
        *nSize = DWORD(name.size() + 1);
        return Fail(ERROR_MORE_DATA, FALSE);
    }
    std::memcpy(lpBuffer, name.c_str(), name.size() + 1);
    *nSize = DWORD(name.size());
    return TRUE;
}
