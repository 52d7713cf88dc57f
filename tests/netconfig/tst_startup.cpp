// The real program: the failed start, the remembered adapter row, kill mode, the dialog run in this process.
#include "applytestutil.h"
#include "baselib.h"
#include "entry.h"
#include "hosthive.h"
#include "settingsfiletest.h"
#include "xmlsettings.h"

#include <sys/wait.h>
#include <unistd.h>

using namespace applytest;

namespace {

QString SettingsFile(const TestEnv& env)
{
    return QDir(env.configDir()).filePath(QStringLiteral("netconfig/settings.xml"));
}

QByteArray FileText(const QByteArray& path)
{
    QFile file(QString::fromLocal8Bit(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QDateTime kOldTime(QDate(2020, 1, 2), QTime(3, 4, 5), Qt::UTC);

// Another program's block first, then the row, dated in the past.
bool StoreRow(const TestEnv& env, const QString& row)
{
    QFile file(SettingsFile(env));
    const QByteArray text = QStringLiteral("<settings><block name=\"Other\"><value name=\"Key\">kept</value></block>"
                                           "<block name=\"CNetConfigImpl\"><value name=\"NetConfigActiveAdapter\">"
                                           "%1</value></block></settings>\n")
                                .arg(row)
                                .toUtf8();
    return QDir().mkpath(QFileInfo(file).path()) && file.open(QIODevice::WriteOnly) &&
           file.write(text) == text.size() && file.flush() &&
           file.setFileTime(kOldTime, QFileDevice::FileModificationTime);
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    // Adapters present, the row the last run stored, the arguments = the row stored after. A start without adapters
    // fails with the system's text and keeps the last good row; a good run rewrites the file only when the row
    // differs. Another program's block stays either way.
    void start_data() { Rows({"0 1 = 1", "1 1 /c /s @saved = 1", "1 2 /c /s @saved = 0"}); }
    void start()
    {
        const bool adapters = Input()[0] == u'1';
        const QString stored = Input()[1], after = Expected();
        TestEnv env;
        QVERIFY(env.initSampleHost() && StoreRow(env, stored));
        if (!adapters) {
            HostHive host;
            host.RemoveAdapters();
            QVERIFY(host.WriteTo(env));
        }
        const QStringList args = Input().mid(2).replaceInStrings(QStringLiteral("@saved"), env.path("saved.ini"));
        QString errors;
        QCOMPARE(env.runNetconfig(args, &errors), adapters ? 0 : 1);
        QCOMPARE(errors.count(QLatin1String("netconfig: The network is not present or not started.")), int(!adapters));
        QCOMPARE(QFileInfo(SettingsFile(env)).lastModified().toUTC() != kOldTime, stored != after);
        const CXMLSettingsBlock root = CXMLSettingsBlock::OpenRoot(SettingsFile(env));
        QCOMPARE(root.GetFirstChildBlock(QStringLiteral("CNetConfigImpl")).GetText("NetConfigActiveAdapter"), after);
        QCOMPARE(root.GetFirstChildBlock(QStringLiteral("Other")).GetText(QStringLiteral("Key")),
                 QStringLiteral("kept"));
    }

    // How the process is named = killed, exit code. An ended process nobody has waited for cannot be terminated.
    void kill_data() { Rows({"part = 1 1", "pid = 1 1", "other = 0 1", "ended = 0 0"}); }
    void kill()
    {
        const QString how = Row()[0];
        const bool killed = Expected().startsWith(u'1');
        const int exitCode = Expected().endsWith(u'1');
        // A copy of sleep under a name no other process carries.
        QTemporaryDir dir;
        const QString name =
            QStringLiteral("nck%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        QVERIFY(QFile::copy(QStandardPaths::findExecutable(QStringLiteral("sleep")), dir.filePath(name)));
        QVERIFY(QFile::setPermissions(dir.filePath(name), QFile::ReadOwner | QFile::ExeOwner));
        const QByteArray program = QFile::encodeName(dir.filePath(name));
        QProcess child;
        pid_t ended = 0;
        if (how == QLatin1String("ended")) {
            ended = fork();
            if (ended == 0) {
                execl(program.constData(), program.constData(), "0", static_cast<char*>(nullptr));
                _exit(127);
            }
            QTRY_VERIFY(QString::fromLatin1(FileText("/proc/" + QByteArray::number(ended) + "/stat")).contains(") Z "));
        } else {
            child.start(dir.filePath(name), {QStringLiteral("300")});
            QVERIFY(child.waitForStarted());
        }

        const QString text = how == QLatin1String("part") || ended ? name.mid(1, 7).toUpper()
                             : how == QLatin1String("pid")         ? QString::number(child.processId())
                                                                   : name + QStringLiteral("x");
        TestEnv env;
        QString errors;
        QCOMPARE(env.runNetconfig({QStringLiteral("-kill"), text}, &errors), exitCode);
        if (ended)
            QCOMPARE(waitpid(ended, nullptr, 0), ended);
        else if (killed)
            QVERIFY(child.waitForFinished(30000));
        else
            QCOMPARE(child.state(), QProcess::Running);
        // Kill mode reports nothing and never starts the application.
        QVERIFY2(errors.trimmed().isEmpty(), qPrintable(errors));
        QVERIFY(!QFileInfo::exists(SettingsFile(env)));
        child.kill();
        child.waitForFinished();
    }

    // The file named first is loaded, not applied; the application settings can hide the utilities page; Cancel
    // ends the run.
    void dialogMode()
    {
        TestEnv env;
        const QString file = env.path(QStringLiteral("in.ini"));
        QVERIFY(env.initSampleHost() && settingstest::WriteText(file, "[Interface1]\nprotocol=192.168.1.77\n"));
        const QString before = env.readHive();
        const auto run = [](QByteArray fileName) {
            QString seen;
            QTimer poll;
            poll.setInterval(10);
            QObject::connect(&poll, &QTimer::timeout, [&seen, &poll] {
                for (QWidget* widget : QApplication::topLevelWidgets()) {
                    auto* dialog = qobject_cast<CNetConfigImpl*>(widget);
                    if (dialog && dialog->isVisible()) {
                        poll.stop();
                        seen = QStringLiteral("%1 tabs, %2, %3, apply %4")
                                   .arg(dialog->tbPageMain->count())
                                   .arg(dialog->tbPageMain->tabText(2), dialog->AdaptersPage()->ledIPAddress->text())
                                   .arg(dialog->btnApply->isEnabled());
                        dialog->buttonCancel->click();
                    }
                }
            });
            poll.start();
            QByteArray program("netconfig");
            char* argv[] = {program.data(), fileName.data(), nullptr};
            return NetConfigMain(fileName.isEmpty() ? 1 : 2, argv) == 0 ? seen : QStringLiteral("failed");
        };
        QCOMPARE(run(QByteArray()), QStringLiteral("4 tabs, Network identification, 192.168.1.5, apply 0"));
        qobject_cast<CQuarvelApp*>(qApp)->GetAppSettings().PutText(QStringLiteral("Netconfig_Utilities"),
                                                                   QStringLiteral("false"));
        QCOMPARE(run(QFile::encodeName(file)), QStringLiteral("3 tabs, Network identification, 192.168.1.77, apply 1"));
        QCOMPARE(env.readHive(), before);
    }
};

// The program's own application object, as the entry makes it, so that the dialog run reads the application
// settings.
int main(int argc, char** argv)
{
    CQuarvelApp app(argc, argv);
    TestStartup test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_startup.moc"
