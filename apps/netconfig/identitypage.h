#pragma once

#include "adaptereditor.h"

#include <QWidget>

#include "ui_identitypage.h"

// The "Network identification" page: computer name, workgroup or domain and
// primary DNS suffix, as the user wants them. What is typed stays when
// another adapter is shown; reading the system again replaces it.
class CIdentityPage : public QWidget, public Ui::CIdentityPage
{
    Q_OBJECT

public:
    explicit CIdentityPage(QWidget* parent = nullptr);

    void SetEditor(CAdapterEditor* editor) { m_Editor = editor; }
    // Shows the wanted identification; fields that already show it are not
    // touched, so the caret and selection stay.
    void ShowIdentity();
    void FocusField(CardField field);
    QLineEdit* FieldEdit(CardField field) const;

private:
    void BindField(QLineEdit* edit, CardField field);

    CAdapterEditor* m_Editor = nullptr;
};
