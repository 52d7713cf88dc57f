#include "applyplan.h"

#include "netconfig_rules.h"
#include "verification.h"

#include <QCoreApplication>

namespace {

// One netsh command from a template whose %2 is always the interface index.
// One multi-argument arg() pass, so a substituted value is never scanned for
// markers again.
class NetshBuilder
{
public:
    NetshBuilder(const CNetworkCard& card, int adapter, Phase phase, CommandList& out)
        : m_Card(card), m_Adapter(adapter), m_Phase(phase), m_Out(out)
    {
    }

    template <typename... Rest> void Add(const char* pattern, const QString& a1, const Rest&... rest)
    {
        const QString text = QString::fromLatin1(pattern).arg(a1, QString::number(m_Card.m_Index), rest...);
        m_Out.append({QString::fromLocal8Bit("netsh.exe"), text.split(QLatin1Char(' ')), m_Phase, m_Adapter});
    }
    void Server(const char* action, const CIPAddress& server)
    {
        Add("interface ip %1 %2 addr=%3", QString::fromLatin1(action), server.ToString());
    }
    void SourceDhcp(const char* object)
    {
        Add("interface ip set %1 %2 source=%3", QString::fromLatin1(object), QStringLiteral("dhcp"));
    }

private:
    const CNetworkCard& m_Card;
    int m_Adapter;
    Phase m_Phase;
    CommandList& m_Out;
};

void BuildDNS(const CNetworkCard& card, NetshBuilder& netsh)
{
    if (card.m_DNSAuto) {
        for (const CIPAddress& server : card.m_DNSServers)
            netsh.Server("delete dns", server);
        netsh.SourceDhcp("dns");
        return;
    }
    const CIPAddress preferred = card.m_DNSServers.isEmpty() ? CIPAddress() : card.m_DNSServers.first();
    const bool none = preferred.Value() == 0;
    netsh.Add("interface ip delete %1 %2 all", QStringLiteral("dns"));
    netsh.Add("interface ip set %1 %2 source=%3 addr=%4 ddns=enabled %5", QStringLiteral("dns"),
              QStringLiteral("static"), none ? QStringLiteral("none") : preferred.ToString(),
              none ? QString() : QStringLiteral("register=primary"));
    for (const CIPAddress& server : card.m_DNSServers)
        netsh.Server("add dns", server);
}

void BuildWINS(const CNetworkCard& card, NetshBuilder& netsh)
{
    const bool havePrimary = card.m_PrimaryWINS.Value() != 0;
    const bool haveSecondary = card.m_SecondaryWINS.Value() != 0;
    if (card.m_WINSAuto) {
        if (havePrimary)
            netsh.Server("delete wins", card.m_PrimaryWINS);
        if (haveSecondary)
            netsh.Server("delete wins", card.m_SecondaryWINS);
        netsh.SourceDhcp("wins");
        return;
    }
    netsh.Add("interface ip set %1 %2 source=%3 addr=%4", QStringLiteral("wins"), QStringLiteral("static"),
              havePrimary ? card.m_PrimaryWINS.ToString() : QStringLiteral("none"));
    if (haveSecondary)
        netsh.Server("add wins", card.m_SecondaryWINS);
}

void BuildAddress(const CNetworkCard& card, NetshBuilder& netsh)
{
    if (card.m_DHCPEnabled) {
        if (card.m_IPAddress.Value() != 0)
            netsh.Server("delete address", card.m_IPAddress);
        netsh.SourceDhcp("address");
        return;
    }
    netsh.Add("interface ip set %1 %2 source=%3 %4 %5", QStringLiteral("address"), QStringLiteral("static"),
              card.m_IPAddress.ToString(), card.m_SubnetMask.ToString());
    for (const CIPAddress& gateway : card.m_Gateways)
        netsh.Add("interface ip %1 %2 gateway=%3 gwmetric=0 ", QStringLiteral("add address"), gateway.ToString());
    // The static set leaves one address: the others come back after it.
    for (const CAddressWithMask& more : card.m_SecondaryAddresses)
        netsh.Add("interface ip %1 %2 addr=%3 mask=%4", QStringLiteral("add address"), more.address.ToString(),
                  more.mask.ToString());
}

} // namespace

CommandList BuildPhaseCommands(const CNetworkCard& card, int adapter, Phase phase)
{
    CommandList commands;
    NetshBuilder netsh(card, adapter, phase, commands);
    switch (phase) {
    case Phase::DNS:
        BuildDNS(card, netsh);
        break;
    case Phase::WINS:
        BuildWINS(card, netsh);
        break;
    case Phase::Address:
        BuildAddress(card, netsh);
        break;
    }
    return commands;
}

QList<Phase> PhasesToApply(const CNetworkCard& card)
{
    QList<Phase> phases;
    if (card.m_DNSChanged)
        phases << Phase::DNS;
    if (card.m_WINSChanged)
        phases << Phase::WINS;
    if (card.m_AddressChanged)
        phases << Phase::Address;
    return phases;
}

CApplyPlan MakeApplyPlan(const CNetworkCardList& wanted, const QList<int>& rows, const CNetworkCardList* live,
                         const CIdentity& wantedIdentity, const CIdentity& liveIdentity)
{
    CApplyPlan plan;
    plan.wanted = wanted;
    plan.rows = rows;
    plan.wantedIdentity = wantedIdentity;
    plan.liveIdentity = liveIdentity;
    for (int row : rows) {
        const CNetworkCard* current = live && row < live->count() ? &live->at(row) : nullptr;
        plan.phases.insert(row, PlannedPhases(wanted.at(row), current, row));
    }
    return plan;
}

CommandList CApplyPlan::Commands() const
{
    CommandList commands;
    for (int row : rows) {
        for (Phase phase : phases.value(row))
            commands += BuildPhaseCommands(wanted.at(row), row, phase);
    }
    return commands;
}

QStringList CApplyPlan::IdentityCalls() const
{
    QStringList calls;
    const CIdentity& want = wantedIdentity;
    const CIdentity& have = liveIdentity;
    if (IdentityDiffers(want.computerName, have.computerName))
        calls << QStringLiteral("SetComputerNameEx(ComputerNamePhysicalNetBIOS, %1)").arg(want.computerName)
              << QStringLiteral("NetRenameMachineInDomain(%1)").arg(want.computerName);
    if (IdentityDiffers(want.workgroup, have.workgroup))
        calls << QStringLiteral("Join2Domain(%1)").arg(want.workgroup);
    if (IdentityDiffers(want.dnsSuffix, have.dnsSuffix))
        calls << QStringLiteral("SetComputerNameEx(ComputerNamePhysicalDnsDomain, %1)").arg(want.dnsSuffix);
    return calls;
}

QString PhaseName(Phase phase)
{
    switch (phase) {
    case Phase::DNS:
        return QCoreApplication::translate("CNetConfigImpl", "DNS servers");
    case Phase::WINS:
        return QCoreApplication::translate("CNetConfigImpl", "WINS servers");
    case Phase::Address:
        return QCoreApplication::translate("CNetConfigImpl", "IP address");
    }
    return QString();
}
