#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The application's image collection: "networks_small", "vendor_net_small",
// "shared_small" and "domain_small". AppImage gives the picture drawn for
// the screen's pixel ratio (16 logical pixels); a null pixmap for an
// unknown name or when no GUI application exists.
QPixmap AppImage(const QString& name);

// The same picture with every resolution shipped, for window and tab icons;
// the files are decoded only once the icon is first drawn or measured.
QIcon AppIcon(const QString& name);
