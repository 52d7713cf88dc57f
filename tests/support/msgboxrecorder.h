#pragma once

// Collects the texts of the message boxes shown while it lives (for tests
// that link the base library).

#include "msgbox.h"

#include <QStringList>

class MsgBoxRecorder
{
public:
    MsgBoxRecorder() : m_Previous(SetQuarvelMsgBoxRecorder(&m_Texts)) {}
    ~MsgBoxRecorder() { SetQuarvelMsgBoxRecorder(m_Previous); }
    MsgBoxRecorder(const MsgBoxRecorder&) = delete;
    MsgBoxRecorder& operator=(const MsgBoxRecorder&) = delete;

    // Each box's text, + "\n" + its second text when it has one.
    QStringList& texts() { return m_Texts; }

private:
    QStringList m_Texts;
    QStringList* m_Previous;
};
