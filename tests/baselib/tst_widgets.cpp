// The base library's widgets as drawn and driven: the tab bar, the line
// edit's hint, the error box's test seam and the map-drive dialog on the
// emulated host.
#include "lineedit.h"
#include "mapdrivedriver.h"
#include "msgboxrecorder.h"
#include "tabbarex.h"
#include "testenv.h"

#include <winsys.h>
#include <winsys/hive.h>
#include <winsys/host.h>

#include <QHBoxLayout>
#include <QStyleOptionFrame>
#include <QtTest>

namespace {

void SetLocalDrives(const QStringList& letters)
{
    std::vector<std::string> drives;
    for (const QString& d : letters)
        drives.push_back(d.toStdString());
    winsys::ModifyHive([&](winsys::Hive& h) {
        h.SetMultiString(winsys::keys::kEmulatedHost, "LocalDrives", drives);
        return 0u;
    });
}

QStringList LettersExcept(const QString& taken)
{
    QStringList letters;
    for (char16_t c = u'A'; c <= u'Z'; ++c)
        if (!taken.contains(QChar(c)))
            letters << QString(QChar(c)) + u':';
    return letters;
}

// "local=remote" for each connection the system lists.
QStringList Connections()
{
    LPBYTE buffer = nullptr;
    DWORD read = 0, total = 0, resume = 0;
    if (NetUseEnum(nullptr, 0, &buffer, MAX_PREFERRED_LENGTH, &read, &total, &resume) != NERR_Success)
        return {QStringLiteral("unreadable")};
    QStringList list;
    for (const USE_INFO_0* entry = reinterpret_cast<const USE_INFO_0*>(buffer); read--; ++entry)
        list << QString::fromUtf16(reinterpret_cast<const char16_t*>(entry->ui0_local)) + u'=' +
                    QString::fromUtf16(reinterpret_cast<const char16_t*>(entry->ui0_remote));
    NetApiBufferFree(buffer);
    return list;
}

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

class TestWidgets : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        QVERIFY(m_Env->initSampleHost());
        m_Boxes.texts().clear();
    }
    void cleanup() { m_Env.reset(); }

    // Each tab as wide as its icon and title, as on Windows, also on a bar
    // wider than they need (the German dialog's): a stretched tab keeps its
    // icon at the edge and centres the title, so the gap differs per tab.
    void tabsAreNotStretched()
    {
        QPixmap icon(16, 16);
        icon.fill(Qt::red);
        CTabBarEx bar;
        for (const char* title : {"Netzwerkadapter", "Netzlaufwerke", "Identifikation", "Dienste"}) {
            auto* tab = new CTab(QString::fromLatin1(title));
            tab->setIconSet(QIcon(icon));
            bar.addTab(tab);
        }
        const int needed = bar.sizeHint().width();
        bar.resize(needed + 200, bar.sizeHint().height());
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QVERIFY2(bar.tabRect(bar.count() - 1).right() < needed, qPrintable(QString::number(needed)));
    }

    // The hint is never cut short by a layout that gives the field its
    // preferred width, as the utilities page's target field has it, even when
    // the text and a larger font come after the field is shown (tst_layout
    // checks every window's hints as they open, in English and German).
    void lineEditHintFitsLateChanges()
    {
        QWidget page;
        auto* layout = new QHBoxLayout(&page);
        auto* edit = new CLineEdit(&page, "editUtilityTarget");
        edit->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        layout->addWidget(edit);
        layout->addStretch();
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        const QString hint = QStringLiteral("IP-Adresse oder Hostnamen eingeben");
        edit->setHintText(hint);
        QFont font = edit->font();
        font.setPointSize(20);
        edit->setFont(font);
        page.resize(page.sizeHint().expandedTo(QSize(2 * page.sizeHint().width(), 0)));
        QTRY_COMPARE(ShownHint(edit), hint);
        // An empty field still asks for no less than a plain line edit.
        QVERIFY(edit->sizeHint().width() >= QLineEdit().sizeHint().width());
    }

    // Neither the machine's own drives nor letters in use; the highest free
    // letter is proposed, and a connection without a letter is offered last.
    void mapDriveOffersFreeLetters_data()
    {
        QTest::addColumn<QString>("taken");
        QTest::addColumn<QStringList>("localDrives");
        QTest::addColumn<QString>("proposed");
        QTest::newRow("C: even when not declared, and the mapped Z:") << "CZ" << QStringList() << "Y:";
        QTest::newRow("local Y:") << "CYZ" << QStringList{"Y:"} << "X:";
        // The deviceless connection is still there.
        QTest::newRow("every letter in use") << "ABCDEFGHIJKLMNOPQRSTUVWXYZ" << LettersExcept(QString()) << "(none)";
    }
    void mapDriveOffersFreeLetters()
    {
        QFETCH(QStringList, localDrives);
        QFETCH(QString, taken);
        SetLocalDrives(localDrives);
        CMapDriveDialog dialog;
        QStringList offered;
        for (int i = 0; i < dialog.driveCombo()->count(); ++i)
            offered << dialog.driveCombo()->itemText(i);
        QCOMPARE(offered, LettersExcept(taken) << QStringLiteral("(none)"));
        QTEST(dialog.driveCombo()->currentText(), "proposed");
    }

    // Without a letter the folder is connected by its path, and the system
    // would not remember it, so reconnecting is not offered.
    void mapDriveDeviceless()
    {
        bool reconnectOffered = true;
        WhenMapDriveDialogShown([&](CMapDriveDialog* dialog) {
            const int none = dialog->driveCombo()->findText(QStringLiteral("(none)"));
            if (none < 0)
                return dialog->reject();
            dialog->driveCombo()->setCurrentIndex(none);
            reconnectOffered = dialog->reconnectBox()->isEnabled();
            dialog->folderEdit()->setText(QStringLiteral("\\\\fileserver\\home\\"));
            dialog->reconnectBox()->setChecked(true);
            dialog->finishButton()->click();
        });
        QCOMPARE(MapNetworkDrive(nullptr, 0), 0);
        QVERIFY(!reconnectOffered);
        QCOMPARE(m_Boxes.texts(), QStringList());
        QCOMPARE(Connections(),
                 (QStringList{"Z:=\\\\fileserver\\public", "=\\\\fileserver\\scans", "=\\\\fileserver\\home"}));
    }

private:
    std::unique_ptr<TestEnv> m_Env;
    MsgBoxRecorder m_Boxes;
};

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
