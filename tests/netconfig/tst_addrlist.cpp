// The address list dialog, from the "Advanced..." buttons to the host.
#include "addrlistimpl.h"
#include "baselib.h"
#include "hoststate.h"
#include "iplist.h"
#include "msgboxrecorder.h"
#include "netconfigimpl.h"
#include "testenv.h"

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

void Add(CNetAddrListImpl* dialog, const QString& text)
{
    dialog->ledIPAddress_2->setText(text);
    dialog->btnAdd->click();
}

void DeleteRow(CNetAddrListImpl* dialog, int row)
{
    dialog->chlIPList->setCurrentItem(dialog->chlIPList->topLevelItem(row));
    dialog->btnDel->click();
}

// Edits the modal dialog once shown, then presses OK or Cancel; any other
// modal window is closed so that a test fails rather than hangs.
void WhenOpen(std::function<void(CNetAddrListImpl*)> edit, bool ok, int attempts = 500)
{
    QTimer::singleShot(10, [=] {
        if (auto* dialog = qobject_cast<CNetAddrListImpl*>(QApplication::activeModalWidget())) {
            edit(dialog);
            (ok ? dialog->buttonOk : dialog->buttonCancel)->click();
        } else if (attempts > 0)
            WhenOpen(edit, ok, attempts - 1);
        else if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
}

} // namespace

class TestAddrList : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_Env;
    std::unique_ptr<CNetConfigImpl> m_Main;
    MsgBoxRecorder m_Boxes;
    CNetworkCard& Card() { return m_Main->Adapters()[0]; }

private slots:
    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        QVERIFY(m_Env->initSampleHost());
        m_Main = std::make_unique<CNetConfigImpl>();
        QCOMPARE(m_Main->ReadConfiguration(), 0UL);
        m_Main->SelectAdapter(0);
        m_Boxes.texts().clear();
    }

    void cleanup()
    {
        m_Main.reset();
        m_Env.reset();
    }

    // The page shows the first entry; the host gets the lists in dialog order.
    // Of equal addresses, the row picked is the one deleted; a bad address is
    // refused, an incomplete one cannot be added.
    void editedListsReachTheHostInOrder()
    {
        WhenOpen(
            [](CNetAddrListImpl* dialog) {
                Add(dialog, QStringLiteral("192.168.1.254"));
                Add(dialog, QStringLiteral("192.168.1.1"));
                DeleteRow(dialog, 0);
            },
            true);
        m_Main->AdaptersPage()->btnGateways->click();
        WhenOpen(
            [](CNetAddrListImpl* dialog) {
                Add(dialog, QStringLiteral("10.0.0.1"));
                Add(dialog, QStringLiteral("010.000.000.003"));
                Add(dialog, QStringLiteral("256.1.1.1"));
                Add(dialog, QStringLiteral("10.0"));
            },
            true);
        m_Main->AdaptersPage()->btnDNSServers->click();
        QCOMPARE(m_Main->AdaptersPage()->ledGateway->text(), QStringLiteral("192.168.1.254"));
        QCOMPARE(m_Main->AdaptersPage()->ledDNSServer->text(), QStringLiteral("192.168.1.1"));

        QCOMPARE(m_Boxes.texts(), QStringList{"Ip address 256.1.1.1 is not valid."});
        m_Main->buttonOk->click();
        QCOMPARE(m_Boxes.texts().count(), 1);
        QCOMPARE(hoststate::Adapters(*m_Env).value(0),
                 QStringLiteral("dhcp=0 ip=192.168.1.5 mask=255.255.255.0 gw=192.168.1.254,192.168.1.1 "
                                "dns=192.168.1.1,10.0.0.1,10.0.0.3 wins=192.168.1.2"));
    }

    // Delete removes the entry of the row picked, also among equal addresses.
    void deleteRow_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("first of three equal") << 0 << QStringList{"10.0.0.2", "10.0.0.1", "10.0.0.3", "10.0.0.1"};
        QTest::newRow("second of three equal") << 2 << QStringList{"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.1"};
        QTest::newRow("last of three equal") << 4 << QStringList{"10.0.0.1", "10.0.0.2", "10.0.0.1", "10.0.0.3"};
        QTest::newRow("between equal ones") << 3 << QStringList{"10.0.0.1", "10.0.0.2", "10.0.0.1", "10.0.0.1"};
    }

    void deleteRow()
    {
        QFETCH(int, row);
        QFETCH(QStringList, left);
        CNetAddrListImpl dialog;
        dialog.SetList(iptest::Ips({"10.0.0.1", "10.0.0.2", "10.0.0.1", "10.0.0.3", "10.0.0.1"}));
        DeleteRow(&dialog, row);
        QCOMPARE(iptest::Texts(dialog.GetList()), left);
        QStringList rows;
        for (int i = 0; i < dialog.chlIPList->topLevelItemCount(); ++i)
            rows << dialog.chlIPList->topLevelItem(i)->text(0);
        QCOMPARE(rows, left);
    }

    // Both columns show, with no horizontal scroll bar, in English and in
    // German; the form's opening size is the least it opens at.
    void opensWideEnoughForBothColumns_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << QString();
        QTest::newRow("German") << "de";
    }

    void opensWideEnoughForBothColumns()
    {
        QFETCH(QString, language);
        QTranslator translator;
        if (!language.isEmpty()) {
            QVERIFY(translator.load(QLocale(language), QStringLiteral("netconfig"), QStringLiteral("_"),
                                    GetAppSubDirectory(AppDirTranslations)));
            QCoreApplication::installTranslator(&translator);
        }
        CNetAddrListImpl dialog(nullptr, "NetAddrList", false, {});
        QCoreApplication::removeTranslator(&translator);
        dialog.SetList({CIPAddress(QStringLiteral("192.168.100.200")), CIPAddress(QStringLiteral("10.0.0.1"))});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        QVERIFY2(dialog.width() >= 305 && dialog.height() >= 220,
                 qPrintable(QStringLiteral("%1x%2").arg(dialog.width()).arg(dialog.height())));
        QHeaderView* header = dialog.chlIPList->header();
        QTRY_VERIFY(!dialog.chlIPList->horizontalScrollBar()->isVisible());
        QVERIFY2(
            header->length() <= dialog.chlIPList->viewport()->width(),
            qPrintable(QStringLiteral("%1 > %2").arg(header->length()).arg(dialog.chlIPList->viewport()->width())));
        // The mask column is at least as wide as its title.
        QVERIFY(header->sectionSize(1) >= header->sectionSizeHint(1));
        QVERIFY(dialog.chlIPList->visualItemRect(dialog.chlIPList->topLevelItem(0)).width() >= 150);
        // Only the opening size: the user may still make it smaller.
        QVERIFY(dialog.minimumSizeHint().width() < dialog.width());
    }

    // Enter in the address field goes to OK; a valid address not yet in the
    // list is added first, anything else is left out as before.
    void enterAddsTheTypedAddress_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<bool>("addable"); // Add is offered for any nonzero address
        QTest::newRow("new address") << "10.1.2.3" << QStringList{"192.168.1.1", "10.1.2.3"} << true;
        QTest::newRow("leading zeros") << "010.001.002.003" << QStringList{"192.168.1.1", "10.1.2.3"} << true;
        QTest::newRow("255 in every octet")
            << "255.255.255.255" << QStringList{"192.168.1.1", "255.255.255.255"} << true;
        QTest::newRow("already listed") << "192.168.1.1" << QStringList{"192.168.1.1"} << true;
        QTest::newRow("empty field") << "" << QStringList{"192.168.1.1"} << false;
        QTest::newRow("incomplete") << "10.1" << QStringList{"192.168.1.1"} << false;
        QTest::newRow("out of range") << "300.1.1.1" << QStringList{"192.168.1.1"} << true;
        QTest::newRow("zero") << "0.0.0.0" << QStringList{"192.168.1.1"} << false;
    }

    void enterAddsTheTypedAddress()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, list);
        CNetAddrListImpl dialog;
        dialog.SetList({CIPAddress(QStringLiteral("192.168.1.1"))});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.ledIPAddress_2->setFocus();
        dialog.ledIPAddress_2->setText(QStringLiteral("1.1.1.1"));
        dialog.ledIPAddress_2->setText(typed);
        QTEST(dialog.btnAdd->isEnabled(), "addable");
        QSignalSpy accepted(&dialog, &QDialog::accepted);
        QTest::keyClick(dialog.ledIPAddress_2, Qt::Key_Return);

        QCOMPARE(accepted.count(), 1);
        QStringList got;
        for (const CIPAddress& address : dialog.GetList())
            got << address.ToString();
        QCOMPARE(got, list);
        QCOMPARE(dialog.chlIPList->rowCount(), list.size());
        QCOMPARE(m_Boxes.texts(), QStringList());
    }
};

QTEST_MAIN(TestAddrList)
#include "tst_addrlist.moc"
