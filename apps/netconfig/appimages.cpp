#include "appimages.h"

#include <QFile>
#include <QGuiApplication>
#include <QIconEngine>

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

// Qt's own icon of the files, which decodes all of them when built.
QIcon FileIcon(const QString& name)
{
    QIcon icon;
    for (int scale = 1; scale <= 3; ++scale)
        icon.addFile(ImagePath(name, scale), QSize(16, 16) * scale);
    return icon;
}

// Stands for the file icon and builds it only when something is drawn or
// measured: a console run, which shows nothing, decodes no picture. Every
// answer is the file icon's own, asked at the same device-pixel size.
class CLazyIconEngine : public QIconEngine
{
public:
    explicit CLazyIconEngine(const QString& name)
        : m_Name(name)
    {}

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return pixmap(size, mode, state).size();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().pixmap(size, 1.0, mode, state);
    }

    // size is in device pixels here; the file icon wants it logical.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return scale > 1.0 ? Icon().pixmap(size / scale, scale, mode, state) : pixmap(size, mode, state);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().availableSizes(mode, state);
    }

    QIconEngine* clone() const override { return new CLazyIconEngine(*this); }
    QString key() const override { return QStringLiteral("CLazyIconEngine"); }
    bool isNull() override { return false; }

private:
    const QIcon& Icon()
    {
        if (m_Icon.isNull())
            m_Icon = FileIcon(m_Name);
        return m_Icon;
    }

    QString m_Name;
    QIcon m_Icon;
};

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
    if (!qGuiApp || !QFile::exists(ImagePath(name, 1)))
        return QIcon();
    return QIcon(new CLazyIconEngine(name));
}
