#pragma once

#include <QDialog>

#include "ui_netaddrlist.h"

// Form of the address list dialog (netaddrlist.ui plus its wiring). The slot
// bodies only warn; CNetAddrListImpl overrides all of them but
// languageChange().
class CNetAddrList : public QDialog, public Ui::CNetAddrList
{
    Q_OBJECT

public:
    explicit CNetAddrList(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                          Qt::WindowFlags fl = {});
    ~CNetAddrList() override;

public slots:
    virtual void OKClick();
    virtual void btnDel_clicked();
    virtual void btnAdd_clicked();
    virtual void textChanged(const QString&);

protected slots:
    virtual void languageChange();

private slots:
    virtual void UpdateCtrlState();
};
