// The lazily decoded icons must match Qt's own icon loaded from the same files.
#include "appimages.h"

#include <QtTest>

class TestAppImages : public QObject
{
    Q_OBJECT

private slots:
    void matchesFileIcon_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"networks_small", "vendor_net_small", "shared_small", "domain_small"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    // Exact resolutions, between them, below the smallest and beyond the largest.
    void matchesFileIcon()
    {
        QFETCH(QString, name);
        const QIcon icon = AppIcon(name);
        QIcon reference;
        for (int scale = 1; scale <= 3; ++scale) {
            const QString suffix = scale > 1 ? QStringLiteral("@%1x").arg(scale) : QString();
            reference.addFile(QStringLiteral(":/images/%1%2.png").arg(name, suffix), QSize(16, 16) * scale);
        }
        QCOMPARE(icon.availableSizes(), reference.availableSizes());
        for (const QSize size : {QSize(16, 16), QSize(20, 20), QSize(12, 12), QSize(64, 64)}) {
            QCOMPARE(icon.actualSize(size), reference.actualSize(size));
            for (const qreal ratio : {1.0, 1.5, 3.0})
                for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled})
                    QCOMPARE(icon.pixmap(size, ratio, mode).toImage(), reference.pixmap(size, ratio, mode).toImage());
        }
        // A disabled icon must look different, or the mode was ignored.
        QVERIFY(icon.pixmap(16, QIcon::Disabled).toImage() != icon.pixmap(16).toImage());
        QVERIFY(AppIcon(name + QStringLiteral("_missing")).isNull());
    }
};

QTEST_MAIN(TestAppImages)
#include "tst_appimages.moc"
