#include "waitcursor.h"

#include <QCursor>
#include <QGuiApplication>

CWaitCursor::CWaitCursor()
    : m_Active(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr)
{
    if (m_Active)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

CWaitCursor::~CWaitCursor()
{
    // The application may have gone while the cursor was up.
    if (m_Active && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QGuiApplication::restoreOverrideCursor();
}
