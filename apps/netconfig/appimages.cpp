#include "appimages.h"

#include <QFile>
#include <QGuiApplication>

// The resource lives in a static library: nothing would pull its object
// file into the executable unless it is initialised by name (which must
// happen outside any namespace).
static void EnsureImageResource()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(netconfig);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace {

QString ImagePath(const QString& name, int scale)
{
    const QString suffix = scale > 1 ? QStringLiteral("@%1x").arg(scale) : QString();
    return QStringLiteral(":/images/") + name + suffix + QStringLiteral(".png");
}

} // namespace

QPixmap AppImage(const QString& name)
{
    EnsureImageResource();
    if (!qGuiApp || !QFile::exists(ImagePath(name, 1)))
        return QPixmap();
    const qreal ratio = qGuiApp->devicePixelRatio();
    const int scale = ratio > 2.0 ? 3 : ratio > 1.0 ? 2 : 1;
    QPixmap pixmap(ImagePath(name, scale));
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}

QIcon AppIcon(const QString& name)
{
    EnsureImageResource();
    QIcon icon;
    if (!qGuiApp || !QFile::exists(ImagePath(name, 1)))
        return icon;
    for (int scale = 1; scale <= 3; ++scale)
        icon.addFile(ImagePath(name, scale), QSize(16, 16) * scale);
    return icon;
}
