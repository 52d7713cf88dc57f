#include "lineedit.h"

CLineEdit::CLineEdit(QWidget* parent, const char* name)
    : QLineEdit(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
}

QString CLineEdit::hintText() const
{
    return placeholderText();
}

void CLineEdit::setHintText(const QString& text)
{
    setPlaceholderText(text);
}
