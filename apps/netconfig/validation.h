#pragma once

#include "identity.h"
#include "networkcard.h"

// What validation refuses: the field to put the cursor in and the message,
// with the field's text already filled in. No field: nothing refused.
struct CValidationProblem
{
    CardField field = CardField::None;
    QString message;

    explicit operator bool() const { return field != CardField::None; }
};

// Checks one card and the wanted identification in the fixed order the
// dialog always used; when several checks fail, the last one is reported
// (so the message names the last offending field in page order). Reads the
// data only, never a widget: a card that is not on screen, or one loaded
// from a file, is checked exactly as the shown one.
CValidationProblem Validate(const CNetworkCard& card, const CIdentity& wanted);

// The text of an identification field.
QString IdentityText(const CIdentity& identity, CardField field);

// For a manual card: why a default gateway looks wrong although Windows
// would take it (outside the subnet of the address); empty when none does.
QString GatewayWarning(const CNetworkCard& card);
