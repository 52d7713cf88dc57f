// ShellExecuteExW: program search, parameters, process handles, and the
// shell32 module that the application resolves at run time.
#include <QtTest>

#include <winsys.h>

#include "testenv.h"

#include <memory>

namespace {

struct Run {
    BOOL ok = FALSE;
    ULONG_PTR instance = 0;
    DWORD lastError = 0;
    DWORD exitCode = 0xFFFFFFFF;
};

Run Execute(const QString& file, const QString& params, const QString& dir = QString(),
            ULONG mask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_UNICODE)
{
    const std::u16string f = file.toStdU16String(), p = params.toStdU16String(), d = dir.toStdU16String();
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = mask;
    info.lpFile = f.c_str();
    info.lpParameters = p.c_str();
    info.lpDirectory = dir.isEmpty() ? nullptr : d.c_str();
    info.nShow = SW_HIDE;
    Run run;
    SetLastError(0);
    run.ok = ShellExecuteExW(&info);
    run.lastError = GetLastError();
    run.instance = reinterpret_cast<ULONG_PTR>(info.hInstApp);
    if (info.hProcess) {
        if (WaitForSingleObject(info.hProcess, INFINITE) == WAIT_OBJECT_0)
            GetExitCodeProcess(info.hProcess, &run.exitCode);
        CloseHandle(info.hProcess);
    }
    return run;
}

bool WriteScript(const QString& path, const QString& body, bool executable = true)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(("#!/bin/sh\n" + body + "\n").toUtf8());
    f.close();
    return !executable || f.setPermissions(f.permissions() | QFile::ExeOwner);
}

QString Canonical(const QString& path)
{
    return QFileInfo(path).canonicalFilePath();
}

}  // namespace

class TestShellExecute : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_Env;

private slots:
    void init() { m_Env = std::make_unique<TestEnv>(); }
    void cleanup()
    {
        qunsetenv("WINSYS_SYSTEM_DIR");
        m_Env.reset();
    }

    void exitCodes()
    {
        for (int code : {0, 255}) {
            const Run run = Execute("/bin/sh", QString("-c \"exit %1\"").arg(code));
            QCOMPARE(run.ok, TRUE);
            QVERIFY(run.instance > 32);
            QCOMPARE(run.exitCode, DWORD(code));
        }
    }

    void parametersSplitLikeWindows_data()
    {
        QTest::addColumn<QString>("params");
        QTest::addColumn<QStringList>("args");
        QTest::newRow("words") << "interface ip  set dns 7" << QStringList{"interface", "ip", "set", "dns", "7"};
        QTest::newRow("trailing blank") << "gateway=1.2.3.4 gwmetric=0 " << QStringList{"gateway=1.2.3.4", "gwmetric=0"};
        QTest::newRow("quoted blank") << "name=\"Local Area Connection\" x"
                                      << QStringList{"name=Local Area Connection", "x"};
        QTest::newRow("escaped quote") << "a\\\"b" << QStringList{"a\"b"};
        QTest::newRow("backslashes before quote") << "\"c:\\dir\\\\\" next" << QStringList{"c:\\dir\\", "next"};
        QTest::newRow("doubled quote") << "\"a\"\"b\"" << QStringList{"a\"b"};
        QTest::newRow("empty argument") << "\"\" x" << QStringList{"", "x"};
    }
    void parametersSplitLikeWindows()
    {
        QFETCH(QString, params);
        QFETCH(QStringList, args);
        const QString script = m_Env->path("args.sh"), out = m_Env->path("args.txt");
        QVERIFY(WriteScript(script, "for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > '" + out + "'"));
        QCOMPARE(Execute(script, params).exitCode, DWORD(0));
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QStringList got;
        for (const QString& line : QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts))
            got << line.mid(1, line.size() - 2);
        QCOMPARE(got, args);
    }

    void startFailures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("dir");
        QTest::addColumn<uint>("instance");
        QTest::addColumn<uint>("error");
        QTest::newRow("no such program") << "no-such-program-here" << "" << uint(SE_ERR_FNF) << uint(ERROR_FILE_NOT_FOUND);
        QTest::newRow("not executable") << "plain.sh" << "" << uint(SE_ERR_ACCESSDENIED) << uint(ERROR_ACCESS_DENIED);
        QTest::newRow("no such folder") << "/bin/sh" << "/nonexistent" << uint(SE_ERR_PNF) << uint(ERROR_PATH_NOT_FOUND);
        QTest::newRow("empty file") << "" << "" << uint(SE_ERR_FNF) << uint(ERROR_FILE_NOT_FOUND);
    }
    void startFailures()
    {
        QFETCH(QString, file);
        QFETCH(QString, dir);
        QFETCH(uint, instance);
        QFETCH(uint, error);
        if (file == "plain.sh") {
            QVERIFY(WriteScript(m_Env->path(file), "exit 0", false));
            file = m_Env->path(file);
        }
        const Run run = Execute(file, "", dir);
        QCOMPARE(run.ok, FALSE);
        QCOMPARE(uint(run.instance), instance);
        QCOMPARE(uint(run.lastError), error);
    }

    void badStructure()
    {
        SHELLEXECUTEINFOW info{};
        info.cbSize = 100;
        QCOMPARE(ShellExecuteExW(&info), FALSE);
        QCOMPARE(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
        QCOMPARE(ShellExecuteExW(nullptr), FALSE);
    }

    void workingFolder()
    {
        const Run run = Execute("/bin/sh", "-c \"pwd > where.txt\"", m_Env->root());
        QCOMPARE(run.exitCode, DWORD(0));
        QVERIFY(QFile::exists(m_Env->path("where.txt")));
    }

    void withoutProcessHandle()
    {
        const Run run = Execute("/bin/sh", "-c \"exit 4\"", QString(), SEE_MASK_UNICODE);
        QCOMPARE(run.ok, TRUE);
        QVERIFY(run.instance > 32);
        QCOMPARE(run.exitCode, DWORD(0xFFFFFFFF));   // nothing to wait for
    }

    // The system folder comes before PATH, and ".exe" is tried for a bare name.
    void systemFolderFirst()
    {
        const QString sys = m_Env->path("system32");
        QVERIFY(QDir().mkpath(sys));
        QVERIFY(WriteScript(sys + "/ls", "exit 7"));
        QVERIFY(WriteScript(sys + "/tool.exe", "exit 9"));
        qputenv("WINSYS_SYSTEM_DIR", sys.toUtf8());
        QCOMPARE(Execute("ls", "").exitCode, DWORD(7));
        QCOMPARE(Execute("tool", "").exitCode, DWORD(9));
        QCOMPARE(Execute("tool.exe", "").exitCode, DWORD(9));
        QCOMPARE(Execute("sh", "-c \"exit 5\"").exitCode, DWORD(5));   // from PATH
    }

    void systemDirectory()
    {
        WCHAR small[4];
        const UINT needed = GetSystemDirectoryW(small, 4);
        QVERIFY(needed > 4);
        std::u16string buffer(needed, u'\0');
        QCOMPARE(GetSystemDirectoryW(&buffer[0], needed), needed - 1);
        const QString dir = QString::fromStdU16String(buffer.substr(0, needed - 1));
        QCOMPARE(dir, Canonical(NETCONFIG_SYSTEM_DIR));
        QVERIFY(QFile::exists(dir + "/libshell32.so"));
        qputenv("WINSYS_SYSTEM_DIR", "/somewhere/else");
        QCOMPARE(GetSystemDirectoryW(&buffer[0], needed), UINT(15));
    }

    void shell32ModuleResolves()
    {
        QLibrary shell32("shell32");
        using ShellExecuteFn = BOOL (*)(SHELLEXECUTEINFOW*);
        auto fn = reinterpret_cast<ShellExecuteFn>(shell32.resolve("ShellExecuteExW"));
        QVERIFY2(fn, qPrintable(shell32.errorString()));
        const std::u16string file = u"/bin/sh", params = u"-c \"exit 6\"";
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_UNICODE;
        info.lpFile = file.c_str();
        info.lpParameters = params.c_str();
        QCOMPARE(fn(&info), TRUE);
        // The handle is one of this process's handles: the state is shared with libwinsys.
        QCOMPARE(WaitForSingleObject(info.hProcess, INFINITE), DWORD(WAIT_OBJECT_0));
        DWORD code = 0;
        QCOMPARE(GetExitCodeProcess(info.hProcess, &code), TRUE);
        QCOMPARE(code, DWORD(6));
        QCOMPARE(CloseHandle(info.hProcess), TRUE);
    }

    void waitWithTimeout()
    {
        const std::u16string file = u"sleep", params = u"30";
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_NOCLOSEPROCESS;
        info.lpFile = file.c_str();
        info.lpParameters = params.c_str();
        QCOMPARE(ShellExecuteExW(&info), TRUE);
        QCOMPARE(WaitForSingleObject(info.hProcess, 10), DWORD(WAIT_TIMEOUT));
        DWORD code = 0;
        QCOMPARE(GetExitCodeProcess(info.hProcess, &code), TRUE);
        QCOMPARE(code, DWORD(STILL_ACTIVE));
        QCOMPARE(TerminateProcess(info.hProcess, 17), TRUE);
        QCOMPARE(WaitForSingleObject(info.hProcess, INFINITE), DWORD(WAIT_OBJECT_0));
        QCOMPARE(GetExitCodeProcess(info.hProcess, &code), TRUE);
        QCOMPARE(code, DWORD(17));   // the code given to TerminateProcess, as on Windows
        CloseHandle(info.hProcess);
    }
};

QTEST_GUILESS_MAIN(TestShellExecute)
#include "tst_shellexec.moc"
