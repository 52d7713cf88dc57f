#include "addrlistimpl.h"

#include "appimages.h"
#include "devcheck.h"
#include "msgbox.h"

#include <QApplication>
#include <QIcon>
#include <QRegularExpression>

CNetAddrListImpl::CNetAddrListImpl(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : CNetAddrList(parent, name, modal, fl)
{
    setWindowIcon(QIcon(AppImage(QStringLiteral("networks_small"))));
    chlIPList->addColumn(tr("IP Address"), 150);
    chlIPList->addColumn(tr("Mask"), -1);
}

void CNetAddrListImpl::SetList(const CIPAddressList& ipList)
{
    DEV_CHECK(ipList.count() > 0);
    m_List = ipList;
    chlIPList->clear();
    for (const CIPAddress& address : m_List)
        chlIPList->addRow(QStringList{address.ToString()});
}

bool CNetAddrListImpl::ValidateAddress()
{
    static const QRegularExpression strict(QRegularExpression::anchoredPattern(QStringLiteral(
        "(25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)\\.(25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)\\."
        "(25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)\\.(25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)")));
    const QString text = ledIPAddress_2->text();
    if (strict.match(text).hasMatch())
        return true;
    QuarvelMsgBox(QApplication::activeWindow(), tr("Ip address %1 is not valid.").arg(text));
    ledIPAddress_2->setFocus();
    ledIPAddress_2->selectAll();
    return false;
}

void CNetAddrListImpl::OKClick()
{
    accept();
}

void CNetAddrListImpl::btnAdd_clicked()
{
    if (!ValidateAddress())
        return;
    // No duplicate check: the list may name an address twice on purpose.
    const CIPAddress address(ledIPAddress_2->text());
    m_List.append(address);
    chlIPList->addRow(QStringList{address.ToString()});
}

// Rows and list entries are one to one, so Delete removes exactly one entry:
// the occurrence of the selected address that matches the selected row
// (rows are added in list order, so the n-th row holding an address stands
// for its n-th list entry). Removing every equal entry would leave rows
// behind that OK no longer returns; removing every equal row would delete
// more than the user picked.
void CNetAddrListImpl::btnDel_clicked()
{
    const QList<QTreeWidgetItem*> selected = chlIPList->selectedItems();
    if (selected.isEmpty())
        return;
    QTreeWidgetItem* row = selected.first();
    const CIPAddress address(row->text(0));
    const int rowIndex = chlIPList->indexOfTopLevelItem(row);
    int occurrence = 0;
    for (int i = 0; i < rowIndex; ++i) {
        if (CIPAddress(chlIPList->topLevelItem(i)->text(0)) == address)
            ++occurrence;
    }
    for (int i = 0; i < m_List.count(); ++i) {
        if (m_List.at(i) == address && occurrence-- == 0) {
            m_List.removeAt(i);
            break;
        }
    }
    delete chlIPList->takeTopLevelItem(rowIndex);
}

void CNetAddrListImpl::textChanged(const QString&)
{
    UpdateCtrlState();
}

void CNetAddrListImpl::UpdateCtrlState()
{
    btnDel->setEnabled(!chlIPList->selectedItems().isEmpty());
    btnAdd->setEnabled(CIPAddress(ledIPAddress_2->text()).Value() != 0);
}
