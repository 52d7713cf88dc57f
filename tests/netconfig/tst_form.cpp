#include "appimages.h"
#include "netconfig.h"

#include <QtTest>

namespace {

// The form with every slot recorded instead of acted on; it also supplies
// the five slots the form leaves pure.
#define REC(slot) \
    void slot() override { calls << QStringLiteral(#slot); }
#define REC_INT(slot) \
    void slot(int i) override { calls << QStringLiteral(#slot "(%1)").arg(i); }
class RecordingForm : public CNetConfig
{
public:
    using CNetConfig::CNetConfig;
    QStringList calls;
    QString pageAtUtilityChange;

    REC_INT(SelectAdapter) REC_INT(HaveWINS) REC_INT(DNSAuto) REC_INT(SelectMainTab) REC_INT(DHCPSettingsChange)
    REC(SaveToFile) REC(ApplyClick) REC(OKClick) REC(MapNetDrive) REC(btnRenew_clicked) REC(btnRelease_clicked)
    REC(DisconnectDrive) REC(EditGateways) REC(EditDNSServers) REC(LoadFromFile) REC(CancelClick)
    REC(OnStartUtility) REC(OnOutputTextChanged) REC(OnClearUtilityOutput)
    void ledControl_textChanged(const QString&) override { calls << "ledControl_textChanged:" + sender()->objectName(); }
    void OnChangeUtilityTarget(const QString&) override { calls << QStringLiteral("OnChangeUtilityTarget"); }
    void OnChangeUtility(int i) override
    {
        calls << QStringLiteral("OnChangeUtility(%1)").arg(i);
        pageAtUtilityChange = wsUtilityParams->currentWidget()->objectName();
    }
};

// Only the pure slots: everything else runs the form's own versions.
class BareForm : public CNetConfig
{
public:
    using CNetConfig::CNetConfig;
    void OnChangeUtility(int) override {}
    void OnChangeUtilityTarget(const QString&) override {}
    void OnStartUtility() override {}
    void OnOutputTextChanged() override {}
    void OnClearUtilityOutput() override {}
};

template <size_t N>
void AddRows(const char* (&rows)[N][3], const char* a, const char* b, const char* c)
{
    QTest::addColumn<QString>(a);
    QTest::addColumn<QString>(b);
    QTest::addColumn<QString>(c);
    for (const auto& row : rows)
        QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromLatin1(row[1])
                              << QString::fromLatin1(row[2]);
}

} // namespace

class TestForm : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_Form = std::make_unique<RecordingForm>(); }
    void objectNameAndModality();
    void widgetClassesAndParents_data();
    void widgetClassesAndParents();
    void textsAndAccelerators_data();
    void textsAndAccelerators(); // and which push buttons are (auto) default
    void addressFields_data();
    void addressFields();
    void spinBoxesFollowTheirCheckBoxes_data();
    void spinBoxesFollowTheirCheckBoxes();
    void utilityPageRaisedBeforeSlot();
    void utilityTargetAndOutput();
    void connections_data();
    void connections();
    void adapterListAndTabBar();
    void dhcpGroupIds();
    void layoutAndSizes();
    void focusChain();
    void constructionReachesNoSlot();
    void slotOrderAndWarnings();
    void appImages();

private:
    std::unique_ptr<RecordingForm> m_Form;
};

void TestForm::objectNameAndModality()
{
    QCOMPARE(m_Form->objectName(), QStringLiteral("CNetConfig"));
    RecordingForm named(nullptr, "NetConfigImpl");
    QCOMPARE(named.objectName(), QStringLiteral("NetConfigImpl"));
    QVERIFY(!named.isModal());
    QVERIFY(RecordingForm(nullptr, nullptr, true).isModal());
}

void TestForm::widgetClassesAndParents_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("parentName");
    // parent: the children's name:class pairs
    const char* tree[][2] = {
        {"CNetConfig", "frame3:QFrame line1:QFrame frame4:QFrame"},
        {"frame3", "tbPageMain:CTabBarEx wsMain:QStackedWidget"},
        {"WStackPage", "lbAdapter:QLabel cbAdapters:QComboBox groupBox1:QGroupBox groupBox2:QGroupBox"},
        {"groupBox1", "btnGateways:QPushButton rbtnManual:QRadioButton btnRelease:QPushButton lexMask:CLabelEx"},
        {"groupBox1", "lexIPAddress:CLabelEx lexDefGate:CLabelEx btnRenew:QPushButton rbtnAuto:QRadioButton"},
        {"groupBox1", "ledGateway:CLineEdit ledSubNet:CLineEdit ledIPAddress:CLineEdit"},
        {"groupBox2", "lexSecondWINS:CLabelEx lexPrimaryWINS:CLabelEx ckbDNSAuto:QCheckBox"},
        {"groupBox2", "ckbHaveWins:QCheckBox btnDNSServers:QPushButton lexDNSServer:CLabelEx"},
        {"groupBox2", "ledDNSServer:CLineEdit ledPrimaryWINS:CLineEdit ledSecondaryWINS:CLineEdit"},
        {"WStackPage_2", "chlShareList:CCheckListControl btnDisconnectDrive:QPushButton"},
        {"WStackPage_2", "btnMapNetDrive:QPushButton"},
        {"WStackPage_3", "lexGroup_2:CLabelEx lexName:CLabelEx ledDomain:CLineEdit lexGroup:CLabelEx"},
        {"WStackPage_3", "ledHostName:CLineEdit ledDNSSuffix:CLineEdit"},
        {"WStackPage_4", "wsUtilityParams:QStackedWidget textLabel2:QLabel textLabel3:QLabel"},
        {"WStackPage_4", "editUtilityTarget:CLineEdit comboUtility:QComboBox frame5:QFrame"},
        {"WStackPage_4", "editUtilityOutput:QTextBrowser"},
        {"WStackPage_5", "btnEndlessPing:QCheckBox btnResolveAddress:QCheckBox btnPingEchoRqv:QCheckBox"},
        {"WStackPage_5", "spinPingEchoRqvNum:QSpinBox"},
        {"WStackPage_6", "btnDontResolveAddress:QCheckBox btnTraceHops:QCheckBox btnReplyWait:QCheckBox"},
        {"WStackPage_6", "spinReplyWaitTime:QSpinBox spinTraceHopsNum:QSpinBox"},
        {"frame5", "btnClearOutput:QPushButton btnStartUtility:QPushButton"},
        {"frame4", "btnLoad:QPushButton btnSave:QPushButton buttonOk:QPushButton btnApply:QPushButton"},
        {"frame4", "buttonCancel:QPushButton"},
    };
    for (const auto& [parent, children] : tree)
        for (const QString& child : QString::fromLatin1(children).split(u' ')) {
            const QStringList pair = child.split(u':');
            QTest::newRow(qPrintable(pair[0])) << pair[0] << pair[1] << QString::fromLatin1(parent);
        }
}

void TestForm::widgetClassesAndParents()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, parentName);
    const QList<QWidget*> found = m_Form->findChildren<QWidget*>(name);
    QCOMPARE(found.count(), 1);
    QCOMPARE(QString::fromLatin1(found.first()->metaObject()->className()), className);
    QCOMPARE(found.first()->parentWidget()->objectName(), parentName);
}

void TestForm::textsAndAccelerators_data()
{
    static const char* rows[][3] = {
        {"btnGateways", "A&dvanced...", "Alt+D"}, {"btnRelease", "&Release address", "Alt+R"},
        {"btnRenew", "Re&new address", "Alt+N"}, {"rbtnAuto", "Obtain an IP address automaticaly.", ""},
        {"rbtnManual", "Use the following IP address :", ""}, {"btnDNSServers", "A&dvanced...", "Alt+D"},
        {"ckbDNSAuto", "Obtain DNS server address automaticaly", ""},
        {"ckbHaveWins", "Obtain WINS server address automaticaly", ""},
        {"btnDisconnectDrive", "&Disconnect Drive ...", "Alt+D"}, {"btnMapNetDrive", "&Map Network Drive", "Alt+M"},
        {"btnEndlessPing", "Ping the specified host until stopped", ""},
        {"btnTraceHops", "Maximum number of hops to search for target:", ""},
        {"btnClearOutput", "Clear output", ""}, {"btnStartUtility", "&Start", "Alt+S"},
        {"btnLoad", "&Load from file", "Alt+L"}, {"btnSave", "&Save to file", "Alt+S"},
        {"buttonOk", "&OK", "Alt+O"}, {"btnApply", "&Apply", "Alt+A"}, {"buttonCancel", "&Cancel", "Alt+C"},
    };
    AddRows(rows, "name", "text", "accelerator");
}

void TestForm::textsAndAccelerators()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, accelerator);
    auto* button = m_Form->findChild<QAbstractButton*>(name);
    QVERIFY(button);
    QCOMPARE(button->text(), text);
    QCOMPARE(button->shortcut(), QKeySequence(accelerator));
    auto* push = qobject_cast<QPushButton*>(button);
    if (!push || name.endsWith(QLatin1String("Utility")) || name == QLatin1String("btnClearOutput"))
        return;
    static const QStringList notAutoDefault{"btnDisconnectDrive", "btnMapNetDrive", "btnLoad", "btnSave"};
    QCOMPARE(push->autoDefault(), !notAutoDefault.contains(name));
    QCOMPARE(push->isDefault(), name == QLatin1String("buttonOk"));
}

void TestForm::addressFields_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("enabled");
    for (const char* name : {"ledIPAddress", "ledSubNet", "ledGateway"})
        QTest::newRow(name) << QString::fromLatin1(name) << false;
    for (const char* name : {"ledDNSServer", "ledPrimaryWINS", "ledSecondaryWINS"})
        QTest::newRow(name) << QString::fromLatin1(name) << true;
}

void TestForm::addressFields()
{
    QFETCH(QString, name);
    QFETCH(bool, enabled);
    auto* edit = m_Form->findChild<QLineEdit*>(name);
    QVERIFY(edit);
    QCOMPARE(edit->isEnabled(), enabled);
    // The blank part of the mask (a space) is not reported back.
    QCOMPARE(edit->inputMask(), QStringLiteral("000.000.000.000"));
    QCOMPARE(edit->text(), QStringLiteral("..."));
    QCOMPARE(edit->displayText(), QStringLiteral("   .   .   .   "));

    // Only digits, at most three per group; the dot moves on to the next group.
    edit->setEnabled(true);
    edit->clear();
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("1x92.168.0a.12"));
    QCOMPARE(edit->text(), QStringLiteral("192.168.0.12"));

    // The identification fields take free text.
    QVERIFY(m_Form->ledHostName->isEnabled() && m_Form->ledDomain->isEnabled());
    QVERIFY(!m_Form->ledDNSSuffix->isEnabled());
    QVERIFY(m_Form->ledDomain->inputMask().isEmpty() && m_Form->ledHostName->inputMask().isEmpty());
}

void TestForm::spinBoxesFollowTheirCheckBoxes_data()
{
    QTest::addColumn<QString>("checkBox");
    QTest::addColumn<QString>("spinBox");
    QTest::addColumn<int>("maximum");
    QTest::newRow("echo requests") << "btnPingEchoRqv" << "spinPingEchoRqvNum" << 999;
    QTest::newRow("hops") << "btnTraceHops" << "spinTraceHopsNum" << 1000;
    QTest::newRow("reply wait") << "btnReplyWait" << "spinReplyWaitTime" << 1000;
}

void TestForm::spinBoxesFollowTheirCheckBoxes()
{
    QFETCH(QString, checkBox);
    QFETCH(QString, spinBox);
    QFETCH(int, maximum);
    auto* check = m_Form->findChild<QCheckBox*>(checkBox);
    auto* spin = m_Form->findChild<QSpinBox*>(spinBox);
    QVERIFY(check && spin);
    QCOMPARE(spin->minimum(), 1);
    QCOMPARE(spin->maximum(), maximum);
    QCOMPARE(spin->value(), 1);
    QVERIFY(!spin->isEnabled());
    check->click();
    QVERIFY(spin->isEnabled());
    check->click();
    QVERIFY(!spin->isEnabled());
    QVERIFY(m_Form->calls.isEmpty());
}

void TestForm::utilityPageRaisedBeforeSlot()
{
    QCOMPARE(m_Form->comboUtility->count(), 2);
    QCOMPARE(m_Form->comboUtility->itemText(0), QStringLiteral("Ping"));
    QCOMPARE(m_Form->comboUtility->itemText(1), QStringLiteral("Trace route"));
    QCOMPARE(m_Form->wsUtilityParams->currentWidget()->objectName(), QStringLiteral("WStackPage_5"));

    QTest::keyClick(m_Form->comboUtility, Qt::Key_Down);
    QCOMPARE(m_Form->calls, QStringList{QStringLiteral("OnChangeUtility(1)")});
    QCOMPARE(m_Form->pageAtUtilityChange, QStringLiteral("WStackPage_6"));
    QTest::keyClick(m_Form->comboUtility, Qt::Key_Up);
    QCOMPARE(m_Form->calls.last(), QStringLiteral("OnChangeUtility(0)"));
    QCOMPARE(m_Form->pageAtUtilityChange, QStringLiteral("WStackPage_5"));
}

void TestForm::utilityTargetAndOutput()
{
    const QString hint = QStringLiteral("Enter IP address or host name");
    QCOMPARE(m_Form->editUtilityTarget->placeholderText(), hint);
    QCOMPARE(m_Form->editUtilityTarget->property("HintText").toString(), hint);
    QCOMPARE(m_Form->editUtilityOutput->lineWrapMode(), QTextEdit::NoWrap);
    QVERIFY(!m_Form->btnStartUtility->isEnabled() && !m_Form->btnClearOutput->isEnabled());

    QTest::keyClicks(m_Form->editUtilityTarget, QStringLiteral("ab"));
    QCOMPARE(m_Form->calls, QStringList(2, QStringLiteral("OnChangeUtilityTarget")));
    m_Form->calls.clear();
    m_Form->editUtilityOutput->append(QStringLiteral("<b>Reply</b>"));
    QCOMPARE(m_Form->calls, QStringList{QStringLiteral("OnOutputTextChanged")});
}

void TestForm::connections_data()
{
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("expected");
    const char* clicks[][2] = {
        {"buttonOk", "OKClick"}, {"buttonCancel", "CancelClick"}, {"btnApply", "ApplyClick"},
        {"btnDisconnectDrive", "DisconnectDrive"}, {"btnMapNetDrive", "MapNetDrive"}, {"btnSave", "SaveToFile"},
        {"btnLoad", "LoadFromFile"}, {"btnDNSServers", "EditDNSServers"}, {"btnRenew", "btnRenew_clicked"},
        {"btnRelease", "btnRelease_clicked"}, {"btnGateways", "EditGateways"},
        {"ckbDNSAuto", "DNSAuto(2)"}, {"ckbHaveWins", "HaveWINS(2)"},
    };
    for (const auto& row : clicks)
        QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromLatin1(row[1]);
    for (const char* edit : {"ledHostName", "ledDomain", "ledDNSSuffix", "ledDNSServer", "ledPrimaryWINS",
                             "ledSecondaryWINS", "ledIPAddress", "ledSubNet", "ledGateway"})
        QTest::newRow(edit) << QString::fromLatin1(edit) << QStringLiteral("ledControl_textChanged:") + edit;
}

// Each widget reaches its slot, and only that one.
void TestForm::connections()
{
    QFETCH(QString, widget);
    QFETCH(QString, expected);
    QWidget* w = m_Form->findChild<QWidget*>(widget);
    QVERIFY(w);
    w->setEnabled(true);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->setText(QStringLiteral("1.2.3.4"));
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->click();
    QCOMPARE(m_Form->calls, QStringList{expected});
}

void TestForm::adapterListAndTabBar()
{
    m_Form->cbAdapters->addItems({QStringLiteral("first"), QStringLiteral("second")});
    QVERIFY(!m_Form->cbAdapters->isEditable());
    QTest::keyClick(m_Form->cbAdapters, Qt::Key_Down);
    QCOMPARE(m_Form->calls, QStringList{QStringLiteral("SelectAdapter(1)")});

    m_Form->calls.clear();
    m_Form->tbPageMain->addTab(new CTab(QStringLiteral("one")));
    m_Form->tbPageMain->addTab(new CTab(QStringLiteral("two")));
    m_Form->tbPageMain->setCurrentTab(1);
    QVERIFY2(m_Form->calls.contains(QStringLiteral("SelectMainTab(1)")), qPrintable(m_Form->calls.join(u' ')));
}

void TestForm::dhcpGroupIds()
{
    QVERIFY(!m_Form->rbtnAuto->isChecked() && !m_Form->rbtnManual->isChecked());
    QVERIFY(m_Form->groupBox1->isFlat());
    m_Form->rbtnManual->click();
    m_Form->rbtnAuto->click();
    QCOMPARE(m_Form->calls, (QStringList{QStringLiteral("DHCPSettingsChange(1)"), QStringLiteral("DHCPSettingsChange(0)")}));
    QVERIFY(!m_Form->rbtnManual->isChecked());

    // Push buttons laid out in the group take no part in it.
    m_Form->calls.clear();
    for (QPushButton* button : {m_Form->btnGateways, m_Form->btnRelease, m_Form->btnRenew}) {
        button->setEnabled(true);
        button->click();
    }
    QVERIFY(!m_Form->calls.join(QLatin1Char(' ')).contains(QLatin1String("DHCPSettingsChange")));
}

void TestForm::layoutAndSizes()
{
    QStringList pages;
    for (QStackedWidget* stack : {m_Form->wsMain, m_Form->wsUtilityParams})
        for (int id = 0; id < stack->count(); ++id)
            pages << stack->widget(id)->objectName();
    QCOMPARE(pages.join(u' '), QStringLiteral("WStackPage WStackPage_2 WStackPage_3 WStackPage_4 WStackPage_5 WStackPage_6"));
    QCOMPARE(m_Form->wsUtilityParams->count(), 2);
    QCOMPARE(m_Form->tbPageMain->side(), 0);
    // The tab bar sits above the page stack; the button bar at the bottom.
    QCOMPARE(m_Form->frame3Layout->indexOf(m_Form->tbPageMain), 0);
    QCOMPARE(m_Form->frame3Layout->indexOf(m_Form->wsMain), 1);
    QCOMPARE(m_Form->CNetConfigLayout->indexOf(m_Form->frame4), 2);
    QCOMPARE(m_Form->minimumSize(), QSize(240, 240));
    QCOMPARE(m_Form->baseSize(), QSize(360, 360));
    QVERIFY(m_Form->isSizeGripEnabled());
    QVERIFY(m_Form->width() >= 592 && m_Form->height() >= 542);
    QCOMPARE(m_Form->windowTitle(), QStringLiteral("Network Configuration"));
}

void TestForm::focusChain()
{
    const QStringList expected = QStringLiteral(
        "tbPageMain cbAdapters rbtnAuto btnRenew btnRelease rbtnManual ledIPAddress ledSubNet ledGateway "
        "btnGateways ckbDNSAuto ledDNSServer btnDNSServers ckbHaveWins ledPrimaryWINS ledSecondaryWINS "
        "chlShareList btnMapNetDrive btnDisconnectDrive ledHostName ledDomain ledDNSSuffix comboUtility "
        "editUtilityTarget btnDontResolveAddress btnTraceHops spinTraceHopsNum btnReplyWait spinReplyWaitTime "
        "btnEndlessPing btnResolveAddress btnPingEchoRqv spinPingEchoRqvNum btnClearOutput btnStartUtility "
        "editUtilityOutput btnLoad btnSave buttonOk btnApply buttonCancel").split(QLatin1Char(' '));
    // Once round the chain; compound widgets put their own parts in between.
    QStringList seen;
    QWidget* w = m_Form->tbPageMain;
    do {
        if (expected.contains(w->objectName()) && !seen.contains(w->objectName()))
            seen << w->objectName();
        w = w->nextInFocusChain();
    } while (w != m_Form->tbPageMain);
    QCOMPARE(seen, expected);
}

void TestForm::constructionReachesNoSlot()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral("Not implemented yet")));
    BareForm form;
    QVERIFY(form.editUtilityOutput->toPlainText().isEmpty());
}

void TestForm::slotOrderAndWarnings()
{
    const QStringList expected = {
        "SelectAdapter(int)", "DHCPEnable(int)", "DHCPDisable(int)", "HaveWINS(int)", "DNSAuto(int)",
        "SaveToFile()", "ApplyClick()", "OKClick()", "MapNetDrive()", "btnRenew_clicked()",
        "btnRelease_clicked()", "btnRenewRelease_clicked()", "SelectNetTab(int)", "DisconnectDrive()",
        "ledControl_textChanged(QString)", "SelectMainTab(int)", "EditGateways()", "EditDNSServers()",
        "LoadFromFile()", "CancelClick()", "OnChangeUtility(int)", "OnChangeUtilityTarget(QString)",
        "OnStartUtility()", "OnOutputTextChanged()", "OnClearUtilityOutput()", "DHCPSettingsChange(int)",
        "languageChange()"};
    const QMetaObject& mo = CNetConfig::staticMetaObject;
    QStringList declared;
    for (int i = mo.methodOffset(); i < mo.methodCount(); ++i)
        declared << QString::fromLatin1(mo.method(i).methodSignature());
    QCOMPARE(declared, expected);
    QCOMPARE(mo.method(mo.indexOfSlot("languageChange()")).access(), QMetaMethod::Protected);

    // Every slot with a body of its own says so and changes nothing.
    BareForm form;
    for (const QString& signature : expected.first(expected.count() - 1)) {
        if (signature.startsWith(QLatin1String("On")))
            continue;
        const QMetaMethod method = mo.method(mo.indexOfSlot(signature.toLatin1()));
        QCOMPARE(method.access(), QMetaMethod::Public);
        QString shown = signature;
        shown.replace(QLatin1String("(QString)"), QLatin1String("(const QString&)"));
        QTest::ignoreMessage(QtWarningMsg, qPrintable(QStringLiteral("CNetConfig::%1: Not implemented yet").arg(shown)));
        if (signature.contains(QLatin1String("(int)")))
            QVERIFY(method.invoke(&form, Qt::DirectConnection, Q_ARG(int, 0)));
        else if (signature.contains(QLatin1String("QString")))
            QVERIFY(method.invoke(&form, Qt::DirectConnection, Q_ARG(QString, QString())));
        else
            QVERIFY(method.invoke(&form, Qt::DirectConnection));
    }
}

// The pictures come from the application's resource, 16 pixels at every
// pixel ratio.
void TestForm::appImages()
{
    for (const QString name : {"networks_small", "vendor_net_small", "shared_small", "domain_small"}) {
        QCOMPARE(AppImage(name).deviceIndependentSize(), QSizeF(16, 16));
        const QIcon icon = AppIcon(name);
        QCOMPARE(icon.availableSizes().first(), QSize(16, 16));
        QVERIFY2(icon.availableSizes().contains(QSize(32, 32)), qPrintable(name));
    }
    QVERIFY(AppImage(QStringLiteral("networks_small_missing")).isNull());
}

QTEST_MAIN(TestForm)
#include "tst_form.moc"
