#include "verification.h"

#include "configreader.h"
#include "netconfig_rules.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace {

QString Automatic()
{
    return QCoreApplication::translate("CNetConfigImpl", "obtained automatically");
}

// A list as the system can hold it: each address once, in first-seen order
// (netsh refuses to add one that is already there).
QString Joined(const CIPAddressList& list)
{
    QStringList texts;
    for (const CIPAddress& address : list) {
        if (!texts.contains(address.ToString()))
            texts << address.ToString();
    }
    return texts.isEmpty() ? QCoreApplication::translate("CNetConfigImpl", "none") : texts.join(QStringLiteral(", "));
}

QString Joined(const CAddressWithMaskList& list)
{
    QStringList texts;
    for (const CAddressWithMask& entry : list)
        texts << entry.address.ToString() + QLatin1Char('/') + entry.mask.ToString();
    return texts.isEmpty() ? QCoreApplication::translate("CNetConfigImpl", "none") : texts.join(QStringLiteral(", "));
}

class Collector
{
public:
    Collector(int row, Phase phase, CDifferenceList& out) : m_Row(row), m_Phase(phase), m_Out(out) {}
    void Check(const char* what, const QString& wanted, const QString& live)
    {
        if (wanted != live)
            m_Out.append({m_Row, QCoreApplication::translate("CNetConfigImpl", what), wanted, live, m_Phase});
    }

private:
    int m_Row;
    Phase m_Phase;
    CDifferenceList& m_Out;
};

void CompareAddresses(const CNetworkCard& wanted, const CNetworkCard& live, Collector& c)
{
    if (wanted.m_DHCPEnabled || live.m_DHCPEnabled) {
        const auto source = [](const CNetworkCard& card) {
            return card.m_DHCPEnabled ? Automatic() : card.m_IPAddress.ToString();
        };
        c.Check(QT_TRANSLATE_NOOP("CNetConfigImpl", "IP address"), source(wanted), source(live));
        return;
    }
    c.Check(QT_TRANSLATE_NOOP("CNetConfigImpl", "IP address"), wanted.m_IPAddress.ToString(),
            live.m_IPAddress.ToString());
    c.Check(QT_TRANSLATE_NOOP("CNetConfigImpl", "subnet mask"), wanted.m_SubnetMask.ToString(),
            live.m_SubnetMask.ToString());
    c.Check(QT_TRANSLATE_NOOP("CNetConfigImpl", "default gateways"), Joined(wanted.m_Gateways),
            Joined(live.m_Gateways));
    c.Check(QT_TRANSLATE_NOOP("CNetConfigImpl", "further IP addresses"), Joined(wanted.m_SecondaryAddresses),
            Joined(live.m_SecondaryAddresses));
}

void CompareDNS(const CNetworkCard& wanted, const CNetworkCard& live, Collector& c)
{
    const auto servers = [](const CNetworkCard& card) {
        return card.m_DNSAuto ? Automatic() : Joined(card.m_DNSServers);
    };
    c.Check(QT_TRANSLATE_NOOP("CNetConfigImpl", "DNS servers"), servers(wanted), servers(live));
}

void CompareWINS(const CNetworkCard& wanted, const CNetworkCard& live, Collector& c)
{
    if (wanted.m_WINSAuto || live.m_WINSAuto) {
        const auto source = [](const CNetworkCard& card) {
            return card.m_WINSAuto ? Automatic() : Joined({card.m_PrimaryWINS, card.m_SecondaryWINS});
        };
        c.Check(QT_TRANSLATE_NOOP("CNetConfigImpl", "WINS servers"), source(wanted), source(live));
        return;
    }
    c.Check(QT_TRANSLATE_NOOP("CNetConfigImpl", "primary WINS server"), wanted.m_PrimaryWINS.ToString(),
            live.m_PrimaryWINS.ToString());
    c.Check(QT_TRANSLATE_NOOP("CNetConfigImpl", "secondary WINS server"), wanted.m_SecondaryWINS.ToString(),
            live.m_SecondaryWINS.ToString());
}

} // namespace

CDifferenceList CompareCard(const CNetworkCard& wanted, const CNetworkCard& live, int row, Phase phase)
{
    CDifferenceList differences;
    Collector collector(row, phase, differences);
    switch (phase) {
    case Phase::DNS:
        CompareDNS(wanted, live, collector);
        break;
    case Phase::WINS:
        CompareWINS(wanted, live, collector);
        break;
    case Phase::Address:
        CompareAddresses(wanted, live, collector);
        break;
    }
    return differences;
}

CDifferenceList CompareIdentity(const CIdentity& wanted, const CIdentity& live)
{
    CDifferenceList differences;
    const auto check = [&differences](const char* what, const QString& want, const QString& have) {
        // Case does not count, as the system itself does not tell it apart.
        if (IdentityDiffers(want, have))
            differences.append({-1, QCoreApplication::translate("CNetConfigImpl", what), want, have, Phase::DNS});
    };
    check(QT_TRANSLATE_NOOP("CNetConfigImpl", "computer name"), wanted.computerName, live.computerName);
    check(QT_TRANSLATE_NOOP("CNetConfigImpl", "workgroup or domain"), wanted.workgroup, live.workgroup);
    check(QT_TRANSLATE_NOOP("CNetConfigImpl", "primary DNS suffix"), wanted.dnsSuffix, live.dnsSuffix);
    return differences;
}

QList<Phase> PlannedPhases(const CNetworkCard& wanted, const CNetworkCard* live, int row)
{
    QList<Phase> phases = PhasesToApply(wanted);
    if (live)
        phases.removeIf([&](Phase phase) { return CompareCard(wanted, *live, row, phase).isEmpty(); });
    return phases;
}

namespace {

const int kCheckIntervalMs = 1000;
const int kDefaultSettleMs = 4000;

CDifferenceList CompareOnce(const CApplyPlan& plan)
{
    CNetworkCardList live;
    CIdentity identity = plan.liveIdentity;
    if (ReadAdapterCards(live) != 0)
        live.clear();
    ReadIdentity(identity);
    CDifferenceList differences;
    for (int row : plan.rows) {
        const CNetworkCard& wanted = plan.wanted.at(row);
        for (Phase phase : PhasesToApply(wanted)) {
            if (row < live.count())
                differences += CompareCard(wanted, live.at(row), row, phase);
            else
                differences.append({row, PhaseName(phase), QString(), QString(), phase});
        }
    }
    return differences + CompareIdentity(plan.wantedIdentity, identity);
}

void Wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

CDifferenceList VerifyPlan(const CApplyPlan& plan, int settleMs)
{
    CDifferenceList differences = CompareOnce(plan);
    for (int waited = 0; !differences.isEmpty() && waited < settleMs; waited += kCheckIntervalMs) {
        Wait(qMin(kCheckIntervalMs, settleMs - waited));
        differences = CompareOnce(plan);
    }
    return differences;
}

int SettleTimeMs()
{
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("NETCONFIG_SETTLE_MS", &ok);
    return ok && ms >= 0 ? ms : kDefaultSettleMs;
}

namespace {

// The command of the difference's phase that names the wanted value, else
// the phase's first one.
const QPair<Command, CommandResult>* CommandFor(const CDifference& difference, const CommandRunLog& ran)
{
    const QPair<Command, CommandResult>* first = nullptr;
    for (const auto& entry : ran) {
        if (entry.first.adapter != difference.row || entry.first.phase != difference.phase)
            continue;
        if (!first)
            first = &entry;
        if (!difference.wanted.isEmpty() && entry.first.Parameters().contains(difference.wanted.section(u',', 0, 0)))
            return &entry;
    }
    return first;
}

QString CommandText(const CDifference& difference, const CommandRunLog& ran)
{
    if (difference.row < 0)
        return QString();
    const auto* entry = CommandFor(difference, ran);
    if (!entry)
        return QCoreApplication::translate("CNetConfigImpl", "No command ran for it.");
    return QCoreApplication::translate("CNetConfigImpl", "Command: %1 (exit code %2).")
        .arg(entry->first.CommandLine())
        .arg(entry->second.exitCode);
}

} // namespace

QStringList DescribeDifferences(const CDifferenceList& differences, const CNetworkCardList& cards,
                                const CommandRunLog& ran)
{
    QStringList lines;
    for (const CDifference& difference : differences) {
        const QString where = difference.row >= 0 && difference.row < cards.count()
                                  ? cards.at(difference.row).m_Description
                                  : QCoreApplication::translate("CNetConfigImpl", "Identification");
        QString line = QCoreApplication::translate("CNetConfigImpl", "%1, %2: %3 was asked for, the system has %4.")
                           .arg(where, difference.what, difference.wanted, difference.live);
        const QString command = CommandText(difference, ran);
        if (!command.isEmpty())
            line += QLatin1Char(' ') + command;
        lines << line;
    }
    return lines;
}
