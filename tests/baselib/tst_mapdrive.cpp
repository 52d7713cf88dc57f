// The map-drive dialog on the emulated host: which letters it offers and
// the deviceless connection.
#include "mapdrivedriver.h"
#include "msgboxrecorder.h"
#include "testenv.h"

#include <winsys.h>
#include <winsys/hive.h>
#include <winsys/host.h>

#include <QtTest>

namespace {

QStringList Offered(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
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
    QStringList list;
    if (NetUseEnum(nullptr, 0, &buffer, MAX_PREFERRED_LENGTH, &read, &total, &resume) != NERR_Success)
        return {QStringLiteral("unreadable")};
    const auto* entries = reinterpret_cast<const USE_INFO_0*>(buffer);
    for (DWORD i = 0; i < read; ++i)
        list << QString::fromUtf16(reinterpret_cast<const char16_t*>(entries[i].ui0_local)) + u'=' +
                    QString::fromUtf16(reinterpret_cast<const char16_t*>(entries[i].ui0_remote));
    NetApiBufferFree(buffer);
    return list;
}

} // namespace

class TestMapDrive : public QObject
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

    // Neither the machine's own drives nor letters in use; the highest free
    // letter is proposed, and a connection without a letter is offered last.
    void offeredLetters_data()
    {
        QTest::addColumn<QStringList>("localDrives");
        QTest::addColumn<QString>("taken");
        QTest::addColumn<QString>("proposed");
        QTest::newRow("sample host: C: and the mapped Z:") << QStringList{"C:"} << "CZ"
                                                           << "Y:";
        QTest::newRow("local D: and E:") << QStringList{"C:", "D:", "E:"} << "CDEZ"
                                         << "Y:";
        QTest::newRow("C: even when not declared") << QStringList() << "CZ"
                                                   << "Y:";
        QTest::newRow("local Y:") << QStringList{"Y:"} << "CYZ"
                                  << "X:";
    }

    void offeredLetters()
    {
        QFETCH(QStringList, localDrives);
        QFETCH(QString, taken);
        QFETCH(QString, proposed);
        std::vector<std::string> drives;
        for (const QString& d : localDrives)
            drives.push_back(d.toStdString());
        winsys::ModifyHive([&](winsys::Hive& h) {
            h.SetMultiString(winsys::keys::kEmulatedHost, "LocalDrives", drives);
            return 0u;
        });
        CMapDriveDialog dialog;
        QCOMPARE(Offered(dialog.driveCombo()), LettersExcept(taken) << QStringLiteral("(none)"));
        QCOMPARE(dialog.driveCombo()->currentText(), proposed);
    }

    // Without a letter the folder is connected by its path, and the system
    // would not remember it, so reconnecting is not offered.
    void devicelessConnection()
    {
        bool reconnectOffered = true;
        WhenMapDriveDialogShown([&](CMapDriveDialog* dialog) {
            const int none = dialog->driveCombo()->findText(QStringLiteral("(none)"));
            if (none < 0)
                return dialog->reject();
            dialog->driveCombo()->setCurrentIndex(none);
            reconnectOffered = dialog->reconnectBox()->isEnabled();
            FillAndFinish(dialog, QStringLiteral("(none)"), QStringLiteral("\\\\fileserver\\home\\"), true);
        });
        const int result = MapNetworkDrive(nullptr, 0);

        QCOMPARE(result, 0);
        QVERIFY(!reconnectOffered);
        QCOMPARE(m_Boxes.texts(), QStringList());
        QCOMPARE(Connections(),
                 (QStringList{"Z:=\\\\fileserver\\public", "=\\\\fileserver\\scans", "=\\\\fileserver\\home"}));
    }

    // Every letter in use: the deviceless connection is still there.
    void noFreeLetter()
    {
        QStringList all = LettersExcept(QString());
        std::vector<std::string> drives;
        for (const QString& d : all)
            drives.push_back(d.toStdString());
        winsys::ModifyHive([&](winsys::Hive& h) {
            h.SetMultiString(winsys::keys::kEmulatedHost, "LocalDrives", drives);
            return 0u;
        });
        CMapDriveDialog dialog;
        QCOMPARE(Offered(dialog.driveCombo()), QStringList{QStringLiteral("(none)")});
        dialog.folderEdit()->setText(QStringLiteral("\\\\fileserver\\home"));
        QVERIFY(dialog.finishButton()->isEnabled());
    }

private:
    std::unique_ptr<TestEnv> m_Env;
    MsgBoxRecorder m_Boxes;
};

QTEST_MAIN(TestMapDrive)
#include "tst_mapdrive.moc"
