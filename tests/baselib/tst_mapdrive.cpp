#include "mapdrivedriver.h"
#include "msgbox.h"
#include "testenv.h"

#include <winsys.h>
#include <winsys/hive.h>
#include <winsys/host.h>

#include <QLabel>
#include <QtTest>

#include <memory>

namespace {

QStringList Letters(char first, char last, const QString& except = QString())
{
    QStringList letters;
    for (char c = first; c <= last; ++c) {
        const QString letter = QLatin1Char(c) + QStringLiteral(":");
        if (!except.contains(letter))
            letters << letter;
    }
    return letters;
}

bool HostHasConnection(const QString& local, const QString& remote)
{
    bool found = false;
    winsys::ReadHive([&](const winsys::Hive& hive) {
        for (const std::string& sub : hive.SubKeys(winsys::keys::kConnections)) {
            const std::string key = std::string(winsys::keys::kConnections) + "\\" + sub;
            found =
                found ||
                (QString::fromStdString(hive.GetString(key, "LocalName")).compare(local, Qt::CaseInsensitive) == 0 &&
                 QString::fromStdString(hive.GetString(key, "RemoteName")) == remote);
        }
        return 0u;
    });
    return found;
}

} // namespace

// The map-drive dialog of the base library against the emulated host.
class TestMapDrive : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void folderValidation_data();
    void folderValidation();
    void freeLetters_data();
    void freeLetters();
    void finishFollowsTyping();
    void mapsAndReturnsZero_data();
    void mapsAndReturnsZero();
    void refusedConnectionKeepsDialogOpen();
    void usedLetterIsRefusedWithSystemText();
    void providerDescriptionForExtendedError();
    void enterWithInvalidFolderDoesNothing();
    void cancelReturnsMinusOne();

private:
    std::unique_ptr<TestEnv> m_Env;
};

void TestMapDrive::init()
{
    m_Env = std::make_unique<TestEnv>();
    QVERIFY(m_Env->initSampleHost());
    QuarvelMsgBoxHistory().clear();
}

void TestMapDrive::cleanup()
{
    m_Env.reset();
}

void TestMapDrive::folderValidation_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("valid");
    QTest::newRow("server and share") << "\\\\fileserver\\home" << true;
    QTest::newRow("with a path") << "\\\\fileserver\\home\\docs\\2024" << true;
    QTest::newRow("trailing backslash") << "\\\\fileserver\\home\\" << true;
    QTest::newRow("blank inside a share") << "\\\\server\\my share" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("server only") << "\\\\server" << false;
    QTest::newRow("one leading backslash") << "\\server\\share" << false;
    QTest::newRow("no leading backslashes") << "server\\share" << false;
    QTest::newRow("forward slashes") << "//server/share" << false;
    QTest::newRow("empty share") << "\\\\server\\\\share" << false;
    QTest::newRow("two trailing backslashes") << "\\\\server\\share\\\\" << false;
    QTest::newRow("blank in server") << "\\\\file server\\share" << false;
    QTest::newRow("share starts with blank") << "\\\\server\\ share" << false;
    QTest::newRow("forbidden character") << "\\\\server\\sh*re" << false;
    QTest::newRow("local path") << "C:\\folder" << false;
    QTest::newRow("leading blank") << " \\\\server\\share" << false;
}

void TestMapDrive::folderValidation()
{
    QFETCH(QString, folder);
    QFETCH(bool, valid);
    QCOMPARE(CMapDriveDialog::IsValidFolder(folder), valid);
}

void TestMapDrive::freeLetters_data()
{
    QTest::addColumn<QStringList>("connected");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("sample host") << QStringList{} << Letters('D', 'Y');
    QTest::newRow("more letters in use") << QStringList{"e:", "M:", "\\\\odd"} << Letters('D', 'Y', "E: M:");
}

void TestMapDrive::freeLetters()
{
    QFETCH(QStringList, connected);
    QFETCH(QStringList, expected);
    const uint32_t rc = winsys::ModifyHive([&](winsys::Hive& hive) {
        for (int i = 0; i < connected.size(); ++i) {
            const std::string key = std::string(winsys::keys::kConnections) + "\\" + std::to_string(10 + i);
            const bool deviceless = connected[i].startsWith(QLatin1Char('\\'));
            hive.SetString(key, "LocalName", deviceless ? std::string() : connected[i].toStdString());
            hive.SetString(key, "RemoteName", "\\\\fileserver\\public");
            hive.SetDword(key, "OpenFiles", 0);
        }
        return 0u;
    });
    QCOMPARE(rc, 0u);
    QCOMPARE(CMapDriveDialog::FreeDriveLetters(), expected);
    CMapDriveDialog dialog;
    QStringList offered;
    for (int i = 0; i < dialog.driveCombo()->count(); ++i)
        offered << dialog.driveCombo()->itemText(i);
    QCOMPARE(offered, expected);
    QCOMPARE(dialog.driveCombo()->currentText(), expected.last());   // the highest free letter
    QVERIFY(dialog.reconnectBox()->isChecked());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Map Network Drive"));
}

void TestMapDrive::finishFollowsTyping()
{
    CMapDriveDialog dialog;
    QVERIFY(!dialog.finishButton()->isEnabled());
    dialog.folderEdit()->setFocus();
    QTest::keyClicks(dialog.folderEdit(), QStringLiteral("\\\\fileserver"));
    QVERIFY(!dialog.finishButton()->isEnabled());
    QTest::keyClicks(dialog.folderEdit(), QStringLiteral("\\h"));
    QVERIFY(dialog.finishButton()->isEnabled());
    QTest::keyClicks(dialog.folderEdit(), QStringLiteral("ome|"));
    QVERIFY(!dialog.finishButton()->isEnabled());
    QTest::keyClick(dialog.folderEdit(), Qt::Key_Backspace);
    QVERIFY(dialog.finishButton()->isEnabled());
}

void TestMapDrive::mapsAndReturnsZero_data()
{
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("typed");
    QTest::newRow("plain") << "H:" << "\\\\fileserver\\home";
    QTest::newRow("trailing backslash dropped") << "Y:" << "\\\\fileserver\\home\\";
}

void TestMapDrive::mapsAndReturnsZero()
{
    QFETCH(QString, letter);
    QFETCH(QString, typed);
    WhenMapDriveDialogShown([&](CMapDriveDialog* dialog) { FillAndFinish(dialog, letter, typed, false); });
    QCOMPARE(MapNetworkDrive(nullptr, 0), 0);
    QVERIFY(QuarvelMsgBoxHistory().isEmpty());
    QVERIFY(HostHasConnection(letter, QStringLiteral("\\\\fileserver\\home")));
    // The letter is taken now, so the next dialog does not offer it.
    QVERIFY(!CMapDriveDialog::FreeDriveLetters().contains(letter));
}

void TestMapDrive::refusedConnectionKeepsDialogOpen()
{
    bool stayedOpen = false;
    bool retried = false;
    WhenMapDriveDialogShown([&](CMapDriveDialog* dialog) {
        FillAndFinish(dialog, QStringLiteral("Y:"), QStringLiteral("\\\\fileserver\\nothere"), true);
        stayedOpen = dialog->isVisible() && dialog->lastError() == 67;
        // The user corrects the path in the same dialog.
        dialog->folderEdit()->setText(QStringLiteral("\\\\fileserver\\home"));
        dialog->finishButton()->click();
        retried = true;
    });
    QCOMPARE(MapNetworkDrive(nullptr, 0), 0);
    QVERIFY(stayedOpen);
    QVERIFY(retried);
    QCOMPARE(QuarvelMsgBoxHistory().size(), 1);
    QVERIFY(!QuarvelMsgBoxHistory().first().isEmpty());
    QVERIFY(!HostHasConnection(QStringLiteral("Y:"), QStringLiteral("\\\\fileserver\\nothere")));
    QVERIFY(HostHasConnection(QStringLiteral("Y:"), QStringLiteral("\\\\fileserver\\home")));
}

void TestMapDrive::usedLetterIsRefusedWithSystemText()
{
    // Another program takes the letter while the dialog is open.
    WhenMapDriveDialogShown([](CMapDriveDialog* dialog) {
        winsys::ModifyHive([](winsys::Hive& hive) {
            const std::string key = std::string(winsys::keys::kConnections) + "\\9";
            hive.SetString(key, "LocalName", "Y:");
            hive.SetString(key, "RemoteName", "\\\\fileserver\\scans");
            hive.SetDword(key, "OpenFiles", 0);
            return 0u;
        });
        FillAndFinish(dialog, QStringLiteral("Y:"), QStringLiteral("\\\\fileserver\\home"), false);
        dialog->cancelButton()->click();
    });
    QCOMPARE(MapNetworkDrive(nullptr, 0), -1);
    QCOMPARE(QuarvelMsgBoxHistory().size(), 1);
    QVERIFY(!QuarvelMsgBoxHistory().first().isEmpty());
    QVERIFY(!HostHasConnection(QStringLiteral("Y:"), QStringLiteral("\\\\fileserver\\home")));
}

void TestMapDrive::providerDescriptionForExtendedError()
{
    // An unreachable server makes the provider report ERROR_EXTENDED_ERROR.
    QCOMPARE(winsys::ModifyHive([](winsys::Hive& hive) {
                 hive.SetMultiString(winsys::keys::kEmulatedHost, "OfflineServers", {"fileserver"});
                 return 0u;
             }),
             0u);
    unsigned long error = 0;
    WhenMapDriveDialogShown([&](CMapDriveDialog* dialog) {
        FillAndFinish(dialog, QStringLiteral("Y:"), QStringLiteral("\\\\fileserver\\home"), false);
        error = dialog->lastError();
        dialog->cancelButton()->click();
    });
    QCOMPARE(MapNetworkDrive(nullptr, 0), -1);
    QCOMPARE(error, 1208ul);

    WCHAR description[1024] = {};
    WCHAR provider[1024] = {};
    DWORD providerError = 0;
    QCOMPARE(WNetGetLastErrorW(&providerError, description, 1024, provider, 1024), DWORD(NO_ERROR));
    const QString expected = QString::fromUtf16(reinterpret_cast<const char16_t*>(description)).trimmed();
    QVERIFY(!expected.isEmpty());
    QCOMPARE(QuarvelMsgBoxHistory(), QStringList{expected});
}

void TestMapDrive::enterWithInvalidFolderDoesNothing()
{
    CMapDriveDialog dialog;
    dialog.folderEdit()->setText(QStringLiteral("\\\\fileserver"));
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialog.lastError(), 0ul);
    QVERIFY(QuarvelMsgBoxHistory().isEmpty());
}

void TestMapDrive::cancelReturnsMinusOne()
{
    WhenMapDriveDialogShown([](CMapDriveDialog* dialog) {
        dialog->folderEdit()->setText(QStringLiteral("\\\\fileserver\\home"));
        dialog->cancelButton()->click();
    });
    QCOMPARE(MapNetworkDrive(nullptr, 0), -1);
    QVERIFY(!HostHasConnection(QStringLiteral("Y:"), QStringLiteral("\\\\fileserver\\home")));
}

QTEST_MAIN(TestMapDrive)
#include "tst_mapdrive.moc"
