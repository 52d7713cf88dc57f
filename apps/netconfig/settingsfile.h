#pragma once

#include "identity.h"
#include "networkcard.h"

// The INI form of the whole configuration: one section per adapter by
// position ("Interface1", ...), then "HostInformation".

QString AdapterSection(int row);      // "Interface<row + 1>"
QString SettingsKey(CardField field); // the key a field is read from

// Writes cards and identity into path: the adapter sections in order, then
// the identification, then whatever else the file held (sections and keys
// this program does not own), untouched. Sections of adapters beyond cards
// are dropped. 0 on success.
int WriteSettingsFile(const QString& path, const CNetworkCardList& cards, const CIdentity& identity);

// Reads path into cards by position and into identity (what the file wants
// the machine to be called). Every key present marks its group changed, even
// for an equal value, so a loaded file is applied in full; a value that is
// not a valid address is kept for validation to report. Nonzero, with
// nothing changed, when the file cannot be read or holds no settings key.
int ReadSettingsFile(const QString& path, CNetworkCardList& cards, CIdentity& identity);
