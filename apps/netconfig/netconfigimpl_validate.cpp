// Live take-over of typed values into the model, and the check that runs
// before an adapter is applied.
#include "netconfig_rules.h"
#include "netconfigimpl.h"

#include "msgbox.h"

#include <QApplication>

namespace {

using RemoveFn = void (CNetworkCard::*)(const CIPAddress&);
using AddFn = void (CNetworkCard::*)(const CIPAddress&);

// The field edits the first entry of an address list. Clearing it drops that
// entry; a complete address replaces it, or just drops it when the address is
// already further down (no duplicates).
void EditFirstEntry(CNetworkCard& card, const CIPAddressList& list, RemoveFn remove, AddFn add,
                    const QString& text)
{
    const auto first = [&card, &list]() { return list.isEmpty() ? CIPAddress() : list.first(); };
    if (IsBlankOrZeroAddress(text))
        (card.*remove)(first());
    if (IsStrictAddress(text)) {
        (card.*remove)(first());
        (card.*add)(CIPAddress(text));
    }
}

// Compared as text on purpose: 010.0.0.1 over 10.0.0.1 is a change.
bool TakeOver(CIPAddress& field, const QString& text)
{
    if (text == field.ToString())
        return false;
    field = CIPAddress(text);
    return true;
}

} // namespace

void CNetConfigImpl::ledControl_textChanged(const QString& text)
{
    // Only the widget the user is typing in writes to the model; texts the
    // program sets elsewhere (filling the page) must not mark anything.
    const QWidget* focused = QApplication::focusWidget();
    const QString name = focused ? focused->objectName() : QString();
    const int index = cbAdapters->currentIndex();
    if (!name.isEmpty() && index >= 0 && index < m_Adapters.count()) {
        CNetworkCard& card = m_Adapters[index];
        if (name == QLatin1String("ledIPAddress"))
            card.m_AddressChanged |= TakeOver(card.m_IPAddress, text);
        else if (name == QLatin1String("ledSubNet"))
            card.m_AddressChanged |= TakeOver(card.m_SubnetMask, text);
        else if (name == QLatin1String("ledGateway"))
            EditFirstEntry(card, card.m_Gateways, &CNetworkCard::RemoveGateway, &CNetworkCard::AddGateway, text);
        else if (name == QLatin1String("ledDNSServer"))
            EditFirstEntry(card, card.m_DNSServers, &CNetworkCard::RemoveDNSServer, &CNetworkCard::AddDNSServer,
                           text);
        else if (name == QLatin1String("ledPrimaryWINS"))
            card.m_WINSChanged |= TakeOver(card.m_PrimaryWINS, text);
        else if (name == QLatin1String("ledSecondaryWINS"))
            card.m_WINSChanged |= TakeOver(card.m_SecondaryWINS, text);
    }
    UpdateControlStates();
}

bool CNetConfigImpl::ValidateInput()
{
    // Every check runs; a later failure overrides an earlier one, so the
    // message names the last offending field in page order.
    QLineEdit* offending = nullptr;
    QString message = tr("Ip address %1 is not valid.");
    const auto fail = [&offending, &message](QLineEdit* field, const QString& text) {
        offending = field;
        message = text;
    };

    if (!IsStrictAddress(ledIPAddress->text()))
        fail(ledIPAddress, tr("Ip address %1 is not valid."));
    if (!IsStrictAddress(ledSubNet->text()))
        fail(ledSubNet, tr("Subnet mask %1 is not valid."));
    else if (!MaskFitsAddress(CIPAddress(ledIPAddress->text()).Value(), CIPAddress(ledSubNet->text()).Value()))
        fail(ledSubNet, tr("Subnet mask %1 is not valid for entered ip address."));
    for (QLineEdit* field : {static_cast<QLineEdit*>(ledGateway), static_cast<QLineEdit*>(ledDNSServer),
                             static_cast<QLineEdit*>(ledPrimaryWINS), static_cast<QLineEdit*>(ledSecondaryWINS)}) {
        if (!IsStrictAddress(field->text()))
            fail(field, tr("Ip address %1 is not valid."));
    }
    if (ledHostName->text().isEmpty())
        fail(ledHostName, tr("Computer name is empty."));
    if (ledDomain->text().isEmpty())
        fail(ledDomain, tr("Group/domain name is empty."));
    if (!rbtnAuto->isChecked() && (ckbDNSAuto->isChecked() || ckbHaveWins->isChecked()))
        fail(ckbDNSAuto->isChecked() ? static_cast<QLineEdit*>(ledDNSServer) : static_cast<QLineEdit*>(ledPrimaryWINS),
             tr("DNS/WINS can not be set automatically in current configuration."));

    if (!offending)
        return true;
    if (message.contains(QLatin1String("%1")))
        message = message.arg(offending->text());
    QuarvelMsgBox(this, message);
    offending->setFocus();
    offending->selectAll();
    return false;
}
