#pragma once

// Workgroup/domain membership of this machine.

#include <QString>

class CNetNProtocol
{
public:
    // Current workgroup or domain name and NetBIOS computer name. On failure
    // both are left as they were and the last error says why.
    static bool GetDomainInfo(QString& workgroup, QString& computerName);
    // Makes the machine a member of name; true when it is now a member.
    // On failure the thread's last error describes why.
    static bool Join2Domain(const QString& name, const QString& second);
    // True when name is joined as a domain rather than as a workgroup.
    static bool IsDomainName(const QString& name);
};
