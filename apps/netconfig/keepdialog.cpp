#include "keepdialog.h"

CKeepDialog::CKeepDialog(QWidget* parent, int seconds) : QDialog(parent), m_Remaining(seconds)
{
    setupUi(this);
    connect(btnKeep, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnRevert, &QPushButton::clicked, this, &QDialog::reject);
    connect(&m_Timer, &QTimer::timeout, this, &CKeepDialog::Tick);
    m_Timer.start(1000);
    ShowRemaining();
}

void CKeepDialog::Tick()
{
    if (--m_Remaining <= 0) {
        m_Timer.stop();
        reject();
        return;
    }
    ShowRemaining();
}

void CKeepDialog::ShowRemaining()
{
    lbCountdown->setText(tr("Keep these network settings? Reverting in %1 seconds").arg(m_Remaining));
}

bool CKeepDialog::Ask(QWidget* parent, int seconds)
{
    CKeepDialog dialog(parent, seconds);
    return dialog.exec() == QDialog::Accepted;
}
