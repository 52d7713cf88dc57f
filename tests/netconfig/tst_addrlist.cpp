// The address list dialog, from the "Advanced..." buttons to the host.
#include "addrlistimpl.h"
#include "applytestutil.h"
#include "hoststate.h"

#include <functional>

namespace {

void Add(CNetAddrListImpl* dialog, const char* text)
{
    dialog->ledIPAddress_2->setText(QString::fromLatin1(text));
    dialog->btnAdd->click();
}

// Edits the modal dialog once shown, then presses OK; any other modal window is closed so that a test fails
// rather than hangs.
void WhenOpen(std::function<void(CNetAddrListImpl*)> edit, int attempts = 500)
{
    QTimer::singleShot(10, [=] {
        if (auto* dialog = qobject_cast<CNetAddrListImpl*>(QApplication::activeModalWidget())) {
            edit(dialog);
            dialog->buttonOk->click();
        } else if (attempts > 0)
            WhenOpen(edit, attempts - 1);
        else if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
}

} // namespace

class TestAddrList : public QObject
{
    Q_OBJECT

    MsgBoxRecorder m_Boxes;

private slots:
    void init() { m_Boxes.texts().clear(); }

    // The page shows the first entry; the host gets the lists in dialog order. Of equal addresses, the row
    // picked is the one deleted; a bad address is refused, an incomplete one cannot be added.
    void editedListsReachTheHostInOrder()
    {
        applytest::Fixture fx;
        QVERIFY(fx.Open(0));
        CAdaptersPage& page = *fx.dialog->AdaptersPage();
        WhenOpen([](CNetAddrListImpl* dialog) {
            Add(dialog, "192.168.1.254");
            Add(dialog, "192.168.1.1");
            dialog->chlIPList->setCurrentItem(dialog->chlIPList->topLevelItem(0));
            dialog->btnDel->click();
        });
        page.btnGateways->click();
        WhenOpen([](CNetAddrListImpl* dialog) {
            for (const char* text : {"10.0.0.1", "010.000.000.003", "256.1.1.1", "10.0"})
                Add(dialog, text);
        });
        page.btnDNSServers->click();
        QCOMPARE(page.ledGateway->text() + u' ' + page.ledDNSServer->text(),
                 QStringLiteral("192.168.1.254 192.168.1.1"));
        fx.dialog->buttonOk->click();
        QCOMPARE(fx.boxes.texts(), QStringList{"Ip address 256.1.1.1 is not valid."});
        QCOMPARE(hoststate::Adapters(*fx.env).value(0),
                 QStringLiteral("dhcp=0 ip=192.168.1.5 mask=255.255.255.0 gw=192.168.1.254,192.168.1.1 "
                                "dns=192.168.1.1,10.0.0.1,10.0.0.3 wins=192.168.1.2"));
    }

    // Delete removes the entry of the row picked, also among equal addresses.
    void deleteRow_data()
    {
        applytest::Rows({"0 = 10.0.0.2 10.0.0.1 10.0.0.3 10.0.0.1", "2 = 10.0.0.1 10.0.0.2 10.0.0.3 10.0.0.1",
                         "4 = 10.0.0.1 10.0.0.2 10.0.0.1 10.0.0.3", "3 = 10.0.0.1 10.0.0.2 10.0.0.1 10.0.0.1"});
    }
    void deleteRow()
    {
        const int row = applytest::Row()[0].toInt();
        CNetAddrListImpl dialog;
        dialog.SetList(iptest::Ips({"10.0.0.1", "10.0.0.2", "10.0.0.1", "10.0.0.3", "10.0.0.1"}));
        dialog.chlIPList->setCurrentItem(dialog.chlIPList->topLevelItem(row));
        dialog.btnDel->click();
        QStringList rows;
        for (int i = 0; i < dialog.chlIPList->topLevelItemCount(); ++i)
            rows << dialog.chlIPList->topLevelItem(i)->text(0);
        QCOMPARE(iptest::Texts(dialog.GetList()).join(u' '), applytest::Expected());
        QCOMPARE(rows.join(u' '), applytest::Expected());
    }

    // Enter in the address field goes to OK; a valid address not yet in the list is added first, anything else
    // is left out as before. Add is offered for any nonzero address.
    // Typed = Add offered, the list after Enter.
    void enterAddsTheTypedAddress_data()
    {
        applytest::Rows({"10.1.2.3 = 1 192.168.1.1 10.1.2.3", "010.001.002.003 = 1 192.168.1.1 10.1.2.3",
                         "255.255.255.255 = 1 192.168.1.1 255.255.255.255", "192.168.1.1 = 1 192.168.1.1",
                         "~ = 0 192.168.1.1", "10.1 = 0 192.168.1.1", "300.1.1.1 = 1 192.168.1.1",
                         "0.0.0.0 = 0 192.168.1.1"});
    }
    void enterAddsTheTypedAddress()
    {
        const QString typed = applytest::Input()[0];
        CNetAddrListImpl dialog;
        dialog.SetList(iptest::Ips({"192.168.1.1"}));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.ledIPAddress_2->setFocus();
        dialog.ledIPAddress_2->setText(QStringLiteral("1.1.1.1"));
        dialog.ledIPAddress_2->setText(typed);
        QCOMPARE(dialog.btnAdd->isEnabled(), applytest::Expected().startsWith(u'1'));
        QSignalSpy accepted(&dialog, &QDialog::accepted);
        QTest::keyClick(dialog.ledIPAddress_2, Qt::Key_Return);
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(iptest::Texts(dialog.GetList()).join(u' '), applytest::Expected().mid(2));
        QCOMPARE(dialog.chlIPList->topLevelItemCount(), dialog.GetList().count());
        QCOMPARE(m_Boxes.texts(), QStringList());
    }
};

QTEST_MAIN(TestAddrList)
#include "tst_addrlist.moc"
