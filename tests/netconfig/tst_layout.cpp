// The texts of the windows: the German catalogue is complete, found under a
// German locale and used; every window opens at least at its minimum size
// hint and shows each text whole (labels, buttons, tabs, header sections,
// group titles and hint texts), in English and in German.
#include "addrlistimpl.h"
#include "keepdialog.h"
#include "mapdrive.h"
#include "netconfigimpl.h"
#include "testenv.h"

#include "baselib.h"

#include <QAbstractSpinBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

// The text as drawn: "&x" marks a mnemonic, "&&" is one ampersand.
QString Shown(QString text)
{
    text.replace(QLatin1String("&&"), QString(QChar(1))).remove(QLatin1Char('&'));
    return text.replace(QChar(1), QLatin1Char('&'));
}

QStringList Sorted(const char* pattern, const QString& text)
{
    QStringList found;
    for (auto it = QRegularExpression(QLatin1String(pattern)).globalMatch(text); it.hasNext();)
        found << it.next().captured();
    found.sort();
    return found;
}

// Everything that the window shows now and does not have the room for.
QStringList ClippedTexts(QWidget* window)
{
    if (window->layout())
        window->layout()->activate();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QStringList problems;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(window))
            continue;
        const QFontMetrics metrics = widget->fontMetrics();
        QStyle* style = widget->style();
        auto need = [&](const QString& what, int needed, int room) {
            if (needed > room)
                problems << QStringLiteral("%1 %2: %3 needs %4 px, has %5")
                                .arg(QString::fromLatin1(widget->metaObject()->className()), widget->objectName(), what)
                                .arg(needed)
                                .arg(room);
        };
        auto* label = qobject_cast<QLabel*>(widget);
        auto* button = qobject_cast<QAbstractButton*>(widget);
        if ((label && !label->text().isEmpty() && !label->wordWrap()) || (button && !button->text().isEmpty())) {
            // Qt sizes a label or button for its text as drawn (mnemonics,
            // rich text, indicator, icon and the style's margins).
            const QString text = label ? label->text() : button->text();
            need("text \"" + text + '"', widget->sizeHint().width(), widget->width());
            need("height", widget->minimumSizeHint().height(), widget->height());
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget);
                   edit && !qobject_cast<QAbstractSpinBox*>(edit->parentWidget()) &&
                   !qobject_cast<QComboBox*>(edit->parentWidget())) { // those size their own field
            need("height", edit->minimumSizeHint().height(), edit->height());
            // What QLineEdit draws of its hint: the contents less the text
            // margins, a blank of 2 on either side and the glyphs' left overhang.
            QStyleOptionFrame option;
            option.initFrom(edit);
            option.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
            const QRect room = style->subElementRect(QStyle::SE_LineEditContents, &option, edit) - edit->textMargins();
            if (!edit->placeholderText().isEmpty())
                need("hint \"" + edit->placeholderText() + '"',
                     metrics.horizontalAdvance(edit->placeholderText()) + qMax(0, -metrics.minLeftBearing()),
                     room.width() - 4);
        } else if (auto* bar = qobject_cast<QTabBar*>(widget)) {
            for (int i = 0; i < bar->count(); ++i) {
                const QString text = Shown(bar->tabText(i));
                need("tab \"" + text + '"',
                     metrics.horizontalAdvance(text) + (bar->tabIcon(i).isNull() ? 0 : bar->iconSize().width()),
                     bar->tabRect(i).width());
                need("tab \"" + text + "\" in the bar", bar->tabRect(i).right() + 1, bar->width());
            }
        } else if (auto* header = qobject_cast<QHeaderView*>(widget)) {
            for (int i = 0; i < header->count(); ++i) {
                const QString title = header->model()->headerData(i, header->orientation()).toString();
                if (header->isSectionHidden(i))
                    continue;
                need("section \"" + title + '"', header->sectionSizeHint(i), header->sectionSize(i));
                need("section \"" + title + "\" in the view",
                     header->sectionViewportPosition(i) + header->sectionSize(i), header->viewport()->width());
            }
        } else if (auto* box = qobject_cast<QGroupBox*>(widget); box && !box->title().isEmpty()) {
            need("title \"" + box->title() + '"', box->minimumSizeHint().width(), box->width());
        }
    }
    return problems;
}

} // namespace

class TestLayout : public QObject
{
    Q_OBJECT

private:
    QList<QTranslator*> m_German; // Qt's and ours, as the program installs them

    void German(bool on)
    {
        for (QTranslator* translator : std::as_const(m_German)) {
            if (on)
                QCoreApplication::installTranslator(translator);
            else
                QCoreApplication::removeTranslator(translator);
        }
    }
    // Opens at least at its minimum size hint and shows each text whole.
    void VerifyWhole(QWidget* window, const QString& where)
    {
        if (!window->isVisible()) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            QVERIFY2(window->size().expandedTo(window->minimumSizeHint()) == window->size(),
                     qPrintable(where + " opens smaller than its minimum size hint"));
        }
        const QStringList problems = ClippedTexts(window);
        QVERIFY2(problems.isEmpty(), qPrintable(where + QStringLiteral(":\n  ") + problems.join(u"\n  ")));
    }

private slots:
    void initTestCase()
    {
        // The program's own lookup: the data folder beside build/bin.
        QTranslator* own = nullptr;
        QVERIFY2(InstallTranslator(QStringLiteral("netconfig"), nullptr, &own) && own,
                 qPrintable(GetAppSubDirectory(AppDirTranslations)));
        m_German = qApp->findChildren<QTranslator*>();
        m_German << own;
        German(false);
    }
    void cleanup() { German(false); }

    // Every message of the catalogue with its translation and its type
    // ("unfinished", "vanished"...).
    void catalogue_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("translation");
        QTest::addColumn<QString>("type");
        QFile file(QStringLiteral(NETCONFIG_SOURCE_DIR "/translations/netconfig_de.ts"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        int count = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("message"))
                continue;
            QString source, translation, type;
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("source"))
                    source = xml.readElementText();
                else if (xml.name() == QLatin1String("translation")) {
                    type = xml.attributes().value(QLatin1String("type")).toString();
                    translation = xml.readElementText();
                } else
                    xml.skipCurrentElement();
            }
            QTest::newRow(qPrintable(source.left(70))) << source << translation << type;
            ++count;
        }
        QVERIFY(!xml.hasError() && count > 100);
    }

    // A translator's slips: unfinished, a lost place marker, tag or accelerator.
    void catalogue()
    {
        QFETCH(QString, source);
        QFETCH(QString, translation);
        QFETCH(QString, type);
        QVERIFY2(type.isEmpty(), qPrintable(type));
        QVERIFY(!translation.trimmed().isEmpty());
        for (const char* pattern : {"<[^>]*>", "&[^&]"})
            QCOMPARE(Sorted(pattern, translation).count(), Sorted(pattern, source).count());
        QCOMPARE(Sorted("%\\d+", translation), Sorted("%\\d+", source));
        if (!source.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))))
            QCOMPARE(translation, source); // input masks and "..."
    }

    // Each page of the main dialog and each option page of the utilities;
    // the address list with both columns in view, filled as the adapters
    // page fills it; the question after an apply; drive mapping.
    void windows_data()
    {
        QTest::addColumn<bool>("german");
        QTest::newRow("English") << false;
        QTest::newRow("German") << true;
    }
    void windows()
    {
        QFETCH(bool, german);
        German(german);
        TestEnv env;
        QVERIFY(env.initSampleHost());
        CNetConfigImpl dialog;
        QCOMPARE(dialog.ReadConfiguration(), 0ul);
        dialog.SelectAdapter(0);
        QCOMPARE(dialog.btnApply->text(), german ? QStringLiteral("Ü&bernehmen") : QStringLiteral("&Apply"));
        for (int page = 0; page < dialog.tbPageMain->count(); ++page) {
            dialog.tbPageMain->setCurrentTab(page);
            QTRY_COMPARE(dialog.wsMain->currentIndex(), page);
            VerifyWhole(&dialog, dialog.tbPageMain->tabText(page));
        }
        QComboBox* utility = dialog.UtilitiesPage()->comboUtility;
        for (int i = 0; i < utility->count(); ++i) {
            utility->setCurrentIndex(i);
            dialog.UtilitiesPage()->wsUtilityParams->setCurrentIndex(i);
            VerifyWhole(&dialog, utility->itemText(i));
        }

        CNetAddrListImpl list(nullptr, "NetAddrList", false);
        list.SetList({CIPAddress(QStringLiteral("192.168.100.254")), CIPAddress(QStringLiteral("10.0.0.1"))});
        VerifyWhole(&list, list.windowTitle());
        CKeepDialog keep(nullptr, 120);
        VerifyWhole(&keep, keep.windowTitle());
        CMapDriveDialog map;
        VerifyWhole(&map, map.windowTitle());
    }
};

int main(int argc, char** argv)
{
    // The locale need not be installed on the machine.
    qputenv("LC_ALL", "de_DE.UTF-8");
    qputenv("LANG", "de_DE.UTF-8");
    QApplication app(argc, argv);
    TestLayout test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_layout.moc"
