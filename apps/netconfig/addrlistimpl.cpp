#include "addrlistimpl.h"

#include "appimages.h"
#include "devcheck.h"
#include "msgbox.h"

#include <QApplication>
#include <QHeaderView>
#include <QIcon>
#include <QLayout>
#include <QRegularExpression>
#include <QScrollBar>

namespace {

bool IsStrictAddress(const QString& text)
{
    static const QRegularExpression strict(QRegularExpression::anchoredPattern(
        QStringLiteral("(25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)\\.(25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)\\."
                       "(25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)\\.(25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)")));
    return strict.match(text).hasMatch();
}

// A hidden dialog's layouts keep the sizes they worked out; a child's new
// minimum reaches the dialog only once they forget them.
void ForgetLayoutSizes(QWidget* child)
{
    for (QWidget* widget = child; widget; widget = widget->parentWidget()) {
        widget->updateGeometry();
        if (widget->layout())
            widget->layout()->invalidate();
    }
}

} // namespace

CNetAddrListImpl::CNetAddrListImpl(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : CNetAddrList(parent, name, modal, fl)
{
    setWindowIcon(QIcon(AppImage(QStringLiteral("networks_small"))));
    chlIPList->addColumn(tr("IP Address"), 150);
    chlIPList->addColumn(tr("Mask"), -1);
    OpenWideEnoughForColumns();
    // Before Enter reaches the default button OK.
    connect(ledIPAddress_2, &QLineEdit::returnPressed, this, &CNetAddrListImpl::AddTypedAddressOnEnter);
}

// The form opens at 305 x 220 at least; wider when both columns and a
// vertical scroll bar need more, so that no horizontal one is needed.
void CNetAddrListImpl::OpenWideEnoughForColumns()
{
    QHeaderView* header = chlIPList->header();
    int columns = 0;
    for (int i = 0; i < header->count(); ++i)
        columns += qMax(header->sectionSize(i), header->sectionSizeHint(i));
    const int wanted = columns + 2 * chlIPList->frameWidth() + chlIPList->verticalScrollBar()->sizeHint().width();
    // Asked for only while the opening size is worked out: the user may
    // still make the dialog as small as the form allows.
    const int minimum = chlIPList->minimumWidth();
    chlIPList->setMinimumWidth(wanted);
    ForgetLayoutSizes(chlIPList);
    const int width = minimumSizeHint().width();
    chlIPList->setMinimumWidth(minimum);
    ForgetLayoutSizes(chlIPList);
    resize(qMax(this->width(), width), height());
}

// Enter accepts the dialog (OK is the default button); an address typed
// but not added yet would be lost, so a valid new one is added first.
// Anything else is left as it is, without a message.
void CNetAddrListImpl::AddTypedAddressOnEnter()
{
    const CIPAddress address(ledIPAddress_2->text());
    if (address.Value() == 0 || m_List.contains(address) || !IsStrictAddress(ledIPAddress_2->text()))
        return;
    m_List.append(address);
    chlIPList->addRow(QStringList{address.ToString()});
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
    const QString text = ledIPAddress_2->text();
    if (IsStrictAddress(text))
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
