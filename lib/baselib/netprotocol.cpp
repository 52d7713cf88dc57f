#include "netprotocol.h"

#include <winsys.h>

// Membership rule. The dialog has a single "Workgroup" field, so the name
// alone must decide what to join:
//  - the current membership (case-insensitive) is kept as it is;
//  - the name is first tried as a domain (NETSETUP_JOIN_DOMAIN), so a domain
//    the network offers is joined as one, dotted DNS names or flat names;
//  - when no such domain exists (1355), a name without "." becomes the
//    workgroup; a dotted name is an unknown domain and fails with 1355,
//    leaving the membership unchanged.
// A machine in a domain leaves it first, as Windows requires before another
// join, and goes back to it when the new join fails.

namespace {
LPCWSTR Wide(const QString& s)
{
    return reinterpret_cast<LPCWSTR>(s.utf16());
}

bool CurrentMembership(QString* name, NETSETUP_JOIN_STATUS* status)
{
    LPWSTR buffer = nullptr;
    *status = NetSetupUnknownStatus;
    const NET_API_STATUS rc = NetGetJoinInformation(nullptr, &buffer, status);
    if (rc != NERR_Success) {
        SetLastError(rc);
        return false;
    }
    *name = buffer ? QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer)) : QString();
    if (buffer)
        NetApiBufferFree(buffer);
    return true;
}

const DWORD kDomainJoin = NETSETUP_JOIN_DOMAIN | NETSETUP_ACCT_CREATE;

NET_API_STATUS JoinAsDomainOrWorkgroup(const QString& name)
{
    const NET_API_STATUS rc = NetJoinDomain(nullptr, Wide(name), nullptr, nullptr, nullptr, kDomainJoin);
    if (rc == ERROR_NO_SUCH_DOMAIN && !CNetNProtocol::IsDomainName(name))
        return NetJoinDomain(nullptr, Wide(name), nullptr, nullptr, nullptr, 0);
    return rc;
}

bool Fail(DWORD code)
{
    SetLastError(code);
    return false;
}
} // namespace

bool CNetNProtocol::GetDomainInfo(QString& workgroup, QString& computerName)
{
    // Both or nothing: a failed query must not blank what the caller shows.
    QString membership;
    NETSETUP_JOIN_STATUS status;
    if (!CurrentMembership(&membership, &status))
        return false;

    WCHAR buffer[256] = {};
    DWORD size = sizeof(buffer) / sizeof(buffer[0]);
    if (!GetComputerNameExW(ComputerNameNetBIOS, buffer, &size))
        return false;
    workgroup = membership;
    computerName = QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer), int(size));
    return true;
}

bool CNetNProtocol::IsDomainName(const QString& name)
{
    return name.contains(QLatin1Char('.'));
}

bool CNetNProtocol::Join2Domain(const QString& name, const QString& second)
{
    Q_UNUSED(second)
    const QString target = name.trimmed();
    if (target.isEmpty())
        return Fail(ERROR_INVALID_PARAMETER);

    QString current;
    NETSETUP_JOIN_STATUS status;
    if (!CurrentMembership(&current, &status))
        return false;
    if ((status == NetSetupWorkgroupName || status == NetSetupDomainName)
        && current.compare(target, Qt::CaseInsensitive) == 0)
        return true;

    const bool leftDomain = status == NetSetupDomainName;
    if (leftDomain) {
        const NET_API_STATUS rc = NetUnjoinDomain(nullptr, nullptr, nullptr, 0);
        if (rc != NERR_Success)
            return Fail(rc);
    }

    const NET_API_STATUS rc = JoinAsDomainOrWorkgroup(target);
    if (rc != NERR_Success) {
        if (leftDomain)
            NetJoinDomain(nullptr, Wide(current), nullptr, nullptr, nullptr, kDomainJoin);
        return Fail(rc);
    }
    SetLastError(NERR_Success);
    return true;
}
