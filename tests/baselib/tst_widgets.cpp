#include "checklist.h"
#include "lineedit.h"
#include "tabbarex.h"
#include "waitcursor.h"

#include <QHeaderView>
#include <QPixmap>
#include <QSignalSpy>
#include <QtTest>

class TestWidgets : public QObject
{
    Q_OBJECT

private:
    static QIcon redIcon()
    {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::red);
        return QIcon(pixmap);
    }

private slots:
    void tabBarBuildsQuietly()
    {
        CTabBarEx bar(nullptr, "tbPageMain");
        QCOMPARE(bar.objectName(), QStringLiteral("tbPageMain"));
        QSignalSpy selected(&bar, &CTabBarEx::selected);
        QCOMPARE(bar.addTab(new CTab(QStringLiteral("One"))), 0);
        QCOMPARE(bar.addTab(new CTab(QStringLiteral("Two"))), 1);
        QCOMPARE(bar.addTab(new CTab(QStringLiteral("Three"))), 2);
        QCOMPARE(selected.count(), 0); // adding tabs selects no page
        QCOMPARE(bar.tab(1)->text(), QStringLiteral("Two"));
        QVERIFY(bar.tab(3) == nullptr);

        bar.tab(2)->setIconSet(redIcon());
        QVERIFY(!bar.tabIcon(2).isNull());
        QVERIFY(bar.tabIcon(1).isNull());
    }

    void tabBarSelection()
    {
        CTabBarEx bar;
        for (const char* title : {"A", "B", "C"})
            bar.addTab(new CTab(QString::fromLatin1(title)));
        QSignalSpy selected(&bar, &CTabBarEx::selected);

        bar.setCurrentTab(2);
        QCOMPARE(bar.currentIndex(), 2);
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected.last().at(0).toInt(), 2);

        // Current already: still announced, so the caller's page follows.
        bar.setCurrentTab(2);
        QCOMPARE(selected.count(), 2);
        QCOMPARE(selected.last().at(0).toInt(), 2);

        bar.setCurrentTab(7);
        QCOMPARE(selected.count(), 2);

        // A click by the user (through QTabBar) is announced too.
        bar.setCurrentIndex(0);
        QCOMPARE(selected.count(), 3);
        QCOMPARE(selected.last().at(0).toInt(), 0);
    }

    void tabBarRemoval()
    {
        CTabBarEx bar;
        for (const char* title : {"A", "B", "C"})
            bar.addTab(new CTab(QString::fromLatin1(title)));
        bar.setCurrentTab(1);
        QSignalSpy selected(&bar, &CTabBarEx::selected);

        bar.removeTab(0);
        QCOMPARE(bar.count(), 2);
        QCOMPARE(bar.tab(0)->text(), QStringLiteral("B"));
        QCOMPARE(selected.count(), 0); // the current tab stayed

        bar.removeTab(0); // the current one goes
        QCOMPARE(bar.tab(0)->text(), QStringLiteral("C"));
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected.last().at(0).toInt(), 0);

        bar.removeTab(5);
        QCOMPARE(bar.count(), 1);
        bar.removeAllTabs();
        QVERIFY(bar.tab(0) == nullptr);
        QCOMPARE(bar.addTab(new CTab(QStringLiteral("again"))), 0);
        QCOMPARE(bar.tab(0)->text(), QStringLiteral("again"));
    }

    void tabBarSide_data()
    {
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("shape");
        QTest::newRow("top") << 0 << int(QTabBar::RoundedNorth);
        QTest::newRow("bottom") << 1 << int(QTabBar::RoundedSouth);
        QTest::newRow("left") << 2 << int(QTabBar::RoundedWest);
        QTest::newRow("right") << 3 << int(QTabBar::RoundedEast);
        QTest::newRow("unknown is top") << 9 << int(QTabBar::RoundedNorth);
    }
    void tabBarSide()
    {
        QFETCH(int, side);
        QFETCH(int, shape);
        CTabBarEx bar;
        bar.setSide(3);
        bar.setSide(side);
        QCOMPARE(int(bar.shape()), shape);
    }

    void lineEditHintText()
    {
        CLineEdit edit(nullptr, "editUtilityTarget");
        QVERIFY(edit.setProperty("HintText", QStringLiteral("Enter IP address or host name")));
        QCOMPARE(edit.placeholderText(), QStringLiteral("Enter IP address or host name"));
        QCOMPARE(edit.property("HintText").toString(), QStringLiteral("Enter IP address or host name"));
        QVERIFY(edit.text().isEmpty()); // a hint, not content
    }

    void checkListColumns()
    {
        CCheckListControl list(nullptr, "chlShareList");
        QVERIFY(!list.rootIsDecorated());
        QVERIFY(list.allColumnsShowFocus());
        QCOMPARE(list.addColumn(QStringLiteral("Drive"), 50), 0);
        QCOMPARE(list.addColumn(QStringLiteral("Network path"), 250), 1);
        QCOMPARE(list.addColumn(QStringLiteral("Mask")), 2);
        QCOMPARE(list.headerItem()->text(0), QStringLiteral("Drive"));
        QCOMPARE(list.headerItem()->text(2), QStringLiteral("Mask"));
        QCOMPARE(list.columnWidth(0), 50);
        QCOMPARE(list.columnWidth(1), 250);
        QCOMPARE(list.header()->sectionResizeMode(2), QHeaderView::ResizeToContents);
    }

    void checkListRowsKeepOrder()
    {
        CCheckListControl list;
        list.addColumn(QStringLiteral("IP Address"), 150);
        list.addRow({QStringLiteral("10.0.0.9")});
        list.addRow({QStringLiteral("10.0.0.1")});
        list.addRow({QStringLiteral("Z:"), QStringLiteral("\\\\srv\\share")});
        QCOMPARE(list.rowCount(), 3);
        QCOMPARE(list.topLevelItem(1)->text(0), QStringLiteral("10.0.0.1"));
        QCOMPARE(list.topLevelItem(2)->text(1), QStringLiteral("\\\\srv\\share"));
    }

    void checkListSelectionSignal()
    {
        CCheckListControl list;
        list.addColumn(QStringLiteral("A"));
        QTreeWidgetItem* first = list.addRow({QStringLiteral("1")});
        QTreeWidgetItem* second = list.addRow({QStringLiteral("2")});
        QSignalSpy changed(&list, &CCheckListControl::selectionChanged);
        first->setSelected(true);
        QCOMPARE(changed.count(), 1);
        list.setCurrentItem(second);
        QVERIFY(changed.count() >= 2);
        QCOMPARE(list.selectedItems(), QList<QTreeWidgetItem*>{second}); // one row at a time
        const int before = changed.count();
        delete list.takeTopLevelItem(1); // removing the selected row is a change too
        QVERIFY(changed.count() > before);
    }

    void waitCursorNests()
    {
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        {
            CWaitCursor outer;
            QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
            {
                CWaitCursor inner;
            }
            QVERIFY(QGuiApplication::overrideCursor() != nullptr);
        }
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }
};

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
