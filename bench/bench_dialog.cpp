// The memory benchmark's measured program: the real process entry in
// dialog mode, with the dialog closed as soon as it has been shown and
// painted, so that a run shows the peak memory of opening and closing it.
#include "entry.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdlib>

namespace {

bool AllShownWindowsExposed()
{
    const QWidgetList widgets = QApplication::topLevelWidgets();
    for (QWidget* w : widgets)
        if (w->isVisible() && (!w->windowHandle() || !w->windowHandle()->isExposed()))
            return false;
    return true;
}

void CloseWhenShown()
{
    for (int i = 0; i < 200 && !AllShownWindowsExposed(); ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    QApplication::processEvents();
    const QWidgetList widgets = QApplication::topLevelWidgets();
    for (QWidget* w : widgets)
        if (w->isVisible())
            w->close();
}

// Runs inside the entry's QApplication constructor; the timer fires once
// the entry has shown the dialog and entered the event loop.
void ArmCloseTimer()
{
    QTimer::singleShot(0, &CloseWhenShown);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(ArmCloseTimer)

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return NetConfigMain(argc, argv);
}
