#pragma once

// Helpers for the utilities page tests: stand-in console programs found in
// an emulated system folder, and waiting for the page to return to idle.

#include "netconfigimpl.h"

#include <QFile>
#include <QtTest>

// Sets an environment variable for its lifetime.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : m_Name(name), m_Old(qgetenv(name)), m_Had(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (m_Had)
            qputenv(m_Name, m_Old);
        else
            qunsetenv(m_Name);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_Name;
    QByteArray m_Old;
    bool m_Had;
};

// Writes an executable shell script `name` into dir.
inline bool WriteProgram(const QString& dir, const QString& name, const QByteArray& body)
{
    QFile file(dir + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.write("#!/bin/sh\n" + body + "\n");
    file.close();
    return file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

inline void SetTarget(CNetConfigImpl& dialog, const QString& target)
{
    dialog.editUtilityTarget->setText(target);
}

// True once the page is idle again after a run.
inline bool IsIdle(const CNetConfigImpl& dialog)
{
    return dialog.btnStartUtility->text() == QStringLiteral("&Start") && dialog.comboUtility->isEnabled();
}

inline QString PaneText(const CNetConfigImpl& dialog)
{
    return dialog.editUtilityOutput->toPlainText();
}

// Foreground colour of the character at the first occurrence of text.
inline QColor ColorOf(const CNetConfigImpl& dialog, const QString& text)
{
    const QTextDocument* document = dialog.editUtilityOutput->document();
    const QTextCursor found = document->find(text);
    if (found.isNull())
        return QColor();
    QTextCursor cursor(const_cast<QTextDocument*>(document));
    cursor.setPosition(found.selectionStart() + 1);
    return cursor.charFormat().foreground().color();
}
