#pragma once

// The error box. Without a screen (offscreen/minimal platform or no GUI
// application) it writes one line to standard error instead of blocking.

#include <QString>
#include <QStringList>

class QWidget;

int QuarvelMsgBox(QWidget* parent, const QString& text, const QString& text2 = QString(),
                  const QString& caption = QString(), const QString& details = QString(),
                  unsigned type = 1, unsigned buttons = 258, int def = 0, int esc = 0,
                  const char* help = nullptr, unsigned flags = 0);

// Test seam: while a list is installed, each box appends its text to it
// (+ "\n" + text2 when text2 is not empty); without one nothing is kept.
// Returns the list installed before, so that a recorder can put it back.
QStringList* SetQuarvelMsgBoxRecorder(QStringList* texts);

// True when message boxes cannot be shown (no screen).
bool QuarvelMsgBoxHeadless();
