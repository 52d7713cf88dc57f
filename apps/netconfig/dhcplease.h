#pragma once

#include <QString>

#include <winsys.h>

enum class LeaseAction { Release = 0, Renew = 1 };

// How a release or renew ended: whether the adapter's interface was found,
// and the system error to show (0: none).
struct CLeaseOutcome
{
    bool listed = false; // the system reported an interface table at all
    bool found = false;
    DWORD error = 0;
};

// Releases or renews the DHCP lease of the adapter named adapterName (its
// GUID text): the first interface whose name contains it, case counting.
// A renew nobody answered (121, 2) comes back as 59.
CLeaseOutcome ReleaseRenewLease(const QString& adapterName, LeaseAction action);
