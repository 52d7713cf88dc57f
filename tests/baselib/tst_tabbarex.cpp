// The tab bar as drawn: icon and title stay together on every tab.
#include "tabbarex.h"

#include <QImage>
#include <QPixmap>
#include <QtTest>

#include <algorithm>

namespace {

const QColor kIconColor(255, 0, 0);

bool IsIcon(QRgb pixel)
{
    return qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
}

bool IsInk(QRgb pixel)
{
    return !IsIcon(pixel) && qGray(pixel) < 140;
}

// Pixels between the icon's right edge and the first stroke of the title,
// or -1 when either cannot be found in the tab's rectangle.
int IconTextGap(const QImage& image, const QRect& tab)
{
    int iconRight = -1;
    for (int x = tab.left(); x <= tab.right(); ++x)
        for (int y = tab.top(); y <= tab.bottom(); ++y)
            if (IsIcon(image.pixel(x, y)))
                iconRight = x;
    if (iconRight < 0)
        return -1;
    // Only the middle rows: the tab's frame lines are dark too.
    for (int x = iconRight + 1; x < tab.right() - 2; ++x)
        for (int y = tab.top() + tab.height() / 4; y < tab.bottom() - tab.height() / 4; ++y)
            if (IsInk(image.pixel(x, y)))
                return x - iconRight - 1;
    return -1;
}

QString Text(const QList<int>& gaps)
{
    QStringList parts;
    for (const int gap : gaps)
        parts << QString::number(gap);
    return QStringLiteral("gaps ") + parts.join(QLatin1Char(' '));
}

} // namespace

class TestTabBarEx : public QObject
{
    Q_OBJECT

private slots:
    // Titles of different lengths on a bar wider than they need, as the
    // German dialog has them.
    void iconAndTitleStayTogether()
    {
        QPixmap icon(16, 16);
        icon.fill(kIconColor);
        QWidget window;
        CTabBarEx bar(&window);
        for (const char* title : {"Netzwerkadapter", "Netzlaufwerke", "Identifikation", "Dienste"}) {
            auto* tab = new CTab(QString::fromLatin1(title));
            tab->setIconSet(QIcon(icon));
            bar.addTab(tab);
        }
        bar.resize(bar.sizeHint().width() + 200, bar.sizeHint().height());
        window.resize(bar.size());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QImage image = bar.grab().toImage();
        const qreal scale = image.devicePixelRatio();
        QList<int> gaps;
        for (int i = 0; i < bar.count(); ++i) {
            const QRect rect = bar.tabRect(i);
            gaps << IconTextGap(image, QRect(rect.topLeft() * scale, rect.size() * scale));
        }
        QVERIFY2(!gaps.contains(-1), qPrintable(Text(gaps)));
        const auto [least, most] = std::minmax_element(gaps.cbegin(), gaps.cend());
        QVERIFY2(*most - *least <= 2, qPrintable(Text(gaps)));
        // The titles are not pushed apart from their icons either.
        QVERIFY2(*most <= 12, qPrintable(Text(gaps)));
    }
};

QTEST_MAIN(TestTabBarEx)
#include "tst_tabbarex.moc"
