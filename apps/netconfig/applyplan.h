#pragma once

#include "identity.h"
#include "networkcard.h"

#include <QList>
#include <QMap>
#include <QStringList>

// The three groups of an adapter's settings, applied in this order.
enum class Phase { DNS, WINS, Address };

// One run of a system program. The arguments joined with single blanks are
// the parameter text the program receives, exactly as built: an empty last
// argument keeps a template's trailing blank.
struct Command
{
    QString program;
    QStringList arguments;
    Phase phase = Phase::DNS;
    int adapter = -1; // row of the card the command applies

    QString Parameters() const { return arguments.join(QLatin1Char(' ')); }
    QString CommandLine() const { return program + QLatin1Char(' ') + Parameters(); }
    bool operator==(const Command& other) const
    {
        return program == other.program && arguments == other.arguments && phase == other.phase &&
               adapter == other.adapter;
    }
};

using CommandList = QList<Command>;

// The netsh commands of one phase of card (row adapter), in run order.
CommandList BuildPhaseCommands(const CNetworkCard& card, int adapter, Phase phase);

// The phases a card's change flags call for, in apply order.
QList<Phase> PhasesToApply(const CNetworkCard& card);

// One apply, worked out before anything runs: the cards as asked for, the
// phases each needs against what the system holds, and the identification
// asked for against the remembered one. Printing it (a dry run) and running
// it go through the same commands.
struct CApplyPlan
{
    CNetworkCardList wanted;        // every card, as edited
    CNetworkCardList live;          // the system's cards before the apply (empty: unknown)
    QList<int> rows;                // the cards to apply, in list order
    QMap<int, QList<Phase>> phases; // per row: the phases that change something
    CIdentity wantedIdentity;
    CIdentity liveIdentity;

    CommandList Commands() const;
    // The identification calls the apply would make, one line each.
    QStringList IdentityCalls() const;
    bool IsEmpty() const { return Commands().isEmpty() && IdentityCalls().isEmpty(); }
};

// live: the cards as the system holds them now, row for row, or null when
// that is not known (then every phase a card's flags ask for is planned).
CApplyPlan MakeApplyPlan(const CNetworkCardList& wanted, const QList<int>& rows, const CNetworkCardList* live,
                         const CIdentity& wantedIdentity, const CIdentity& liveIdentity);

// How a phase is named to the user ("DNS servers").
QString PhaseName(Phase phase);
