// Process snapshots and termination on this machine's real processes.
#include <QtTest>

#include <winsys.h>

#include <unistd.h>

namespace {

struct Entry {
    DWORD pid = 0, parent = 0;
    QString name;
};

QList<Entry> Snapshot()
{
    QList<Entry> list;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return list;
    PROCESSENTRY32W e{};
    e.dwSize = sizeof e;
    for (BOOL ok = Process32FirstW(snap, &e); ok; ok = Process32NextW(snap, &e))
        list.append({e.th32ProcessID, e.th32ParentProcessID, QString::fromUtf16(e.szExeFile)});
    CloseHandle(snap);
    return list;
}

}  // namespace

class TestProcess : public QObject
{
    Q_OBJECT

private slots:
    void snapshotListsChildByImageName()
    {
        QProcess sleeper;
        sleeper.start("sleep", {"60"});
        QVERIFY(sleeper.waitForStarted());
        const auto pid = DWORD(sleeper.processId());
        const QString self = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
        bool found = false, selfFound = false;
        for (const Entry& e : Snapshot()) {
            selfFound = selfFound || (e.pid == GetCurrentProcessId() && e.name == self);
            if (e.pid == pid) {
                found = true;
                QCOMPARE(e.name, QString("sleep"));
                QCOMPARE(e.parent, DWORD(::getpid()));
            }
        }
        QVERIFY(found && selfFound);
        sleeper.kill();
        sleeper.waitForFinished();
    }

    void snapshotWalk()
    {
        HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        QVERIFY(snap != INVALID_HANDLE_VALUE);
        PROCESSENTRY32W e{};
        e.dwSize = 10;
        QCOMPARE(Process32FirstW(snap, &e), FALSE);
        QCOMPARE(GetLastError(), DWORD(ERROR_BAD_LENGTH));
        e.dwSize = sizeof e;
        int count = 0;
        for (BOOL ok = Process32FirstW(snap, &e); ok; ok = Process32NextW(snap, &e))
            ++count;
        QCOMPARE(GetLastError(), DWORD(ERROR_NO_MORE_FILES));
        QVERIFY(count > 1);
        QCOMPARE(Process32FirstW(snap, &e), TRUE);   // the walk can start again
        QCOMPARE(CloseHandle(snap), TRUE);
        QCOMPARE(CloseHandle(snap), FALSE);
        QCOMPARE(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
        QCOMPARE(Process32FirstW(snap, &e), FALSE);
        QCOMPARE(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    }

    void terminateRealChild()
    {
        QProcess sleeper;
        sleeper.start("sleep", {"60"});
        QVERIFY(sleeper.waitForStarted());
        HANDLE h = OpenProcess(PROCESS_TERMINATE, FALSE, DWORD(sleeper.processId()));
        QVERIFY(h);
        QCOMPARE(WaitForSingleObject(h, 0), DWORD(WAIT_TIMEOUT));
        DWORD code = 0;
        QCOMPARE(GetExitCodeProcess(h, &code), TRUE);
        QCOMPARE(code, DWORD(STILL_ACTIVE));
        QCOMPARE(TerminateProcess(h, 0), TRUE);
        QVERIFY(sleeper.waitForFinished(30000));
        QCOMPARE(sleeper.exitStatus(), QProcess::CrashExit);
        QCOMPARE(WaitForSingleObject(h, INFINITE), DWORD(WAIT_OBJECT_0));
        QCOMPARE(TerminateProcess(h, 0), FALSE);   // already gone
        QCOMPARE(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
        QCOMPARE(CloseHandle(h), TRUE);
    }

    void openProcessErrors()
    {
        QVERIFY(!OpenProcess(PROCESS_TERMINATE, FALSE, 0));
        QCOMPARE(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
        QVERIFY(!OpenProcess(PROCESS_TERMINATE, FALSE, 0x7FFFFFF0));   // above any pid_max
        QCOMPARE(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
        QCOMPARE(TerminateProcess(reinterpret_cast<HANDLE>(0x1234), 0), FALSE);
        QCOMPARE(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
        QCOMPARE(WaitForSingleObject(reinterpret_cast<HANDLE>(0x1234), 0), DWORD(WAIT_FAILED));
    }
};

QTEST_GUILESS_MAIN(TestProcess)
#include "tst_process.moc"
