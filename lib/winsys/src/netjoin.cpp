// Workgroup and domain membership of the emulated machine.
#include <winsys/hive.h>
#include <winsys/host.h>

#include "emul.h"
#include "names.h"
#include "text.h"

#include <cstdlib>
#include <cstring>

using namespace winsys;

namespace {

NET_API_STATUS Finish(DWORD code)
{
    SetLastError(code);
    return code;
}

bool IsLocal(LPCWSTR server)
{
    return !server || !*server;
}

bool InDomain(const Hive& h)
{
    return h.GetDword(keys::kEmulatedHost, "MembershipType", NetSetupWorkgroupName) == NetSetupDomainName;
}

void SetMembership(Hive& h, const std::string& name, NETSETUP_JOIN_STATUS type)
{
    h.SetString(keys::kEmulatedHost, "Membership", name);
    h.SetDword(keys::kEmulatedHost, "MembershipType", type);
}

DWORD Join(Hive& h, const std::string& name, DWORD options)
{
    if (!(options & NETSETUP_JOIN_DOMAIN)) {
        SetMembership(h, Upper(name), NetSetupWorkgroupName);
        return 0;
    }
    // A member of a domain leaves it before joining one, unless the caller
    // asks to move; the domain it is in cannot be joined again.
    if (InDomain(h)) {
        const bool same = EqualNoCase(h.GetString(keys::kEmulatedHost, "Membership"), name);
        if (same || !(options & NETSETUP_DOMAIN_JOIN_IF_JOINED))
            return NERR_SetupAlreadyJoined;
    }
    for (const std::string& domain : h.GetMultiString(keys::kEmulatedHost, "JoinableDomains")) {
        if (EqualNoCase(domain, name)) {
            SetMembership(h, domain, NetSetupDomainName);
            return 0;
        }
    }
    return ERROR_NO_SUCH_DOMAIN;
}

}  // namespace

NET_API_STATUS NET_API_FUNCTION NetGetJoinInformation(LPCWSTR lpServer, LPWSTR* lpNameBuffer,
                                                      PNETSETUP_JOIN_STATUS BufferType)
{
    if (!lpNameBuffer || !BufferType)
        return Finish(ERROR_INVALID_PARAMETER);
    if (!IsLocal(lpServer))
        return Finish(ERROR_BAD_NETPATH);
    std::string name;
    DWORD type = NetSetupUnknownStatus;
    const DWORD code = ReadHive([&](const Hive& h) -> uint32_t {
        name = h.GetString(keys::kEmulatedHost, "Membership");
        type = h.GetDword(keys::kEmulatedHost, "MembershipType", name.empty() ? NetSetupUnjoined : NetSetupWorkgroupName);
        return 0;
    });
    if (code)
        return Finish(code);
    const std::u16string wide = Utf8ToUtf16(name);
    auto* buffer = static_cast<LPWSTR>(std::malloc((wide.size() + 1) * sizeof(WCHAR)));
    if (!buffer)
        return Finish(ERROR_NOT_ENOUGH_MEMORY);
    std::memcpy(buffer, wide.c_str(), (wide.size() + 1) * sizeof(WCHAR));
    *lpNameBuffer = buffer;
    *BufferType = type <= NetSetupDomainName ? NETSETUP_JOIN_STATUS(type) : NetSetupUnknownStatus;
    return Finish(NERR_Success);
}

NET_API_STATUS NET_API_FUNCTION NetJoinDomain(LPCWSTR lpServer, LPCWSTR lpDomain, LPCWSTR, LPCWSTR, LPCWSTR,
                                              DWORD fJoinOptions)
{
    const std::string name = Utf16ToUtf8(lpDomain);
    if (name.empty())
        return Finish(ERROR_INVALID_PARAMETER);
    if (!IsLocal(lpServer))
        return Finish(ERROR_BAD_NETPATH);
    if (!(fJoinOptions & NETSETUP_JOIN_DOMAIN) && CheckNetbiosName(name) != 0)
        return Finish(ERROR_INVALID_PARAMETER);
    return Finish(ModifyHive([&](Hive& h) -> uint32_t { return Join(h, name, fJoinOptions); }));
}

NET_API_STATUS NET_API_FUNCTION NetUnjoinDomain(LPCWSTR lpServer, LPCWSTR, LPCWSTR, DWORD)
{
    if (!IsLocal(lpServer))
        return Finish(ERROR_BAD_NETPATH);
    return Finish(ModifyHive([](Hive& h) -> uint32_t {
        if (!InDomain(h))
            return NERR_SetupNotJoined;
        SetMembership(h, "WORKGROUP", NetSetupWorkgroupName);
        return 0;
    }));
}

NET_API_STATUS NET_API_FUNCTION NetRenameMachineInDomain(LPCWSTR lpServer, LPCWSTR lpNewMachineName, LPCWSTR,
                                                         LPCWSTR, DWORD)
{
    if (!IsLocal(lpServer))
        return Finish(ERROR_BAD_NETPATH);
    const std::string name = Utf16ToUtf8(lpNewMachineName);
    if (!name.empty())
        if (const DWORD code = CheckNetbiosName(name))
            return Finish(code);
    return Finish(ModifyHive([&](Hive& h) -> uint32_t {
        if (!InDomain(h))
            return NERR_SetupNotJoined;
        if (!name.empty()) {   // the domain account follows the machine's pending name
            h.SetString(keys::kComputerName, "ComputerName", Upper(name));
            h.SetString(keys::kTcpipParameters, "NV Hostname", name);
        }
        return 0;
    }));
}
