#pragma once

// Drives the modal map-drive dialog from a test: the action runs once the
// dialog is on screen, inside its own event loop.
#include "mapdrive.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>

// Polls for the dialog (for a few seconds at most) and hands it to action.
inline void WhenMapDriveDialogShown(const std::function<void(CMapDriveDialog*)>& action)
{
    auto* timer = new QTimer;
    auto attempts = std::make_shared<int>(500);
    QObject::connect(timer, &QTimer::timeout, [timer, attempts, action] {
        CMapDriveDialog* dialog = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<CMapDriveDialog*>(widget); d && d->isVisible())
                dialog = d;
        if (!dialog && --*attempts > 0)
            return;
        timer->stop();
        timer->deleteLater();
        if (dialog)
            action(dialog);
    });
    timer->start(10);
}
