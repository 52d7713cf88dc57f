#pragma once

#include "networkcard.h"

#include <QList>
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
