// Every window opens at least at its minimum size hint and shows each text
// whole: labels, buttons, tabs, header sections and hint texts, in English
// and in German.
#include "addrlistimpl.h"
#include "keepdialog.h"
#include "mapdrive.h"
#include "netconfigimpl.h"
#include "testenv.h"

#include "baselib.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QTabBar>
#include <QTextDocument>
#include <QTranslator>
#include <QTreeView>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// The text as drawn: "&x" marks a mnemonic, "&&" is one ampersand.
QString Shown(QString text, bool mnemonic = true)
{
    if (!mnemonic)
        return text;
    text.replace(QLatin1String("&&"), QString(QChar(1)));
    text.remove(QLatin1Char('&'));
    return text.replace(QChar(1), QLatin1Char('&'));
}

int WidestLine(const QFontMetrics& metrics, const QString& text)
{
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = qMax(widest, metrics.horizontalAdvance(line));
    return widest;
}

QString Name(const QWidget* widget)
{
    return QString::fromLatin1(widget->metaObject()->className()) + u' ' + widget->objectName();
}

void Need(QStringList* problems, const QWidget* widget, const QString& what, int needed, int room)
{
    if (needed > room)
        *problems << QStringLiteral("%1: %2 needs %3 px, has %4").arg(Name(widget), what).arg(needed).arg(room);
}

void CheckLabel(const QLabel* label, QStringList* problems)
{
    if (label->text().isEmpty() || label->wordWrap())
        return;
    QString text = label->text();
    if (label->textFormat() == Qt::RichText || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text))) {
        QTextDocument document;
        document.setHtml(text);
        text = document.toPlainText();
    } else {
        // A label draws "&" as a mnemonic only when it has a buddy.
        text = Shown(text, label->buddy() != nullptr);
    }
    const QMargins margins = label->contentsMargins();
    const int room = label->width() - margins.left() - margins.right() - 2 * label->margin() - qMax(0, label->indent());
    Need(problems, label, QStringLiteral("text \"%1\"").arg(text), WidestLine(label->fontMetrics(), text), room);
    Need(problems, label, QStringLiteral("height"), label->fontMetrics().height(), label->height());
}

// The room that the style leaves a button's text and icon.
void CheckButton(QAbstractButton* button, QStringList* problems)
{
    if (button->text().isEmpty())
        return;
    QStyleOptionButton option;
    option.initFrom(button);
    option.rect = button->rect();
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<QCheckBox*>(button)) {
        contents = QStyle::SE_CheckBoxContents;
    } else if (qobject_cast<QRadioButton*>(button)) {
        contents = QStyle::SE_RadioButtonContents;
    } else if (auto* push = qobject_cast<QPushButton*>(button)) {
        if (push->autoDefault() || push->isDefault())
            option.features |= QStyleOptionButton::AutoDefaultButton;
    }
    const QRect room = button->style()->subElementRect(contents, &option, button);
    const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
    const QString text = Shown(button->text());
    Need(problems, button, QStringLiteral("text \"%1\"").arg(text),
         button->fontMetrics().horizontalAdvance(text) + icon, room.width());
    const QSize least = button->minimumSizeHint().isValid() ? button->minimumSizeHint() : button->sizeHint();
    Need(problems, button, QStringLiteral("height"), least.height(), button->height());
}

// What QLineEdit draws of its hint: the contents rectangle less the text
// margins, a blank of 2 on either side and the glyphs' left overhang.
void CheckLineEdit(const QLineEdit* edit, QStringList* problems)
{
    // A spin box's or combo box's own field is sized by its owner.
    if (qobject_cast<QAbstractSpinBox*>(edit->parentWidget()) || qobject_cast<QComboBox*>(edit->parentWidget()))
        return;
    Need(problems, edit, QStringLiteral("height"), edit->minimumSizeHint().height(), edit->height());
    if (edit->placeholderText().isEmpty())
        return;
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = edit->rect();
    option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
    const QRect contents =
        edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit).marginsRemoved(edit->textMargins());
    const QFontMetrics metrics = edit->fontMetrics();
    Need(problems, edit, QStringLiteral("hint \"%1\"").arg(edit->placeholderText()),
         metrics.horizontalAdvance(edit->placeholderText()) + qMax(0, -metrics.minLeftBearing()), contents.width() - 4);
}

void CheckTabs(const QTabBar* bar, QStringList* problems)
{
    for (int i = 0; i < bar->count(); ++i) {
        const QRect tab = bar->tabRect(i);
        const int icon = bar->tabIcon(i).isNull() ? 0 : bar->iconSize().width();
        const QString text = Shown(bar->tabText(i));
        Need(problems, bar, QStringLiteral("tab \"%1\"").arg(text), bar->fontMetrics().horizontalAdvance(text) + icon,
             tab.width());
        Need(problems, bar, QStringLiteral("tab \"%1\" in the bar").arg(text), tab.right() + 1, bar->width());
    }
}

// Each section shows its whole title between the style's margins, and lies
// inside the view: none needs a horizontal scroll to be seen.
void CheckHeader(const QHeaderView* header, QStringList* problems)
{
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int i = 0; i < header->count(); ++i) {
        if (header->isSectionHidden(i))
            continue;
        const QString title = header->model()->headerData(i, header->orientation()).toString();
        Need(problems, header, QStringLiteral("section \"%1\"").arg(title),
             header->fontMetrics().horizontalAdvance(title) + 2 * margin, header->sectionSize(i));
        Need(problems, header, QStringLiteral("section \"%1\" in the view").arg(title),
             header->sectionViewportPosition(i) + header->sectionSize(i), header->viewport()->width());
    }
}

void CheckGroupBox(const QGroupBox* box, QStringList* problems)
{
    const QString title = Shown(box->title());
    if (!title.isEmpty())
        Need(problems, box, QStringLiteral("title \"%1\"").arg(title), box->fontMetrics().horizontalAdvance(title),
             box->contentsRect().width());
}

// Everything that the window shows now.
QStringList ClippedTexts(QWidget* window)
{
    if (window->layout())
        window->layout()->activate();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QStringList problems;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(window))
            continue;
        if (auto* label = qobject_cast<QLabel*>(widget))
            CheckLabel(label, &problems);
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            CheckButton(button, &problems);
        else if (auto* edit = qobject_cast<QLineEdit*>(widget))
            CheckLineEdit(edit, &problems);
        else if (auto* bar = qobject_cast<QTabBar*>(widget))
            CheckTabs(bar, &problems);
        else if (auto* header = qobject_cast<QHeaderView*>(widget))
            CheckHeader(header, &problems);
        else if (auto* box = qobject_cast<QGroupBox*>(widget))
            CheckGroupBox(box, &problems);
    }
    return problems;
}

QString OpeningSizeProblem(const QWidget* window)
{
    const QSize hint = window->minimumSizeHint();
    if (window->size().expandedTo(hint) == window->size())
        return QString();
    return QStringLiteral("%1 opens at %2x%3, its minimum size hint is %4x%5")
        .arg(window->objectName())
        .arg(window->width())
        .arg(window->height())
        .arg(hint.width())
        .arg(hint.height());
}

bool Show(QWidget* window)
{
    window->show();
    return QTest::qWaitForWindowExposed(window);
}

} // namespace

class TestLayout : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_Env;
    std::unique_ptr<QTranslator> m_Translator;

    void Translate()
    {
        QFETCH_GLOBAL(QString, language);
        if (language == QLatin1String("en"))
            return;
        m_Translator = std::make_unique<QTranslator>();
        QVERIFY(m_Translator->load(QStringLiteral("netconfig_") + language, GetAppSubDirectory(AppDirTranslations)));
        QCoreApplication::installTranslator(m_Translator.get());
    }

    void VerifyWhole(QWidget* window, const QString& where)
    {
        const QStringList problems = ClippedTexts(window);
        QVERIFY2(problems.isEmpty(), qPrintable(where + QStringLiteral(":\n  ") + problems.join(u"\n  ")));
    }

private slots:
    void initTestCase_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "en";
        QTest::newRow("German") << "de";
    }

    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        QVERIFY(m_Env->initSampleHost());
        Translate();
    }

    void cleanup()
    {
        if (m_Translator)
            QCoreApplication::removeTranslator(m_Translator.get());
        m_Translator.reset();
        m_Env.reset();
    }

    // Each page of the main dialog, and each option page of the utilities.
    void mainDialog()
    {
        CNetConfigImpl dialog;
        QCOMPARE(dialog.ReadConfiguration(), 0ul);
        dialog.SelectAdapter(0);
        QVERIFY(Show(&dialog));
        const QString opening = OpeningSizeProblem(&dialog);
        QVERIFY2(opening.isEmpty(), qPrintable(opening));
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
    }

    // Both columns in view without scrolling, with a list filled as the
    // adapters page fills it.
    void addressList()
    {
        CNetAddrListImpl dialog(nullptr, "NetAddrList", false);
        dialog.SetList({CIPAddress(QStringLiteral("192.168.100.254")), CIPAddress(QStringLiteral("10.0.0.1"))});
        QVERIFY(Show(&dialog));
        const QString opening = OpeningSizeProblem(&dialog);
        QVERIFY2(opening.isEmpty(), qPrintable(opening));
        QVERIFY(!dialog.chlIPList->horizontalScrollBar()->isVisible());
        VerifyWhole(&dialog, dialog.windowTitle());
    }

    void keepDialog()
    {
        CKeepDialog dialog(nullptr, 120);
        QVERIFY(Show(&dialog));
        const QString opening = OpeningSizeProblem(&dialog);
        QVERIFY2(opening.isEmpty(), qPrintable(opening));
        VerifyWhole(&dialog, dialog.windowTitle());
    }

    void mapDriveDialog()
    {
        CMapDriveDialog dialog;
        QVERIFY(Show(&dialog));
        const QString opening = OpeningSizeProblem(&dialog);
        QVERIFY2(opening.isEmpty(), qPrintable(opening));
        VerifyWhole(&dialog, dialog.windowTitle());
    }
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
