#pragma once

// The library's label.

#include <QLabel>

class CLabelEx : public QLabel
{
    Q_OBJECT
public:
    CLabelEx(QWidget* parent = nullptr, const char* name = nullptr);
    CLabelEx(const QString& text, QWidget* parent = nullptr, const char* name = nullptr);
};
