#pragma once

// Line edit with a "HintText" property shown as the placeholder text. Its
// size hint is wide enough for the whole hint, so that a layout that gives
// the field its preferred width never cuts the hint short.

#include <QLineEdit>

class CLineEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(QString HintText READ hintText WRITE setHintText)
public:
    CLineEdit(QWidget* parent = nullptr, const char* name = nullptr);

    QString hintText() const;
    void setHintText(const QString& text);

    QSize sizeHint() const override;
};
