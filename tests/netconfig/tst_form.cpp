#include "appimages.h"
#include "netconfig.h"

#include <QtTest>

namespace {

// QLineEdit reports the mask without its blank part when the blank is a space.
const QString kAddressMask = QStringLiteral("000.000.000.000");
const QString kBlankAddress = QStringLiteral("   .   .   .   ");

// The form with every slot recorded instead of acted on; it also supplies
// the five slots the form leaves pure.
class RecordingForm : public CNetConfig
{
public:
    using CNetConfig::CNetConfig;
    QStringList calls;

    void SelectAdapter(int i) override { Record("SelectAdapter", i); }
    void HaveWINS(int s) override { Record("HaveWINS", s); }
    void DNSAuto(int s) override { Record("DNSAuto", s); }
    void SaveToFile() override { Record("SaveToFile"); }
    void ApplyClick() override { Record("ApplyClick"); }
    void OKClick() override { Record("OKClick"); }
    void MapNetDrive() override { Record("MapNetDrive"); }
    void btnRenew_clicked() override { Record("btnRenew_clicked"); }
    void btnRelease_clicked() override { Record("btnRelease_clicked"); }
    void DisconnectDrive() override { Record("DisconnectDrive"); }
    void ledControl_textChanged(const QString&) override { Record("ledControl_textChanged:" + sender()->objectName()); }
    void SelectMainTab(int id) override { Record("SelectMainTab", id); }
    void EditGateways() override { Record("EditGateways"); }
    void EditDNSServers() override { Record("EditDNSServers"); }
    void LoadFromFile() override { Record("LoadFromFile"); }
    void CancelClick() override { Record("CancelClick"); }
    void OnChangeUtility(int i) override
    {
        Record("OnChangeUtility", i);
        pageAtUtilityChange = wsUtilityParams->currentWidget()->objectName();
    }
    void OnChangeUtilityTarget(const QString&) override { Record("OnChangeUtilityTarget"); }
    void OnStartUtility() override { Record("OnStartUtility"); }
    void OnOutputTextChanged() override { Record("OnOutputTextChanged"); }
    void OnClearUtilityOutput() override { Record("OnClearUtilityOutput"); }
    void DHCPSettingsChange(int id) override { Record("DHCPSettingsChange", id); }

    QString pageAtUtilityChange;

private:
    void Record(const QString& slot, int arg) { calls << QStringLiteral("%1(%2)").arg(slot).arg(arg); }
    void Record(const QString& slot) { calls << slot; }
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

template <class T>
T* Child(QObject& form, const char* name)
{
    T* w = form.findChild<T*>(QString::fromLatin1(name));
    if (!w)
        qWarning("no child %s", name);
    return w;
}

} // namespace

class TestForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void objectName();
    void widgetClassesAndParents_data();
    void widgetClassesAndParents();
    void textsAndAccelerators_data();
    void textsAndAccelerators();
    void addressFields_data();
    void addressFields();
    void identificationFields();
    void spinBoxesFollowTheirCheckBoxes_data();
    void spinBoxesFollowTheirCheckBoxes();
    void utilityPageRaisedBeforeSlot();
    void utilityTargetAndOutput();
    void connections_data();
    void connections();
    void adapterListAndTabBar();
    void dhcpGroupIds();
    void buttonDefaults_data();
    void buttonDefaults();
    void stackPages();
    void focusChain();
    void sizes();
    void constructionReachesNoSlot();
    void slotOrderAndWarnings();
    void appImages_data();
    void appImages();

private:
    std::unique_ptr<RecordingForm> m_Form;
};

void TestForm::init()
{
    m_Form = std::make_unique<RecordingForm>();
}

void TestForm::objectName()
{
    QCOMPARE(m_Form->objectName(), QStringLiteral("CNetConfig"));
    RecordingForm named(nullptr, "NetConfigImpl");
    QCOMPARE(named.objectName(), QStringLiteral("NetConfigImpl"));
    QVERIFY(!named.isModal());
    RecordingForm modal(nullptr, nullptr, true);
    QVERIFY(modal.isModal());
}

void TestForm::widgetClassesAndParents_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("parentName");
    const char* rows[][3] = {
        {"frame3", "QFrame", "CNetConfig"}, {"tbPageMain", "CTabBarEx", "frame3"},
        {"wsMain", "QStackedWidget", "frame3"}, {"lbAdapter", "QLabel", "WStackPage"},
        {"cbAdapters", "QComboBox", "WStackPage"}, {"groupBox1", "QGroupBox", "WStackPage"},
        {"btnGateways", "QPushButton", "groupBox1"}, {"rbtnManual", "QRadioButton", "groupBox1"},
        {"btnRelease", "QPushButton", "groupBox1"}, {"lexMask", "CLabelEx", "groupBox1"},
        {"lexIPAddress", "CLabelEx", "groupBox1"}, {"lexDefGate", "CLabelEx", "groupBox1"},
        {"btnRenew", "QPushButton", "groupBox1"}, {"rbtnAuto", "QRadioButton", "groupBox1"},
        {"ledGateway", "CLineEdit", "groupBox1"}, {"ledSubNet", "CLineEdit", "groupBox1"},
        {"ledIPAddress", "CLineEdit", "groupBox1"}, {"groupBox2", "QGroupBox", "WStackPage"},
        {"lexSecondWINS", "CLabelEx", "groupBox2"}, {"lexPrimaryWINS", "CLabelEx", "groupBox2"},
        {"ckbDNSAuto", "QCheckBox", "groupBox2"}, {"ckbHaveWins", "QCheckBox", "groupBox2"},
        {"btnDNSServers", "QPushButton", "groupBox2"}, {"lexDNSServer", "CLabelEx", "groupBox2"},
        {"ledDNSServer", "CLineEdit", "groupBox2"}, {"ledPrimaryWINS", "CLineEdit", "groupBox2"},
        {"ledSecondaryWINS", "CLineEdit", "groupBox2"}, {"chlShareList", "CCheckListControl", "WStackPage_2"},
        {"btnDisconnectDrive", "QPushButton", "WStackPage_2"}, {"btnMapNetDrive", "QPushButton", "WStackPage_2"},
        {"lexGroup_2", "CLabelEx", "WStackPage_3"}, {"lexName", "CLabelEx", "WStackPage_3"},
        {"ledDomain", "CLineEdit", "WStackPage_3"}, {"lexGroup", "CLabelEx", "WStackPage_3"},
        {"ledHostName", "CLineEdit", "WStackPage_3"}, {"ledDNSSuffix", "CLineEdit", "WStackPage_3"},
        {"wsUtilityParams", "QStackedWidget", "WStackPage_4"}, {"btnEndlessPing", "QCheckBox", "WStackPage_5"},
        {"btnResolveAddress", "QCheckBox", "WStackPage_5"}, {"btnPingEchoRqv", "QCheckBox", "WStackPage_5"},
        {"spinPingEchoRqvNum", "QSpinBox", "WStackPage_5"}, {"btnDontResolveAddress", "QCheckBox", "WStackPage_6"},
        {"btnTraceHops", "QCheckBox", "WStackPage_6"}, {"btnReplyWait", "QCheckBox", "WStackPage_6"},
        {"spinReplyWaitTime", "QSpinBox", "WStackPage_6"}, {"spinTraceHopsNum", "QSpinBox", "WStackPage_6"},
        {"textLabel2", "QLabel", "WStackPage_4"}, {"textLabel3", "QLabel", "WStackPage_4"},
        {"editUtilityTarget", "CLineEdit", "WStackPage_4"}, {"comboUtility", "QComboBox", "WStackPage_4"},
        {"frame5", "QFrame", "WStackPage_4"}, {"btnClearOutput", "QPushButton", "frame5"},
        {"btnStartUtility", "QPushButton", "frame5"}, {"editUtilityOutput", "QTextBrowser", "WStackPage_4"},
        {"line1", "QFrame", "CNetConfig"}, {"frame4", "QFrame", "CNetConfig"},
        {"btnLoad", "QPushButton", "frame4"}, {"btnSave", "QPushButton", "frame4"},
        {"buttonOk", "QPushButton", "frame4"}, {"btnApply", "QPushButton", "frame4"},
        {"buttonCancel", "QPushButton", "frame4"},
    };
    for (const auto& row : rows)
        QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromLatin1(row[1])
                              << QString::fromLatin1(row[2]);
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
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("accelerator");
    const char* rows[][3] = {
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
    for (const auto& row : rows)
        QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromLatin1(row[1])
                              << QString::fromLatin1(row[2]);
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
    QCOMPARE(edit->inputMask(), kAddressMask);
    QCOMPARE(edit->text(), QStringLiteral("..."));
    QCOMPARE(edit->displayText(), kBlankAddress);

    // Only digits, at most three per group; the dot moves on to the next group.
    edit->setEnabled(true);
    edit->clear();
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("1x92.168.0a.12"));
    QCOMPARE(edit->text(), QStringLiteral("192.168.0.12"));
    edit->setText(QStringLiteral("10.0.0.1"));
    QCOMPARE(edit->text(), QStringLiteral("10.0.0.1"));
    if (name == QLatin1String("ledGateway"))
        QCOMPARE(edit->maxLength(), 15);
}

void TestForm::identificationFields()
{
    QVERIFY(m_Form->ledHostName->isEnabled());
    QVERIFY(m_Form->ledDomain->isEnabled());
    QVERIFY(!m_Form->ledDNSSuffix->isEnabled());
    QVERIFY(m_Form->ledDomain->inputMask().isEmpty());
    QVERIFY(m_Form->ledHostName->inputMask().isEmpty());
    m_Form->ledDomain->setText(QStringLiteral("WORKGROUP"));
    QCOMPARE(m_Form->ledDomain->text(), QStringLiteral("WORKGROUP"));
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
    QCOMPARE(m_Form->comboUtility->currentIndex(), 0);
    QCOMPARE(m_Form->wsUtilityParams->currentWidget()->objectName(), QStringLiteral("WStackPage_5"));

    // The user steps through the list with the keyboard.
    QTest::keyClick(m_Form->comboUtility, Qt::Key_Down);
    QCOMPARE(m_Form->calls, QStringList{QStringLiteral("OnChangeUtility(1)")});
    QCOMPARE(m_Form->pageAtUtilityChange, QStringLiteral("WStackPage_6"));
    QTest::keyClick(m_Form->comboUtility, Qt::Key_Up);
    QCOMPARE(m_Form->calls.last(), QStringLiteral("OnChangeUtility(0)"));
    QCOMPARE(m_Form->pageAtUtilityChange, QStringLiteral("WStackPage_5"));
}

void TestForm::utilityTargetAndOutput()
{
    QCOMPARE(m_Form->editUtilityTarget->placeholderText(), QStringLiteral("Enter IP address or host name"));
    QCOMPARE(m_Form->editUtilityTarget->property("HintText").toString(),
             QStringLiteral("Enter IP address or host name"));
    QVERIFY(m_Form->editUtilityOutput->toPlainText().isEmpty());
    QCOMPARE(m_Form->editUtilityOutput->lineWrapMode(), QTextEdit::NoWrap);
    QVERIFY(!m_Form->btnStartUtility->isEnabled());
    QVERIFY(!m_Form->btnClearOutput->isEnabled());
    QVERIFY(m_Form->wsUtilityParams->isEnabled());

    QTest::keyClicks(m_Form->editUtilityTarget, QStringLiteral("ab"));
    QCOMPARE(m_Form->calls, (QStringList{QStringLiteral("OnChangeUtilityTarget"), QStringLiteral("OnChangeUtilityTarget")}));
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
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(QStringLiteral("1.2.3.4"));
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->click();
    }
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
    QCOMPARE(m_Form->groupBox1Buttons->id(m_Form->rbtnAuto), 0);
    QCOMPARE(m_Form->groupBox1Buttons->id(m_Form->rbtnManual), 1);
    QVERIFY(!m_Form->rbtnAuto->isChecked());
    QVERIFY(!m_Form->rbtnManual->isChecked());
    QCOMPARE(m_Form->groupBox1->isFlat(), true);

    m_Form->rbtnManual->click();
    m_Form->rbtnAuto->click();
    QCOMPARE(m_Form->calls, (QStringList{QStringLiteral("DHCPSettingsChange(1)"), QStringLiteral("DHCPSettingsChange(0)")}));
    QVERIFY(m_Form->rbtnAuto->isChecked() && !m_Form->rbtnManual->isChecked());

    // Push buttons laid out in the group take no part in it.
    m_Form->calls.clear();
    for (QPushButton* button : {m_Form->btnGateways, m_Form->btnRelease, m_Form->btnRenew}) {
        button->setEnabled(true);
        button->click();
    }
    QVERIFY(!m_Form->calls.join(QLatin1Char(' ')).contains(QLatin1String("DHCPSettingsChange")));
}

void TestForm::buttonDefaults_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("autoDefault");
    QTest::addColumn<bool>("isDefault");
    for (const char* name : {"btnGateways", "btnRelease", "btnRenew", "btnDNSServers", "btnApply", "buttonCancel"})
        QTest::newRow(name) << QString::fromLatin1(name) << true << false;
    for (const char* name : {"btnDisconnectDrive", "btnMapNetDrive", "btnLoad", "btnSave"})
        QTest::newRow(name) << QString::fromLatin1(name) << false << false;
    QTest::newRow("buttonOk") << QStringLiteral("buttonOk") << true << true;
}

void TestForm::buttonDefaults()
{
    QFETCH(QString, name);
    QFETCH(bool, autoDefault);
    QFETCH(bool, isDefault);
    auto* button = m_Form->findChild<QPushButton*>(name);
    QVERIFY(button);
    QCOMPARE(button->autoDefault(), autoDefault);
    QCOMPARE(button->isDefault(), isDefault);
}

void TestForm::stackPages()
{
    const QStringList mainPages = {"WStackPage", "WStackPage_2", "WStackPage_3", "WStackPage_4"};
    QCOMPARE(m_Form->wsMain->count(), mainPages.count());
    for (int id = 0; id < mainPages.count(); ++id)
        QCOMPARE(m_Form->wsMain->widget(id)->objectName(), mainPages.at(id));
    QCOMPARE(m_Form->wsUtilityParams->count(), 2);
    QCOMPARE(m_Form->wsUtilityParams->widget(0)->objectName(), QStringLiteral("WStackPage_5"));
    QCOMPARE(m_Form->wsUtilityParams->widget(1)->objectName(), QStringLiteral("WStackPage_6"));
    QCOMPARE(m_Form->tbPageMain->count(), 0);
    QCOMPARE(m_Form->tbPageMain->side(), 0);

    // The tab bar sits above the page stack; the button bar at the bottom.
    QCOMPARE(m_Form->frame3Layout->indexOf(m_Form->tbPageMain), 0);
    QCOMPARE(m_Form->frame3Layout->indexOf(m_Form->wsMain), 1);
    QCOMPARE(m_Form->CNetConfigLayout->indexOf(m_Form->frame4), 2);
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
    // Walk the chain once round from the first widget, noting listed widgets
    // as they come (compound widgets put their own parts in between).
    QStringList seen;
    QWidget* start = m_Form->tbPageMain;
    QWidget* w = start;
    do {
        if (expected.contains(w->objectName()) && !seen.contains(w->objectName()))
            seen << w->objectName();
        w = w->nextInFocusChain();
    } while (w != start);
    QCOMPARE(seen, expected);
}

void TestForm::sizes()
{
    QCOMPARE(m_Form->minimumSize(), QSize(240, 240));
    QCOMPARE(m_Form->maximumSize(), QSize(32767, 32767));
    QCOMPARE(m_Form->baseSize(), QSize(360, 360));
    QVERIFY(m_Form->isSizeGripEnabled());
    QVERIFY(m_Form->width() >= 592);
    QVERIFY(m_Form->height() >= 542);
    QVERIFY(m_Form->width() >= m_Form->minimumSizeHint().width());
    QVERIFY(m_Form->height() >= m_Form->minimumSizeHint().height());
    m_Form->resize(100, 100);
    QCOMPARE(m_Form->size(), QSize(240, 240));
    QCOMPARE(m_Form->windowTitle(), QStringLiteral("Network Configuration"));
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
    const QStringList pure = {"OnChangeUtility(int)", "OnChangeUtilityTarget(QString)", "OnStartUtility()",
                              "OnOutputTextChanged()", "OnClearUtilityOutput()", "languageChange()"};
    for (const QString& signature : expected) {
        if (pure.contains(signature))
            continue;
        QCOMPARE(mo.method(mo.indexOfSlot(signature.toLatin1())).access(), QMetaMethod::Public);
        QString shown = signature;
        shown.replace(QLatin1String("(QString)"), QLatin1String("(const QString&)"));
        QTest::ignoreMessage(QtWarningMsg, qPrintable(QStringLiteral("CNetConfig::%1: Not implemented yet").arg(shown)));
        const QMetaMethod method = mo.method(mo.indexOfSlot(signature.toLatin1()));
        if (signature.contains(QLatin1String("(int)")))
            QVERIFY(method.invoke(&form, Qt::DirectConnection, Q_ARG(int, 0)));
        else if (signature.contains(QLatin1String("QString")))
            QVERIFY(method.invoke(&form, Qt::DirectConnection, Q_ARG(QString, QString())));
        else
            QVERIFY(method.invoke(&form, Qt::DirectConnection));
    }
}

void TestForm::appImages_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name : {"networks_small", "vendor_net_small", "shared_small", "domain_small"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

// The pictures come from the application's resource, 16 pixels at every
// pixel ratio.
void TestForm::appImages()
{
    QFETCH(QString, name);
    const QPixmap pixmap = AppImage(name);
    QVERIFY(!pixmap.isNull());
    QCOMPARE(pixmap.deviceIndependentSize(), QSizeF(16, 16));
    const QIcon icon = AppIcon(name);
    QCOMPARE(icon.availableSizes().first(), QSize(16, 16));
    QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
    QVERIFY(AppImage(name + QStringLiteral("_missing")).isNull());
}

QTEST_MAIN(TestForm)
#include "tst_form.moc"
