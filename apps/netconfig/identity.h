#pragma once

#include <QString>

// The machine's identification: computer name, workgroup or domain, and
// primary DNS suffix.
struct CIdentity
{
    QString computerName;
    QString workgroup;
    QString dnsSuffix;

    bool operator==(const CIdentity& other) const
    {
        return computerName == other.computerName && workgroup == other.workgroup && dnsSuffix == other.dnsSuffix;
    }
    bool operator!=(const CIdentity& other) const { return !(*this == other); }
};
