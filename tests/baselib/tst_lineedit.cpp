// CLineEdit's hint text is never cut short by a layout that gives the field
// its preferred width, as the utilities page's target field has it.
#include "lineedit.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QtTest>

namespace {

// What QLineEdit draws of its placeholder: it elides the text to the
// contents rectangle less the text margins, a blank of 2 on either side and
// the glyphs' left overhang.
QString ShownHint(CLineEdit* edit)
{
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = edit->rect();
    option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
    option.features = QStyleOptionFrame::None;
    const QRect contents =
        edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit).marginsRemoved(edit->textMargins());
    const QFontMetrics metrics = edit->fontMetrics();
    const int room = contents.width() - 4 - qMax(0, -metrics.minLeftBearing());
    return metrics.elidedText(edit->placeholderText(), Qt::ElideRight, room);
}

} // namespace

class TestLineEdit : public QObject
{
    Q_OBJECT

private slots:
    void hintFits_data()
    {
        QTest::addColumn<QString>("hint");
        QTest::addColumn<int>("pointSize"); // 0: the default font
        QTest::newRow("English") << "Enter IP address or host name" << 0;
        QTest::newRow("German") << "IP-Adresse oder Hostnamen eingeben" << 0;
        QTest::newRow("German, large font") << "IP-Adresse oder Hostnamen eingeben" << 20;
        QTest::newRow("short") << "Name" << 0;
    }

    void hintFits()
    {
        QFETCH(QString, hint);
        QFETCH(int, pointSize);
        QWidget page;
        auto* layout = new QHBoxLayout(&page);
        auto* edit = new CLineEdit(&page, "editUtilityTarget");
        edit->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        layout->addWidget(edit);
        layout->addStretch();
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        // Set after showing, as a translation or a font change comes late.
        edit->setHintText(hint);
        if (pointSize > 0) {
            QFont font = edit->font();
            font.setPointSize(pointSize);
            edit->setFont(font);
        }
        page.resize(page.sizeHint().expandedTo(QSize(2 * page.sizeHint().width(), 0)));
        QTRY_COMPARE(ShownHint(edit), hint);
        // An empty field still asks for no less than a plain line edit.
        QVERIFY(edit->sizeHint().width() >= QLineEdit().sizeHint().width());
    }
};

QTEST_MAIN(TestLineEdit)
#include "tst_lineedit.moc"
