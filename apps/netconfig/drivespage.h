#pragma once

#include <QWidget>

#include "ui_drivespage.h"

// The "Network drives" page: the machine's connections as the network
// management service reports them, mapping through the base library's
// dialog and disconnecting the current row. The rows are the model.
class CDrivesPage : public QWidget, public Ui::CDrivesPage
{
    Q_OBJECT

public:
    explicit CDrivesPage(QWidget* parent = nullptr);

    // Rebuilds the list; 0, or the listing's status with the list empty.
    unsigned long RefreshConnections();
    void MapNetDrive();
    void DisconnectDrive();

signals:
    // A refused disconnect, for the system's error box.
    void systemError(unsigned long code);
};
