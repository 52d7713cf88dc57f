// The INI form of the adapter model and the Save and Load buttons.
#include "applytestutil.h"
#include "filedialog.h"
#include "msgboxrecorder.h"
#include "netconfigimpl.h"
#include "settingsfiletest.h"
#include "testenv.h"

#include <QDir>
#include <QtTest>

#include <memory>

using namespace applytest;
using namespace settingstest;

namespace {

const QString kBase = QStringLiteral("dhcp=0 ip=192.168.1.5 mask=255.255.255.0 gw=[192.168.1.1] dnsAuto=0 "
                                     "dns=[192.168.1.1,10.0.0.1] winsAuto=0 wins=192.168.1.2,0.0.0.0 changed=---");

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_Env;
    std::unique_ptr<CNetConfigImpl> m_Dialog;
    MsgBoxRecorder m_Boxes;

    CNetworkCard& Card() { return m_Dialog->Adapters()[0]; }

    QString WriteFile(const QByteArray& text)
    {
        const QString path = m_Env->path(QStringLiteral("in.ini"));
        return WriteText(path, text) ? path : QString();
    }

private slots:
    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        QVERIFY(m_Env->initSampleHost());
        m_Dialog = std::make_unique<CNetConfigImpl>();
        QCOMPARE(m_Dialog->ReadConfiguration(), 0UL);
        m_Dialog->SelectAdapter(0);
        QCOMPARE(Describe(Card()), kBase);
        m_Boxes.texts().clear();
    }

    void cleanup() { m_Dialog.reset(), m_Env.reset(); }

    // Zero entries are left out; automatic DNS and WINS and DHCP hide stale values; other programs' keys and
    // sections stay, after ours.
    void writeSkipsWhatIsNotSet()
    {
        Card().m_Gateways = Ips({"10.0.0.1", "0.0.0.0", "10.0.0.254"});
        Card().m_DNSServers = Ips({"0.0.0.0"});
        Card().m_SecondaryWINS = CIPAddress(QStringLiteral("10.0.0.9"));
        Card().m_SecondaryAddresses = {
            {CIPAddress(QStringLiteral("10.0.0.6")), CIPAddress(QStringLiteral("255.0.0.0"))}};
        CNetworkCard& wireless = m_Dialog->Adapters()[1];
        wireless.m_DNSServers = Ips({"10.0.0.2"});
        wireless.m_SecondaryWINS = Card().m_SecondaryWINS;
        wireless.m_SecondaryAddresses = Card().m_SecondaryAddresses;
        const QString path = WriteFile("[Interface2]\nprotocol=x\nComment=kept\n[Other]\nx=1\n");
        QCOMPARE(m_Dialog->WriteSettings(path), 0);
        QCOMPARE(IniLines(path).join(u'|'),
                 QStringLiteral("[Interface1]|protocol=192.168.1.5|mask=255.255.255.0|Wins=192.168.1.2|Wins2=10.0.0.9|"
                                "Gateway=10.0.0.1;10.0.0.254;|Addresses=10.0.0.6/255.0.0.0;|[Interface2]|protocol=dhcp|"
                                "mask=255.255.255.0|DNS=dhcp|Wins=dhcp|Gateway=10.0.0.1;|Comment=kept|"
                                "[HostInformation]|ComputerName=WS01|Workgroup=WORKGROUP|PrimaryDNS=lan|[Other]|x=1"));
    }

    // The lines of [Interface1] = the fields of kBase they change ("refused": the file is not loaded) | the
    // gateway and DNS fields.
    void readsAdapterKeys_data()
    {
        Rows({"protocol=viaDhCpServer = dhcp=1 ip=0.0.0.0 changed=A-- | 192.168.1.1 192.168.1.1",
              "protocol=192.168.1.5 DNS=192.168.1.1;10.0.0.1; Wins=192.168.1.2 = changed=ADW | 192.168.1.1 192.168.1.1",
              "Gateway=10.0.0.1;router;x; mask=255.255.255 = gw=[10.0.0.1,0.0.0.0,0.0.0.0] mask=0.0.0.0 changed=A-- | "
              "router 192.168.1.1",
              "DNS=dhcp = dnsAuto=1 dns=[] changed=-D- | 192.168.1.1 0.0.0.0",
              "Wins=Dhcp Wins2=10.9.9.9 = winsAuto=1 wins=0.0.0.0,0.0.0.0 changed=--W | 192.168.1.1 192.168.1.1",
              "Wins2=10.9.9.9 =  | 192.168.1.1 192.168.1.1",
              "protocol= mask= DNS= Wins= Gateway= =  | 192.168.1.1 192.168.1.1",
              "~ = refused | 192.168.1.1 192.168.1.1"});
    }
    void readsAdapterKeys()
    {
        const QString expected = Expected().section(QStringLiteral(" | "), 0, 0);
        QString card = kBase;
        for (const QString& field : expected.split(u' ', Qt::SkipEmptyParts))
            card.replace(QRegularExpression(QRegularExpression::escape(field.section(u'=', 0, 0)) + "=\\S*"), field);
        const bool refused = expected == QLatin1String("refused");
        QCOMPARE(m_Dialog->ReadSettings(WriteFile("[Interface1]\n" + Input().join(u'\n').toUtf8() + "\n")),
                 int(refused));
        QCOMPARE(Describe(Card()), refused ? kBase : card);
        QCOMPARE(Card().FieldText(CardField::Gateway) + u' ' + Card().FieldText(CardField::DNSServer),
                 Expected().section(QStringLiteral(" | "), 1));
    }

    // Empty identification values keep the old ones.
    void loadShowsTheFileAndEnablesApply()
    {
        SetNextFileDialogAnswer(WriteFile("[Interface1]\nprotocol=192.168.1.77\nDNS=10.1.1.1;10.1.1.2;\n"
                                          "Gateway=192.168.1.254;192.168.1.1;\n"
                                          "[HostInformation]\nComputerName=WS02\nWorkgroup=\n"),
                                true);
        m_Dialog->LoadFromFile();
        QCOMPARE(m_Boxes.texts(), QStringList());
        const CAdaptersPage& page = *m_Dialog->AdaptersPage();
        QCOMPARE(
            QStringList({page.ledIPAddress->text(), page.ledGateway->text(), Join(Card().m_DNSServers),
                         m_Dialog->IdentityPage()->ledHostName->text(), m_Dialog->IdentityPage()->ledDomain->text()}),
            (QStringList{"192.168.1.77", "192.168.1.254", "10.1.1.1,10.1.1.2", "WS02", "WORKGROUP"}));
        QVERIFY(m_Dialog->btnApply->isEnabled());
    }
};

QTEST_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
