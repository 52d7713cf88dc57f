#include "validation.h"

#include "netconfig_rules.h"

#include <QCoreApplication>

namespace {

// Later checks overwrite earlier ones, as the messages promise the last
// offending field.
class ProblemCollector
{
public:
    void Fail(CardField field, const QString& message) { m_Problem = {field, message}; }
    CValidationProblem Result(const QString& fieldText) const
    {
        CValidationProblem problem = m_Problem;
        if (problem.message.contains(QLatin1String("%1")))
            problem.message = problem.message.arg(fieldText);
        return problem;
    }
    CardField Field() const { return m_Problem.field; }

private:
    CValidationProblem m_Problem;
};

QString HostAddressMessage(HostAddressProblem problem)
{
    switch (problem) {
    case HostAddressProblem::Reserved:
        return QCoreApplication::translate("CNetConfigImpl", "Ip address %1 is reserved and cannot be used.");
    case HostAddressProblem::Loopback:
        return QCoreApplication::translate("CNetConfigImpl", "Ip address %1 is a loopback address.");
    case HostAddressProblem::NotUnicast:
        return QCoreApplication::translate("CNetConfigImpl", "Ip address %1 is not a unicast address.");
    case HostAddressProblem::NetworkAddress:
        return QCoreApplication::translate("CNetConfigImpl", "Ip address %1 is the network address of its subnet.");
    case HostAddressProblem::BroadcastAddress:
        return QCoreApplication::translate("CNetConfigImpl", "Ip address %1 is the broadcast address of its subnet.");
    case HostAddressProblem::None:
        break;
    }
    return QString();
}

// What netsh would refuse for a manual address: a mask with a hole, or an
// address no host can have. A DHCP card's addresses are the server's.
void CheckManualAddresses(const CNetworkCard& card, ProblemCollector& problems)
{
    const QString ip = card.FieldText(CardField::IPAddress), mask = card.FieldText(CardField::SubnetMask);
    if (card.m_DHCPEnabled || !IsStrictAddress(ip))
        return;
    const quint32 maskValue = CIPAddress(mask).Value();
    if (!IsContiguousMask(maskValue)) {
        problems.Fail(CardField::SubnetMask,
                      QCoreApplication::translate("CNetConfigImpl", "Subnet mask %1 is not valid."));
        return;
    }
    const HostAddressProblem problem = CheckHostAddress(CIPAddress(ip).Value(), maskValue);
    if (problem != HostAddressProblem::None)
        problems.Fail(CardField::IPAddress, HostAddressMessage(problem));
    for (const CAddressWithMask& more : card.m_SecondaryAddresses) {
        if (!IsContiguousMask(more.mask.Value()) ||
            CheckHostAddress(more.address.Value(), more.mask.Value()) != HostAddressProblem::None)
            problems.Fail(CardField::SecondaryAddresses,
                          QCoreApplication::translate("CNetConfigImpl", "Ip address %1 is not valid.")
                              .arg(more.address.ToString() + QLatin1Char('/') + more.mask.ToString()));
    }
}

void CheckAddresses(const CNetworkCard& card, ProblemCollector& problems)
{
    const QString notValid = QCoreApplication::translate("CNetConfigImpl", "Ip address %1 is not valid.");
    const QString ip = card.FieldText(CardField::IPAddress), mask = card.FieldText(CardField::SubnetMask);
    if (!IsStrictAddress(ip))
        problems.Fail(CardField::IPAddress, notValid);
    if (!IsStrictAddress(mask))
        problems.Fail(CardField::SubnetMask,
                      QCoreApplication::translate("CNetConfigImpl", "Subnet mask %1 is not valid."));
    else if (!MaskFitsAddress(CIPAddress(ip).Value(), CIPAddress(mask).Value()))
        problems.Fail(
            CardField::SubnetMask,
            QCoreApplication::translate("CNetConfigImpl", "Subnet mask %1 is not valid for entered ip address."));
    else
        CheckManualAddresses(card, problems);
    for (CardField field : {CardField::SecondaryAddresses, CardField::Gateway, CardField::DNSServer,
                            CardField::PrimaryWINS, CardField::SecondaryWINS}) {
        if (!IsStrictAddress(card.FieldText(field)))
            problems.Fail(field, notValid);
    }
}

} // namespace

QString IdentityText(const CIdentity& identity, CardField field)
{
    switch (field) {
    case CardField::ComputerName:
        return identity.computerName;
    case CardField::Workgroup:
        return identity.workgroup;
    case CardField::DNSSuffix:
        return identity.dnsSuffix;
    default:
        return QString();
    }
}

CValidationProblem Validate(const CNetworkCard& card, const CIdentity& wanted)
{
    ProblemCollector problems;
    CheckAddresses(card, problems);
    if (wanted.computerName.isEmpty())
        problems.Fail(CardField::ComputerName,
                      QCoreApplication::translate("CNetConfigImpl", "Computer name is empty."));
    if (wanted.workgroup.isEmpty())
        problems.Fail(CardField::Workgroup,
                      QCoreApplication::translate("CNetConfigImpl", "Group/domain name is empty."));
    if (!card.m_DHCPEnabled && (card.m_DNSAuto || card.m_WINSAuto))
        problems.Fail(card.m_DNSAuto ? CardField::DNSServer : CardField::PrimaryWINS,
                      QCoreApplication::translate("CNetConfigImpl",
                                                  "DNS/WINS can not be set automatically in current configuration."));
    const CardField field = problems.Field();
    const bool identity = field == CardField::ComputerName || field == CardField::Workgroup;
    return problems.Result(identity ? IdentityText(wanted, field) : card.FieldText(field));
}

QString GatewayWarning(const CNetworkCard& card)
{
    if (card.m_DHCPEnabled)
        return QString();
    for (const CIPAddress& gateway : card.m_Gateways) {
        if (gateway.Value() != 0 && !InSubnet(gateway.Value(), card.m_IPAddress.Value(), card.m_SubnetMask.Value()))
            return QCoreApplication::translate("CNetConfigImpl",
                                               "Default gateway %1 is not in the subnet of ip address %2 with "
                                               "subnet mask %3. Apply it anyway?")
                .arg(gateway.ToString(), card.m_IPAddress.ToString(), card.m_SubnetMask.ToString());
    }
    return QString();
}
