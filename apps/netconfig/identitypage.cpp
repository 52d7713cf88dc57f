#include "identitypage.h"

#include "validation.h"

#include <QRegularExpression>
#include <QRegularExpressionValidator>

CIdentityPage::CIdentityPage(QWidget* parent) : QWidget(parent)
{
    setupUi(this);
    // Names that end up in the registry and in command lines must not carry
    // file-system or shell metacharacters.
    auto* nameValidator =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^\\\\/:\\*?\"<>\\|]+")), this);
    ledHostName->setValidator(nameValidator);
    ledDomain->setValidator(nameValidator);
    ledDNSSuffix->setValidator(nameValidator);

    BindField(ledHostName, CardField::ComputerName);
    BindField(ledDomain, CardField::Workgroup);
    BindField(ledDNSSuffix, CardField::DNSSuffix);
}

void CIdentityPage::BindField(QLineEdit* edit, CardField field)
{
    connect(edit, &QLineEdit::textEdited, this, [this, field](const QString& text) {
        if (m_Editor)
            m_Editor->EditIdentity(field, text);
    });
}

void CIdentityPage::ShowIdentity()
{
    for (CardField field : {CardField::ComputerName, CardField::Workgroup, CardField::DNSSuffix}) {
        QLineEdit* edit = FieldEdit(field);
        const QString text = IdentityText(m_Editor->Wanted(), field);
        if (edit->text() != text)
            edit->setText(text);
    }
}

QLineEdit* CIdentityPage::FieldEdit(CardField field) const
{
    switch (field) {
    case CardField::ComputerName:
        return ledHostName;
    case CardField::Workgroup:
        return ledDomain;
    case CardField::DNSSuffix:
        return ledDNSSuffix;
    default:
        return nullptr;
    }
}

void CIdentityPage::FocusField(CardField field)
{
    if (QLineEdit* edit = FieldEdit(field)) {
        edit->setFocus();
        edit->selectAll();
    }
}
