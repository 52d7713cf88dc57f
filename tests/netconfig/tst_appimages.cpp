// The application's icons decode their files only when first drawn or
// measured; whatever is asked of them must still match what Qt's own icon,
// loaded from the same files up front, gives: sizes, pixels, and the
// disabled and other mode variants, at ordinary and fractional or high
// pixel ratios.
#include "appimages.h"

#include <QApplication>
#include <QPainter>
#include <QtTest>

namespace {

QIcon ReferenceIcon(const QString& name)
{
    QIcon icon;
    for (int scale = 1; scale <= 3; ++scale) {
        const QString suffix = scale > 1 ? QStringLiteral("@%1x").arg(scale) : QString();
        icon.addFile(QStringLiteral(":/images/") + name + suffix + QStringLiteral(".png"), QSize(16, 16) * scale);
    }
    return icon;
}

QImage Painted(const QIcon& icon, const QSize& size, qreal ratio, QIcon::Mode mode)
{
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    icon.paint(&painter, QRect(QPoint(0, 0), size), Qt::AlignCenter, mode);
    return image;
}

} // namespace

class TestAppImages : public QObject
{
    Q_OBJECT

private slots:
    void matchesFileIcon_data();
    void matchesFileIcon();
    void unknownName();
};

void TestAppImages::matchesFileIcon_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("extent");
    QTest::addColumn<qreal>("ratio");
    const QStringList names = {"networks_small", "vendor_net_small", "shared_small", "domain_small"};
    for (const QString& name : names) {
        // Exact resolutions, sizes between them (scaled down from the next
        // one up), below the smallest and beyond the largest.
        for (int extent : {16, 32, 48, 12, 20, 40, 64}) {
            for (qreal ratio : {1.0, 1.5, 1.75, 2.0, 3.0}) {
                const QByteArray row = QStringLiteral("%1 %2px x%3").arg(name).arg(extent).arg(ratio).toUtf8();
                QTest::newRow(row.constData()) << name << extent << ratio;
            }
        }
    }
}

void TestAppImages::matchesFileIcon()
{
    QFETCH(QString, name);
    QFETCH(int, extent);
    QFETCH(qreal, ratio);
    const QIcon icon = AppIcon(name);
    const QIcon reference = ReferenceIcon(name);
    QVERIFY(!icon.isNull());
    QVERIFY(!reference.isNull());
    QCOMPARE(icon.availableSizes(), reference.availableSizes());
    QCOMPARE(icon.availableSizes(QIcon::Disabled), reference.availableSizes(QIcon::Disabled));
    const QSize size(extent, extent);
    QCOMPARE(icon.actualSize(size), reference.actualSize(size));
    for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected}) {
        const QPixmap got = icon.pixmap(size, ratio, mode);
        const QPixmap want = reference.pixmap(size, ratio, mode);
        QCOMPARE(got.size(), want.size());
        QCOMPARE(got.devicePixelRatio(), want.devicePixelRatio());
        QCOMPARE(got.toImage(), want.toImage());
        QCOMPARE(Painted(icon, size, ratio, mode), Painted(reference, size, ratio, mode));
    }
    // A disabled icon must look different, or the mode was ignored.
    QVERIFY(icon.pixmap(size, ratio, QIcon::Disabled).toImage() != icon.pixmap(size, ratio).toImage());
}

void TestAppImages::unknownName()
{
    QVERIFY(AppIcon(QStringLiteral("no_such_image")).isNull());
    QVERIFY(AppImage(QStringLiteral("no_such_image")).isNull());
    QVERIFY(!AppImage(QStringLiteral("networks_small")).isNull());
}

QTEST_MAIN(TestAppImages)
#include "tst_appimages.moc"
