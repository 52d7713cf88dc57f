// Workgroup and domain membership as the base library changes it, and the
// network drives page: listing, mapping and disconnecting, on the sample
// host (member of WORKGROUP, domain CORP reachable, Z: and one deviceless
// connection to \\fileserver).
#include "calls.h"

namespace winfidelity {

namespace {

const DWORD kDomainJoin = NETSETUP_JOIN_DOMAIN | NETSETUP_ACCT_CREATE;

struct Membership
{
    NET_API_STATUS rc = 0;
    NETSETUP_JOIN_STATUS status = NetSetupUnknownStatus;
    std::string name;
};

Membership CurrentMembership()
{
    Membership m;
    LPWSTR buffer = nullptr;
    m.rc = NetGetJoinInformation(nullptr, &buffer, &m.status);
    m.name = Narrow(WideText(buffer));
    if (buffer)
        NetApiBufferFree(buffer);
    return m;
}

void ExpectMembership(Report& report, const std::string& check, const std::string& name, NETSETUP_JOIN_STATUS status)
{
    const Membership m = CurrentMembership();
    report.Add(check, m.rc, m.status, 0, m.rc == NERR_Success && m.status == status && m.name == name,
               "member of \"" + m.name + "\", expected \"" + name + "\"");
}

void Join(Report& report, const std::string& check, const std::string& name, DWORD options, NET_API_STATUS expected)
{
    const WideString wide = Wide(name);
    const NET_API_STATUS rc = NetJoinDomain(nullptr, wide.c_str(), nullptr, nullptr, nullptr, options);
    report.Add(check, rc, 0, 0, rc == expected, "expected " + std::to_string(expected));
}

struct Connection
{
    std::string local, remote;
};

// The drives page's listing.
std::vector<Connection> Connections(NET_API_STATUS* status)
{
    std::vector<Connection> list;
    LPBYTE buffer = nullptr;
    DWORD entriesRead = 0;
    DWORD totalEntries = 0;
    DWORD resumeHandle = 0;
    *status = NetUseEnum(nullptr, 0, &buffer, MAX_PREFERRED_LENGTH, &entriesRead, &totalEntries, &resumeHandle);
    if (*status == NERR_Success) {
        const auto* entries = reinterpret_cast<const USE_INFO_0*>(buffer);
        for (DWORD i = 0; i < entriesRead; ++i)
            list.push_back({Narrow(WideText(entries[i].ui0_local)), Narrow(WideText(entries[i].ui0_remote))});
    }
    if (buffer)
        NetApiBufferFree(buffer);
    return list;
}

// The mapping dialog's connection.
DWORD Map(const std::string& local, const std::string& remote)
{
    WideString localName = Wide(local);
    WideString remoteName = Wide(remote);
    NETRESOURCEW resource = {};
    resource.dwType = RESOURCETYPE_DISK;
    resource.lpLocalName = &localName[0];
    resource.lpRemoteName = &remoteName[0];
    return WNetAddConnection2W(&resource, nullptr, nullptr, CONNECT_UPDATE_PROFILE);
}

DWORD Disconnect(const std::string& name)
{
    const WideString wide = Wide(name);
    return WNetCancelConnection2W(wide.c_str(), CONNECT_UPDATE_PROFILE, FALSE);
}

void ExpectCode(Report& report, const std::string& check, DWORD rc, DWORD expected)
{
    report.Add(check, rc, 0, 0, rc == expected, "expected " + std::to_string(expected));
}

} // namespace

void CheckDomain(Report& report)
{
    ExpectMembership(report, "domain.info", "WORKGROUP", NetSetupWorkgroupName);
    // A rename outside a domain fails harmlessly; the application ignores it.
    const WideString newName = Wide(std::string("WS02") + '\0');
    const NET_API_STATUS renamed =
        NetRenameMachineInDomain(nullptr, newName.c_str(), nullptr, nullptr, NETSETUP_JOIN_UNSECURE);
    ExpectCode(report, "domain.rename", renamed, NERR_SetupNotJoined);

    Join(report, "domain.join", "CORP", kDomainJoin, NERR_Success);
    ExpectMembership(report, "domain.info.joined", "CORP", NetSetupDomainName);
    ExpectCode(report, "domain.unjoin", NetUnjoinDomain(nullptr, nullptr, nullptr, 0), NERR_Success);
    ExpectCode(report, "domain.unjoin.again", NetUnjoinDomain(nullptr, nullptr, nullptr, 0), NERR_SetupNotJoined);
    Join(report, "domain.join.unknown", "NOSUCH", kDomainJoin, ERROR_NO_SUCH_DOMAIN);
    Join(report, "domain.join.workgroup", "TEAM", 0, NERR_Success);
    ExpectMembership(report, "domain.info.workgroup", "TEAM", NetSetupWorkgroupName);
}

void CheckNetworkDrives(Report& report)
{
    NET_API_STATUS status = 0;
    std::vector<Connection> list = Connections(&status);
    const bool sample = list.size() == 2 && list[0].local == "Z:" && list[0].remote == "\\\\fileserver\\public" &&
                        list[1].local.empty() && list[1].remote == "\\\\fileserver\\scans";
    report.Add("drives.list", status, list.size(), 0, status == NERR_Success && sample, "the sample connections");

    ExpectCode(report, "drives.map", Map("Y:", "\\\\fileserver\\home"), NO_ERROR);
    list = Connections(&status);
    report.Add("drives.list.mapped", status, list.size(), 0,
               list.size() == 3 && list[2].local == "Y:", "the new connection is listed");
    ExpectCode(report, "drives.map.taken", Map("Y:", "\\\\fileserver\\public"), ERROR_ALREADY_ASSIGNED);
    ExpectCode(report, "drives.map.noshare", Map("X:", "\\\\fileserver\\nothing"), ERROR_BAD_NET_NAME);
    ExpectCode(report, "drives.map.noserver", Map("X:", "\\\\nowhere\\share"), ERROR_BAD_NETPATH);

    // The provider's own description, asked for after any failure.
    DWORD providerError = 0;
    WCHAR description[1024] = {};
    WCHAR provider[1024] = {};
    const DWORD rc = WNetGetLastErrorW(&providerError, description, 1024, provider, 1024);
    report.Add("drives.lasterror", rc, 0, providerError, rc == NO_ERROR, "the provider's error can be read");

    ExpectCode(report, "drives.disconnect", Disconnect("Y:"), NO_ERROR);
    ExpectCode(report, "drives.disconnect.again", Disconnect("Y:"), ERROR_NOT_CONNECTED);
    // A deviceless connection is known by its network path only.
    ExpectCode(report, "drives.disconnect.path", Disconnect("\\\\fileserver\\scans"), NO_ERROR);
    ExpectCode(report, "drives.disconnect.narrow", WNetCancelConnection2A("Z:", 0, FALSE), NO_ERROR);
    list = Connections(&status);
    report.Add("drives.list.empty", status, list.size(), 0, status == NERR_Success && list.empty(),
               "every connection is gone");
}

} // namespace winfidelity
