#include "baselib.h"
#include "filedialog.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

class TestFileDialog : public QObject
{
    Q_OBJECT

private:
    // Runs fn on the file dialog once it is up (as a person would act on it).
    static void whenDialogShows(std::function<void(QFileDialog*)> fn)
    {
        auto* timer = new QTimer;
        timer->setInterval(10);
        connect(timer, &QTimer::timeout, timer, [timer, fn] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                timer->stop();
                timer->deleteLater();
                fn(dialog);
            }
        });
        timer->start();
    }

    static void fillForSave(FileDialogParams& p)
    {
        p.m_Options1 = 92;
        p.m_Options2 = 7;
        p.m_Options3 = 17;
        p.m_Mode = FileDialogSave;
        p.m_Filters.append(CFilterDesc(QStringLiteral("Ini Files (*.ini)"), QStringLiteral("*.ini")));
        p.m_Caption = QStringLiteral("Save to file");
        p.m_DefaultName = QStringLiteral("network.ini");
        p.m_SettingsName = QStringLiteral("CNetConfigImpl");
    }

private slots:
    void nameFilters_data()
    {
        QTest::addColumn<QString>("desc");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("filter");
        QTest::newRow("described") << "Ini Files (*.ini)" << "*.ini" << "Ini Files (*.ini)";
        QTest::newRow("patterns added") << "Ini Files" << "*.ini" << "Ini Files (*.ini)";
        QTest::newRow("several patterns") << "Text" << "*.txt;*.log" << "Text (*.txt *.log)";
        QTest::newRow("pattern only") << "" << "*.ini" << "*.ini";
    }
    void nameFilters()
    {
        QFETCH(QString, desc);
        QFETCH(QString, pattern);
        QFETCH(QString, filter);
        QCOMPARE(FileDialogNameFilters({CFilterDesc(desc, pattern)}), QStringList{filter});
    }

    void seamAnswersOnce()
    {
        FileDialogParams p;
        fillForSave(p);
        SetNextFileDialogAnswer(QStringLiteral("/tmp/chosen.ini"), true);
        QVERIFY(GetFileName(nullptr, &p) != 0);
        QCOMPARE(p.m_Result.GetPath(false), QStringLiteral("/tmp/chosen.ini"));

        // The next call shows the real dialog again.
        bool shown = false;
        whenDialogShows([&](QFileDialog* d) {
            shown = true;
            d->reject();
        });
        QCOMPARE(GetFileName(nullptr, &p), 0);
        QVERIFY(shown);
    }

    void seamCancels()
    {
        FileDialogParams p;
        fillForSave(p);
        p.m_Result.SetPath(QStringLiteral("/old"));
        SetNextFileDialogAnswer(QStringLiteral("/tmp/ignored.ini"), false);
        QCOMPARE(GetFileName(nullptr, &p), 0);
        QCOMPARE(p.m_Result.GetPath(false), QStringLiteral("/old"));
    }

    void saveDialog()
    {
        QTemporaryDir dir;
        FileDialogParams p;
        fillForSave(p);
        // Seen on the dialog; checked after it has closed so a failure cannot hang the run.
        int mode = -1;
        QString title, preset;
        QStringList filters;
        whenDialogShows([&](QFileDialog* d) {
            mode = d->acceptMode();
            title = d->windowTitle();
            filters = d->nameFilters();
            preset = d->selectedFiles().value(0);
            d->setDirectory(dir.path());
            // Typed as a person would (selectFile leaves a focused field alone).
            if (auto* edit = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                edit->setText(QStringLiteral("office")); // the suffix comes from the filter
            static_cast<QDialog*>(d)->accept(); // as the dialog's own button does
        });
        QVERIFY(GetFileName(nullptr, &p) != 0);
        QCOMPARE(mode, int(QFileDialog::AcceptSave));
        QCOMPARE(title, QStringLiteral("Save to file"));
        QCOMPARE(filters, QStringList{"Ini Files (*.ini)"});
        QVERIFY(preset.endsWith(QLatin1String("/network.ini")));
        QCOMPARE(p.m_Result.GetPath(false), dir.filePath(QStringLiteral("office.ini")));

        // The folder is remembered for the next dialog with the same name.
        QString folder;
        whenDialogShows([&](QFileDialog* d) {
            folder = QDir(d->directory()).canonicalPath();
            d->reject();
        });
        QCOMPARE(GetFileName(nullptr, &p), 0);
        QCOMPARE(folder, QDir(dir.path()).canonicalPath());
    }

    void openDialogWantsAnExistingFile()
    {
        QTemporaryDir dir;
        QFile existing(dir.filePath(QStringLiteral("network.ini")));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();

        FileDialogParams p;
        fillForSave(p);
        p.m_Mode = FileDialogOpen;
        int mode = -1, fileMode = -1;
        whenDialogShows([&](QFileDialog* d) {
            mode = d->acceptMode();
            fileMode = d->fileMode();
            d->setDirectory(dir.path());
            if (auto* edit = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                edit->setText(QStringLiteral("network.ini"));
            static_cast<QDialog*>(d)->accept(); // as the dialog's own button does
        });
        QVERIFY(GetFileName(nullptr, &p) != 0);
        QCOMPARE(mode, int(QFileDialog::AcceptOpen));
        QCOMPARE(fileMode, int(QFileDialog::ExistingFile));
        QCOMPARE(p.m_Result.GetPath(false), existing.fileName());
    }
};

int main(int argc, char** argv)
{
    // The remembered folders go into settings of a throw-away home.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    CQuarvelApp app(argc, argv);
    TestFileDialog test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_filedialog.moc"
