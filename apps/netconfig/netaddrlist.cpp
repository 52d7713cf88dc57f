#include "netaddrlist.h"

#include "devcheck.h"

CNetAddrList::CNetAddrList(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setModal(modal);
    setupUi(this);
    languageChange();
    resize(QSize(305, 220).expandedTo(minimumSizeHint()));

    // Wired after the texts, so setting the mask reaches no slot. Cancel goes
    // straight to reject(): no controller code runs on Cancel.
    connect(buttonOk, &QPushButton::clicked, this, &CNetAddrList::OKClick);
    connect(buttonCancel, &QPushButton::clicked, this, &CNetAddrList::reject);
    connect(btnAdd, &QPushButton::clicked, this, &CNetAddrList::btnAdd_clicked);
    connect(btnDel, &QPushButton::clicked, this, &CNetAddrList::btnDel_clicked);
    connect(chlIPList, &CCheckListControl::selectionChanged, this, &CNetAddrList::UpdateCtrlState);
    connect(ledIPAddress_2, &QLineEdit::textChanged, this, &CNetAddrList::textChanged);
}

CNetAddrList::~CNetAddrList() = default;

void CNetAddrList::languageChange()
{
    retranslateUi(this);
}

void CNetAddrList::OKClick()
{
    qCWarning(lcNetconfig, "CNetAddrList::OKClick(): Not implemented yet");
}

void CNetAddrList::btnDel_clicked()
{
    qCWarning(lcNetconfig, "CNetAddrList::btnDel_clicked(): Not implemented yet");
}

void CNetAddrList::btnAdd_clicked()
{
    qCWarning(lcNetconfig, "CNetAddrList::btnAdd_clicked(): Not implemented yet");
}

void CNetAddrList::textChanged(const QString&)
{
    qCWarning(lcNetconfig, "CNetAddrList::textChanged(const QString&): Not implemented yet");
}

void CNetAddrList::UpdateCtrlState()
{
    qCWarning(lcNetconfig, "CNetAddrList::UpdateCtrlState(): Not implemented yet");
}
