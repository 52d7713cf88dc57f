#pragma once

#include "applyplan.h"
#include "commandrunner.h"
#include "identity.h"

// One setting that the system does not hold as asked: which adapter (row,
// -1 for the identification), what, the value asked for and the value the
// system has, and the phase whose commands should have set it.
struct CDifference
{
    int row = -1;
    QString what;
    QString wanted;
    QString live;
    Phase phase = Phase::DNS;
};

using CDifferenceList = QList<CDifference>;

// What the system holds differently from wanted, in the settings one phase
// of an apply sets. Empty: that phase has nothing left to do.
CDifferenceList CompareCard(const CNetworkCard& wanted, const CNetworkCard& live, int row, Phase phase);

// The same for the identification. A pending computer name counts as set.
CDifferenceList CompareIdentity(const CIdentity& wanted, const CIdentity& live);

// The phases of card that its flags ask for and that would change something
// on the system (all asked-for phases when nothing is known of the system).
QList<Phase> PlannedPhases(const CNetworkCard& wanted, const CNetworkCard* live, int row);

// Reads the system back until it holds everything plan asked for, checking
// again once a second for up to settleMs (an address is tentative for a
// moment, a lease takes time); what it still lacks then. Waits in a local
// event loop.
CDifferenceList VerifyPlan(const CApplyPlan& plan, int settleMs);

// How long verification waits for the system to settle: the environment's
// NETCONFIG_SETTLE_MS, else 4 seconds (five checks, one second apart).
int SettleTimeMs();

using CommandRunLog = QList<QPair<Command, CommandResult>>;

// One line per difference: the adapter, the setting, the value asked for and
// the system's, and the command that should have set it with its exit code.
QStringList DescribeDifferences(const CDifferenceList& differences, const CNetworkCardList& cards,
                                const CommandRunLog& ran);
