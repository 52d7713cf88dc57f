#include "labelex.h"

CLabelEx::CLabelEx(QWidget* parent, const char* name)
    : QLabel(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
}

CLabelEx::CLabelEx(const QString& text, QWidget* parent, const char* name)
    : CLabelEx(parent, name)
{
    setText(text);
}
