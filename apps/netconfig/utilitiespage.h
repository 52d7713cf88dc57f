#pragma once

#include "logtextpane.h"
#include "childprocess.h"

#include <QMap>
#include <QWidget>

#include "ui_utilitiespage.h"

// The "Network utilities" page: ping or trace route run as a child process
// whose output is decoded in the console code page and shown as it arrives.
class CUtilitiesPage : public QWidget, public Ui::CUtilitiesPage
{
    Q_OBJECT

public:
    explicit CUtilitiesPage(QWidget* parent = nullptr);

    // The console code page from "layout.ini", "850" when the file names none.
    void ReadConsoleCodepage();
    QString ConsoleCodepage() const { return m_ConsoleCodepage; }
    // Program first, then the chosen page's options, then the target.
    QStringList BuildUtilityArguments() const;

    void OnChangeUtilityTarget(const QString& text);
    void OnStartUtility();
    void OnUtilityProcessExited();
    void OnReadyStdout();
    void OnReadyStderr();
    void OnClearUtilityOutput();
    void OnOutputTextChanged();

    CProcess& Process() { return m_Process; }
    // The most lines the output keeps; older ones scroll away.
    void SetScrollbackLines(int lines) { m_ScrollbackLines = lines; }

private:
    void SetUtilityTexts();
    void SetRunning(bool running);
    void AppendOutput(const QString& html);
    void ReadChannel(bool standardError);

    QMap<QString, QString> m_CodecByCodepage;
    QString m_ConsoleCodepage;
    CProcess m_Process;
    int m_ScrollbackLines = kDefaultLogPaneLines;
};
