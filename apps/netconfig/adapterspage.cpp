#include "adapterspage.h"

#include "addrlistimpl.h"
#include "ptr_t.h"

namespace {

enum AddressSource { SourceAuto = 0, SourceManual = 1 };

} // namespace

CAdaptersPage::CAdaptersPage(QWidget* parent) : QWidget(parent)
{
    setupUi(this);
    // Designer cannot express these; they complete the tree from the .ui.
    groupBox1Grid->setObjectName(QString());
    groupBox1Grid->setAlignment(Qt::AlignTop);
    groupBox2Grid->setObjectName(QString());
    groupBox2Grid->setAlignment(Qt::AlignTop);
    groupBox1Buttons->setId(rbtnAuto, SourceAuto);
    groupBox1Buttons->setId(rbtnManual, SourceManual);

    BindField(ledIPAddress, CardField::IPAddress);
    BindField(ledSubNet, CardField::SubnetMask);
    BindField(ledGateway, CardField::Gateway);
    BindField(ledDNSServer, CardField::DNSServer);
    BindField(ledPrimaryWINS, CardField::PrimaryWINS);
    BindField(ledSecondaryWINS, CardField::SecondaryWINS);
}

void CAdaptersPage::BindField(QLineEdit* edit, CardField field)
{
    connect(edit, &QLineEdit::textEdited, this, [this, field](const QString& text) {
        if (m_Editor)
            m_Editor->EditAddress(CurrentRow(), field, text);
    });
}

void CAdaptersPage::FillAdapterList()
{
    cbAdapters->clear();
    for (const CNetworkCard& card : m_Editor->Cards())
        cbAdapters->addItem(card.m_Description);
    if (m_Editor->Count() > 0)
        ShowCard(0);
}

void CAdaptersPage::ShowCard(int row)
{
    if (!m_Editor->IsRow(row))
        return;
    if (row != cbAdapters->currentIndex())
        cbAdapters->setCurrentIndex(row);
    // A copy: the change signals raised below may reach the editor.
    const CNetworkCard card = m_Editor->Card(row);
    ledIPAddress->setText(card.FieldText(CardField::IPAddress));
    ledSubNet->setText(card.FieldText(CardField::SubnetMask));
    ledGateway->setText(card.FieldText(CardField::Gateway));
    rbtnAuto->setChecked(card.m_DHCPEnabled);
    rbtnManual->setChecked(!card.m_DHCPEnabled);
    ckbDNSAuto->setChecked(card.m_DNSAuto);
    ledDNSServer->setText(card.FieldText(CardField::DNSServer));
    ckbHaveWins->setChecked(card.m_WINSAuto);
    ledPrimaryWINS->setText(card.FieldText(CardField::PrimaryWINS));
    ledSecondaryWINS->setText(card.FieldText(CardField::SecondaryWINS));
}

void CAdaptersPage::UpdateControlStates()
{
    const int row = CurrentRow();
    if (!m_Editor || !m_Editor->IsRow(row))
        return;
    const CNetworkCard& card = m_Editor->Card(row);
    btnRenew->setEnabled(card.m_DHCPEnabled);
    btnRelease->setEnabled(card.m_DHCPEnabled);
    for (QWidget* manual : {static_cast<QWidget*>(ledIPAddress), static_cast<QWidget*>(ledSubNet),
                            static_cast<QWidget*>(ledGateway), static_cast<QWidget*>(btnGateways)})
        manual->setEnabled(!card.m_DHCPEnabled);
    ledDNSServer->setEnabled(!card.m_DNSAuto);
    btnDNSServers->setEnabled(!card.m_DNSAuto);
    ledPrimaryWINS->setEnabled(!card.m_WINSAuto);
    ledSecondaryWINS->setEnabled(!card.m_WINSAuto);
}

void CAdaptersPage::SetAddressSource(int id)
{
    // Only the two radio buttons belong to the group; other ids change nothing.
    if (id == SourceAuto || id == SourceManual)
        m_Editor->SetDHCPEnabled(CurrentRow(), id == SourceAuto);
}

void CAdaptersPage::SetDNSAuto(bool automatic)
{
    m_Editor->SetDNSAuto(CurrentRow(), automatic);
}

void CAdaptersPage::SetWINSAuto(bool automatic)
{
    m_Editor->SetWINSAuto(CurrentRow(), automatic);
}

bool CAdaptersPage::EditGateways()
{
    return EditList(&CNetworkCard::GetGateways, &CAdapterEditor::SetGateways, ledGateway);
}

bool CAdaptersPage::EditDNSServers()
{
    return EditList(&CNetworkCard::GetDNSServers, &CAdapterEditor::SetDNSServers, ledDNSServer);
}

// The dialog edits a copy; only OK stores it (which marks the card changed
// even for an unchanged list) and shows its first address in the field.
bool CAdaptersPage::EditList(CIPAddressList (CNetworkCard::*get)() const,
                             void (CAdapterEditor::*set)(int, const CIPAddressList&), QLineEdit* field)
{
    const int row = CurrentRow();
    if (!m_Editor->IsRow(row))
        return false;
    ptr_t<CNetAddrListImpl> dialog(new CNetAddrListImpl(nullptr, "NetAddrList", false));
    dialog->SetList((m_Editor->Card(row).*get)());
    if (dialog->exec() != QDialog::Accepted || !m_Editor->IsRow(row))
        return false;
    (m_Editor->*set)(row, dialog->GetList());
    const CIPAddressList list = (m_Editor->Card(row).*get)();
    field->setText(list.isEmpty() ? CIPAddress(0).ToString() : list.first().ToString());
    return true;
}

QLineEdit* CAdaptersPage::FieldEdit(CardField field) const
{
    switch (field) {
    case CardField::IPAddress:
        return ledIPAddress;
    case CardField::SubnetMask:
        return ledSubNet;
    case CardField::Gateway:
        return ledGateway;
    case CardField::DNSServer:
        return ledDNSServer;
    case CardField::PrimaryWINS:
        return ledPrimaryWINS;
    case CardField::SecondaryWINS:
        return ledSecondaryWINS;
    default:
        return nullptr;
    }
}

void CAdaptersPage::FocusField(CardField field)
{
    if (QLineEdit* edit = FieldEdit(field)) {
        edit->setFocus();
        edit->selectAll();
    }
}
