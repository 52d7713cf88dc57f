#pragma once

#include <QDialog>
#include <QTimer>

#include "ui_keepdialog.h"

// "Keep these network settings? Reverting in N seconds": a change that may
// have cut the user off is kept only when somebody who can still reach the
// dialog says so; Revert, Esc or no answer in time reverts it.
class CKeepDialog : public QDialog, public Ui::CKeepDialog
{
    Q_OBJECT

public:
    CKeepDialog(QWidget* parent, int seconds);

    // True when the user keeps the settings.
    static bool Ask(QWidget* parent, int seconds);

private:
    void Tick();
    void ShowRemaining();

    QTimer m_Timer;
    int m_Remaining;
};
