#include "identityapply.h"

#include "netconfig_rules.h"

#include "netprotocol.h"

namespace {

// Qt 6 only exists for the Unicode Windows interfaces, so the wide call is
// the one to make. The text carries an extra NUL, as the system is handed it.
bool SetComputerNameText(COMPUTER_NAME_FORMAT type, const QString& text)
{
    const QString terminated = text + QChar(0);
    return SetComputerNameExW(type, reinterpret_cast<LPCWSTR>(terminated.utf16())) != FALSE;
}

bool ApplyComputerName(const QString& name, CIdentity& remembered)
{
    if (!SetComputerNameText(ComputerNamePhysicalNetBIOS, name))
        return false;
    // Keeps a domain account in step where there is one; elsewhere it fails
    // harmlessly, so the outcome is not looked at.
    const QString terminated = name + QChar(0);
    NetRenameMachineInDomain(nullptr, reinterpret_cast<LPCWSTR>(terminated.utf16()), nullptr, nullptr,
                             NETSETUP_JOIN_UNSECURE);
    remembered.computerName = name;
    return true;
}

QString CurrentMembership()
{
    QString workgroup, name;
    CNetNProtocol::GetDomainInfo(workgroup, name);
    return workgroup;
}

bool ApplyMembership(const QString& group, CIdentity& remembered, const std::function<void()>& afterJoin)
{
    const QString before = CurrentMembership();
    if (!CNetNProtocol::Join2Domain(group, QString()))
        return false;
    // Joining what the machine already belongs to moves no lease.
    if (afterJoin && IdentityDiffers(CurrentMembership(), before))
        afterJoin();
    remembered.workgroup = group;
    return true;
}

} // namespace

CIdentityOutcome ApplyIdentity(const CIdentity& wanted, CIdentity& remembered, const std::function<void()>& afterJoin)
{
    CIdentityOutcome outcome;
    const auto step = [&outcome](bool ok) {
        outcome.ok = ok;
        outcome.error = ok ? 0 : GetLastError();
    };
    if (IdentityDiffers(wanted.computerName, remembered.computerName))
        step(ApplyComputerName(wanted.computerName, remembered));
    if (outcome.ok && IdentityDiffers(wanted.workgroup, remembered.workgroup))
        step(ApplyMembership(wanted.workgroup, remembered, afterJoin));
    if (IdentityDiffers(wanted.dnsSuffix, remembered.dnsSuffix)) {
        step(SetComputerNameText(ComputerNamePhysicalDnsDomain, wanted.dnsSuffix));
        if (outcome.ok)
            remembered.dnsSuffix = wanted.dnsSuffix;
    }
    return outcome;
}
