// The address list dialog on its own, and opened from the main dialog's
// "Advanced..." buttons.
#include "addrlistimpl.h"
#include "netconfigimpl.h"

#include "addrlisttest.h"
#include "msgbox.h"
#include "settingsfiletest.h"
#include "testenv.h"

#include <QHeaderView>
#include <QtTest>

#include <memory>

using namespace addrlisttest;
using namespace settingstest;

class TestAddrList : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_Env;
    std::unique_ptr<CNetConfigImpl> m_Main;

    // The sample host with the first adapter's gateways set to two entries.
    void OpenMainDialog()
    {
        m_Env = std::make_unique<TestEnv>();
        QVERIFY(m_Env->initSampleHost());
        m_Main = std::make_unique<CNetConfigImpl>();
        QCOMPARE(m_Main->ReadConfiguration(), 0UL);
        m_Main->Adapters()[0].m_Gateways = Ips({"10.0.0.1", "10.0.0.2"});
        m_Main->SelectAdapter(0);
        QVERIFY(!m_Main->btnApply->isEnabled());
    }

    CNetworkCard& Card() { return m_Main->Adapters()[0]; }

private slots:
    void init() { QuarvelMsgBoxHistory().clear(); }

    void cleanup()
    {
        m_Main.reset();
        m_Env.reset();
    }

    void buildsItsColumns()
    {
        CNetAddrListImpl dialog;
        QVERIFY(!dialog.windowIcon().isNull());
        QCOMPARE(dialog.chlIPList->columnCount(), 2);
        QCOMPARE(dialog.chlIPList->headerItem()->text(0), QStringLiteral("IP Address"));
        QCOMPARE(dialog.chlIPList->headerItem()->text(1), QStringLiteral("Mask"));
        QCOMPARE(dialog.chlIPList->columnWidth(0), 150);
    }

    void setListReplacesRowsAndList()
    {
        CNetAddrListImpl dialog;
        dialog.SetList(Ips({"192.168.1.1", "10.0.0.1", "192.168.1.1"}));
        dialog.SetList(Ips({"10.0.0.2", "10.0.0.1"}));
        QCOMPARE(Rows(&dialog), (QStringList{"10.0.0.2", "10.0.0.1"}));
        QCOMPARE(Join(dialog.GetList()), QStringLiteral("10.0.0.2,10.0.0.1"));

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^ASSERT: \"ipList.count\\(\\) > 0\"")));
        dialog.SetList({});
        QCOMPARE(Rows(&dialog), QStringList());
        QVERIFY(dialog.GetList().isEmpty());
    }

    void addChecksTheTypedAddress_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("addEnabled");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("messages");

        const QStringList start{"10.0.0.1", "10.0.0.2"};
        QTest::newRow("leading zeros") << "192.168.001.001" << true << start + QStringList{"192.168.1.1"}
                                       << QStringList();
        QTest::newRow("duplicate") << "10.0.0.1" << true << start + QStringList{"10.0.0.1"} << QStringList();
        QTest::newRow("out of range") << "256.1.1.1" << true << start
                                      << QStringList{"Ip address 256.1.1.1 is not valid."};
        QTest::newRow("zero") << "000.0.0.0" << false << start << QStringList();
        QTest::newRow("incomplete") << "10.0" << false << start << QStringList();
    }

    void addChecksTheTypedAddress()
    {
        QFETCH(QString, typed);
        QFETCH(bool, addEnabled);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, messages);
        CNetAddrListImpl dialog;
        dialog.SetList(Ips({"10.0.0.1", "10.0.0.2"}));

        dialog.ledIPAddress_2->setText(typed);
        const QString shown = dialog.ledIPAddress_2->text();
        QCOMPARE(dialog.btnAdd->isEnabled(), addEnabled);
        dialog.btnAdd->click();

        QCOMPARE(Rows(&dialog), rows);
        QCOMPARE(Join(dialog.GetList()), rows.join(QLatin1Char(',')));
        QCOMPARE(QuarvelMsgBoxHistory(), messages);
        if (!messages.isEmpty())
            QCOMPARE(dialog.ledIPAddress_2->selectedText(), dialog.ledIPAddress_2->displayText());
        else
            QCOMPARE(dialog.ledIPAddress_2->text(), shown); // the field keeps its text
    }

    // Nothing runs the state rule before the first edit.
    void buttonsStartEnabled()
    {
        CNetAddrListImpl dialog;
        dialog.SetList(Ips({"10.0.0.1"}));
        QVERIFY(dialog.btnAdd->isEnabled());
        QVERIFY(dialog.btnDel->isEnabled());

        dialog.btnDel->click();
        dialog.btnAdd->click();
        QCOMPARE(Rows(&dialog), QStringList{"10.0.0.1"});
        QCOMPARE(QuarvelMsgBoxHistory(), QStringList{"Ip address ... is not valid."});
    }

    void deleteFollowsTheSelection()
    {
        CNetAddrListImpl dialog;
        dialog.SetList(Ips({"10.0.0.1", "10.0.0.2"}));
        dialog.chlIPList->setCurrentItem(dialog.chlIPList->topLevelItem(1));
        QVERIFY(dialog.btnDel->isEnabled());
        dialog.chlIPList->clearSelection();
        QVERIFY(!dialog.btnDel->isEnabled());

        DeleteRow(&dialog, 0);
        QCOMPARE(Rows(&dialog), QStringList{"10.0.0.2"});
        QCOMPARE(Join(dialog.GetList()), QStringLiteral("10.0.0.2"));
        // OK accepts an emptied list.
        DeleteRow(&dialog, 0);
        dialog.buttonOk->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(dialog.GetList().isEmpty());
    }

    // Equal addresses: the row picked is the entry removed, so the view and
    // the list that OK returns keep matching, order included.
    void deleteRemovesOneOfEqualEntries_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("remaining");
        QTest::newRow("first of two") << 0 << QStringList{"10.0.0.2", "10.0.0.1", "10.0.0.3"};
        QTest::newRow("second of two") << 2 << QStringList{"10.0.0.1", "10.0.0.2", "10.0.0.3"};
        QTest::newRow("another address") << 1 << QStringList{"10.0.0.1", "10.0.0.1", "10.0.0.3"};
    }

    void deleteRemovesOneOfEqualEntries()
    {
        QFETCH(int, row);
        QFETCH(QStringList, remaining);
        CNetAddrListImpl dialog;
        dialog.SetList(Ips({"10.0.0.1", "10.0.0.2"}));
        AddAddress(&dialog, QStringLiteral("10.0.0.1"));
        AddAddress(&dialog, QStringLiteral("10.0.0.3"));

        DeleteRow(&dialog, row);
        QCOMPARE(Rows(&dialog), remaining);
        QCOMPARE(Join(dialog.GetList()), remaining.join(QLatin1Char(',')));
    }

    void unchangedListStillMarksTheAdapter()
    {
        OpenMainDialog();
        QStringList shown;
        WhenAddressListOpens([&shown](CNetAddrListImpl* dialog) {
            shown = Rows(dialog);
            dialog->buttonOk->click();
        });
        m_Main->btnGateways->click();

        QCOMPARE(shown, (QStringList{"10.0.0.1", "10.0.0.2"}));
        QCOMPARE(Join(Card().m_Gateways), QStringLiteral("10.0.0.1,10.0.0.2"));
        QVERIFY(Card().m_AddressChanged);
        QVERIFY(!Card().m_DNSChanged);
        QVERIFY(m_Main->btnApply->isEnabled());

        // An added address goes last; the page shows the first.
        WhenAddressListOpens([](CNetAddrListImpl* dialog) {
            AddAddress(dialog, QStringLiteral("192.168.001.001"));
            dialog->buttonOk->click();
        });
        m_Main->btnGateways->click();
        QCOMPARE(Join(Card().m_Gateways), QStringLiteral("10.0.0.1,10.0.0.2,192.168.1.1"));
        QCOMPARE(m_Main->ledGateway->text(), QStringLiteral("10.0.0.1"));
    }

    void emptiedListShowsNoAddress()
    {
        OpenMainDialog();
        Card().m_DNSServers = Ips({"10.0.0.1", "10.0.0.2"});
        WhenAddressListOpens([](CNetAddrListImpl* dialog) {
            DeleteRow(dialog, 1);
            DeleteRow(dialog, 0);
            dialog->buttonOk->click();
        });
        m_Main->btnDNSServers->click();

        QVERIFY(Card().m_DNSServers.isEmpty());
        QCOMPARE(m_Main->ledDNSServer->text(), QStringLiteral("0.0.0.0"));
        QVERIFY(Card().m_DNSChanged);
        QVERIFY(!Card().m_AddressChanged);
        QVERIFY(m_Main->btnApply->isEnabled());
    }

    void cancelLeavesTheAdapterAlone_data()
    {
        QTest::addColumn<bool>("gateways");
        QTest::newRow("gateways") << true;
        QTest::newRow("DNS servers") << false;
    }

    void cancelLeavesTheAdapterAlone()
    {
        QFETCH(bool, gateways);
        OpenMainDialog();
        const QString before = Describe(Card());
        const QStringList page{m_Main->ledGateway->text(), m_Main->ledDNSServer->text()};
        WhenAddressListOpens([](CNetAddrListImpl* dialog) {
            AddAddress(dialog, QStringLiteral("10.9.9.9"));
            DeleteRow(dialog, 0);
            dialog->buttonCancel->click();
        });
        (gateways ? m_Main->btnGateways : m_Main->btnDNSServers)->click();

        QCOMPARE(Describe(Card()), before);
        QCOMPARE(QStringList({m_Main->ledGateway->text(), m_Main->ledDNSServer->text()}), page);
        QVERIFY(!m_Main->btnApply->isEnabled());
    }
};

QTEST_MAIN(TestAddrList)
#include "tst_addrlist.moc"
