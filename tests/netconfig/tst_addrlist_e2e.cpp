// Lists edited in the address list dialog and applied with OK reach the
// emulated host in the order the dialog shows them.
#include "netconfigimpl.h"

#include "addrlisttest.h"
#include "hoststate.h"
#include "msgbox.h"
#include "settingsfiletest.h"
#include "testenv.h"

#include <QtTest>

#include <memory>

using namespace addrlisttest;
using namespace settingstest;

class TestAddrListE2E : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_Env;
    std::unique_ptr<CNetConfigImpl> m_Main;

    // Runs one address list edit through the given "Advanced..." button.
    void Edit(QPushButton* button, std::function<void(CNetAddrListImpl*)> edit)
    {
        WhenAddressListOpens([edit](CNetAddrListImpl* dialog) {
            edit(dialog);
            dialog->buttonOk->click();
        });
        button->click();
    }

    // What a fresh start of the program reads from the host.
    CNetworkCard ReadBack()
    {
        CNetConfigImpl reader;
        if (reader.ReadConfiguration() != 0 || reader.Adapters().isEmpty())
            return CNetworkCard();
        return reader.Adapters().first();
    }

private slots:
    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        QVERIFY(m_Env->initSampleHost());
        m_Main = std::make_unique<CNetConfigImpl>();
        QCOMPARE(m_Main->ReadConfiguration(), 0UL);
        m_Main->SelectAdapter(0);
        QuarvelMsgBoxHistory().clear();
    }

    void cleanup()
    {
        m_Main.reset();
        m_Env.reset();
    }

    void addedServersReachTheHostInOrder()
    {
        Edit(m_Main->btnGateways, [](CNetAddrListImpl* dialog) {
            AddAddress(dialog, QStringLiteral("192.168.1.254"));
        });
        // The page reads only the first DNS server, so two more make three.
        Edit(m_Main->btnDNSServers, [](CNetAddrListImpl* dialog) {
            AddAddress(dialog, QStringLiteral("10.0.0.1"));
            AddAddress(dialog, QStringLiteral("010.000.000.003"));
        });
        QCOMPARE(Join(m_Main->Adapters().at(0).m_DNSServers), QStringLiteral("192.168.1.1,10.0.0.1,10.0.0.3"));

        m_Main->buttonOk->click();
        QCOMPARE(QuarvelMsgBoxHistory(), QStringList());
        QCOMPARE(m_Main->result(), int(QDialog::Accepted));
        QCOMPARE(hoststate::Adapters(*m_Env).value(0),
                 QStringLiteral("dhcp=0 ip=192.168.1.5 mask=255.255.255.0 gw=192.168.1.1,192.168.1.254 "
                                "dns=192.168.1.1,10.0.0.1,10.0.0.3 wins=192.168.1.2"));
        const CNetworkCard card = ReadBack();
        QCOMPARE(Join(card.m_Gateways), QStringLiteral("192.168.1.1,192.168.1.254"));
        QCOMPARE(Join(card.m_DNSServers), QStringLiteral("192.168.1.1")); // only the first is read
    }

    void replacedFirstEntriesBecomeTheShownOnes()
    {
        Edit(m_Main->btnGateways, [](CNetAddrListImpl* dialog) {
            AddAddress(dialog, QStringLiteral("192.168.1.254"));
            DeleteRow(dialog, 0);
            AddAddress(dialog, QStringLiteral("192.168.1.1"));
        });
        Edit(m_Main->btnDNSServers, [](CNetAddrListImpl* dialog) {
            AddAddress(dialog, QStringLiteral("10.0.0.9"));
            DeleteRow(dialog, 0);
        });
        QCOMPARE(m_Main->ledGateway->text(), QStringLiteral("192.168.1.254"));
        QCOMPARE(m_Main->ledDNSServer->text(), QStringLiteral("10.0.0.9"));

        m_Main->buttonOk->click();
        QCOMPARE(QuarvelMsgBoxHistory(), QStringList());
        QCOMPARE(hoststate::Adapters(*m_Env).value(0),
                 QStringLiteral("dhcp=0 ip=192.168.1.5 mask=255.255.255.0 gw=192.168.1.254,192.168.1.1 "
                                "dns=10.0.0.9 wins=192.168.1.2"));
        const CNetworkCard card = ReadBack();
        QCOMPARE(Join(card.m_Gateways), QStringLiteral("192.168.1.254,192.168.1.1"));
        QCOMPARE(Join(card.m_DNSServers), QStringLiteral("10.0.0.9"));
    }
};

QTEST_MAIN(TestAddrListE2E)
#include "tst_addrlist_e2e.moc"
