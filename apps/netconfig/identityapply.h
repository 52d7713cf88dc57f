#pragma once

#include "identity.h"

#include <functional>

#include <winsys.h>

// How applying the identification ended: the result of the last step that
// ran, and the system error to show when it failed.
struct CIdentityOutcome
{
    bool ok = true;
    DWORD error = 0;
};

// Applies each part of wanted that differs from remembered (case ignored):
// the computer name, then the workgroup or domain (not tried when the name
// was refused), then the primary DNS suffix. remembered takes every part
// that went through, so a later call retries exactly what did not.
// afterJoin runs when a join really changed the membership.
CIdentityOutcome ApplyIdentity(const CIdentity& wanted, CIdentity& remembered, const std::function<void()>& afterJoin);
