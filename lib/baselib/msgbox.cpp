#include "msgbox.h"

#include <QGuiApplication>
#include <QMessageBox>

#include <cstdio>
#include <utility>

namespace {
QMessageBox::Icon IconForType(unsigned type)
{
    switch (type) {
    case 2:
        return QMessageBox::Warning;
    case 3:
        return QMessageBox::Information;
    case 4:
        return QMessageBox::Question;
    default:
        return QMessageBox::Critical;
    }
}

QString OneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text.trimmed(); // system texts end in "\r\n"
}

// Only a test installs one; the shipped program keeps no texts.
QStringList* s_Recorder = nullptr;
} // namespace

QStringList* SetQuarvelMsgBoxRecorder(QStringList* texts)
{
    return std::exchange(s_Recorder, texts);
}

bool QuarvelMsgBoxHeadless()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return true;
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

// type 1 is the error box; buttons, def, esc, help and flags are accepted for
// compatibility: every box of the system has a single OK button.
int QuarvelMsgBox(QWidget* parent, const QString& text, const QString& text2, const QString& caption,
                  const QString& details, unsigned type, unsigned buttons, int def, int esc, const char* help,
                  unsigned flags)
{
    Q_UNUSED(buttons)
    Q_UNUSED(def)
    Q_UNUSED(esc)
    Q_UNUSED(help)
    Q_UNUSED(flags)
    if (s_Recorder)
        s_Recorder->append(text2.isEmpty() ? text : text + QLatin1Char('\n') + text2);

    if (QuarvelMsgBoxHeadless()) {
        // Console and test runs must never wait for a click nobody can make.
        QString line = QStringLiteral("netconfig: ") + OneLine(text);
        if (!text2.isEmpty())
            line += QLatin1Char(' ') + OneLine(text2);
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
        std::fflush(stderr);
        return QMessageBox::Ok;
    }

    QMessageBox box(IconForType(type),
                    caption.isEmpty() ? QGuiApplication::applicationDisplayName() : caption, text,
                    QMessageBox::Ok, parent);
    if (!text2.isEmpty())
        box.setInformativeText(text2);
    if (!details.isEmpty())
        box.setDetailedText(details);
    return box.exec();
}
