#pragma once

#include "identity.h"
#include "networkcard.h"

// Reading the live configuration from the system, without any window:
// start-up, F5 and the check after an apply all read through here.

// One card per adapter, in the order the system reports them, all change
// flags clear. Returns 0, or the adapter query's code with cards untouched.
// When the system reports no adapter data at all, cards are left as they
// were (a refresh keeps listing the old adapters).
unsigned long ReadAdapterCards(CNetworkCardList& cards);

// Computer name (a rename waiting for the restart wins), workgroup or
// domain, and primary DNS suffix. A failing domain query keeps the values
// identity already holds.
void ReadIdentity(CIdentity& identity);

// One string value under HKEY_LOCAL_MACHINE, or a null string when the key
// or value cannot be read (values over 1,024 bytes included).
QString ReadRegistryString(const QString& keyPath, const QString& valueName);
