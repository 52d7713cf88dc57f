#pragma once

// Driving the modal address list dialog from a test: the action runs on the
// dialog once exec() has shown it, and must close it (OK or Cancel).

#include "addrlistimpl.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

namespace addrlisttest {

inline CNetAddrListImpl* OpenAddressList()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<CNetAddrListImpl*>(widget);
        if (dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

// Schedules action for the next address list dialog that opens; it looks
// again on every turn of the event loop until the dialog is there. The
// action must not use QVERIFY (a failed check would leave the dialog open):
// it records what it saw and closes the dialog. Should some other modal
// window turn up instead, it is closed so that the test cannot hang.
inline void WhenAddressListOpens(std::function<void(CNetAddrListImpl*)> action, int attempts = 500)
{
    QTimer::singleShot(attempts == 500 ? 0 : 10, [action, attempts] {
        if (CNetAddrListImpl* dialog = OpenAddressList())
            action(dialog);
        else if (attempts > 0)
            WhenAddressListOpens(action, attempts - 1);
        else if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
}

inline QStringList Rows(const CNetAddrListImpl* dialog)
{
    QStringList rows;
    for (int i = 0; i < dialog->chlIPList->topLevelItemCount(); ++i)
        rows << dialog->chlIPList->topLevelItem(i)->text(0);
    return rows;
}

inline void AddAddress(CNetAddrListImpl* dialog, const QString& text)
{
    dialog->ledIPAddress_2->setText(text);
    dialog->btnAdd->click();
}

inline void DeleteRow(CNetAddrListImpl* dialog, int row)
{
    dialog->chlIPList->setCurrentItem(dialog->chlIPList->topLevelItem(row));
    dialog->btnDel->click();
}

} // namespace addrlisttest
