#pragma once

// Line edit with a "HintText" property shown as the placeholder text.

#include <QLineEdit>

class CLineEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(QString HintText READ hintText WRITE setHintText)
public:
    CLineEdit(QWidget* parent = nullptr, const char* name = nullptr);

    QString hintText() const;
    void setHintText(const QString& text);
};
