// The 8-bit registry functions over the host's hive.
#include <QtTest>

#include <winsys.h>
#include <winsys/hive.h>
#include <winsys/host.h>

#include "testenv.h"

#include <memory>

namespace {

const char kTcpip[] = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const char kWiredTcpip[] =
    "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\{6B1D8F3A-2C4E-4F5B-9A7D-1E2F3A4B5C6D}";

}  // namespace

class TestRegistry : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_Env;

    QString Query(HKEY root, const char* path, const char* name, DWORD* type = nullptr, LSTATUS* rc = nullptr)
    {
        HKEY key = nullptr;
        LSTATUS status = RegOpenKeyA(root, path, &key);
        QByteArray buffer(1024, '\0');
        DWORD size = DWORD(buffer.size());
        if (status == ERROR_SUCCESS) {
            status = RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<LPBYTE>(buffer.data()), &size);
            RegCloseKey(key);
        }
        if (rc)
            *rc = status;
        return status == ERROR_SUCCESS ? QString::fromUtf8(buffer.constData()) : QString();
    }

private slots:
    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        QVERIFY(m_Env->initSampleHost());
    }
    void cleanup() { m_Env.reset(); }

    void openKey_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("code");
        QTest::newRow("existing") << kTcpip << int(ERROR_SUCCESS);
        QTest::newRow("other case") << QString(kTcpip).toLower() << int(ERROR_SUCCESS);
        QTest::newRow("missing") << "SYSTEM\\Nowhere" << int(ERROR_FILE_NOT_FOUND);
        QTest::newRow("empty is the root") << "" << int(ERROR_SUCCESS);
    }
    void openKey()
    {
        QFETCH(QString, path);
        QFETCH(int, code);
        HKEY key = nullptr;
        QCOMPARE(int(RegOpenKeyA(HKEY_LOCAL_MACHINE, path.toUtf8().constData(), &key)), code);
        if (code == ERROR_SUCCESS) {
            QVERIFY(key);
            QCOMPARE(RegCloseKey(key), LSTATUS(ERROR_SUCCESS));
        }
    }

    void badArguments()
    {
        HKEY key = nullptr;
        QCOMPARE(RegOpenKeyA(HKEY_LOCAL_MACHINE, kTcpip, nullptr), LSTATUS(ERROR_INVALID_PARAMETER));
        QCOMPARE(RegOpenKeyA(reinterpret_cast<HKEY>(0x1234), kTcpip, &key), LSTATUS(ERROR_INVALID_HANDLE));
        QCOMPARE(RegCloseKey(reinterpret_cast<HKEY>(0x1234)), LSTATUS(ERROR_INVALID_HANDLE));
        QCOMPARE(RegOpenKeyA(HKEY_LOCAL_MACHINE, kTcpip, &key), LSTATUS(ERROR_SUCCESS));
        QCOMPARE(RegCloseKey(key), LSTATUS(ERROR_SUCCESS));
        QCOMPARE(RegCloseKey(key), LSTATUS(ERROR_INVALID_HANDLE));   // already closed
    }

    void queryValues_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<uint>("type");
        QTest::newRow("string") << kTcpip << "NV Domain" << "lan" << uint(REG_SZ);
        QTest::newRow("multi-string gives its first") << kWiredTcpip << "IPAddress" << "192.168.1.5"
                                                      << uint(REG_MULTI_SZ);
    }
    void queryValues()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(uint, type);
        DWORD got = 0;
        LSTATUS rc = -1;
        QCOMPARE(Query(HKEY_LOCAL_MACHINE, path.toUtf8().constData(), name.toUtf8().constData(), &got, &rc), text);
        QCOMPARE(rc, LSTATUS(ERROR_SUCCESS));
        QCOMPARE(uint(got), type);
    }

    void querySizing()
    {
        HKEY key = nullptr;
        QCOMPARE(RegOpenKeyA(HKEY_LOCAL_MACHINE, kTcpip, &key), LSTATUS(ERROR_SUCCESS));
        DWORD size = 0, type = 0;
        QCOMPARE(RegQueryValueExA(key, "Hostname", nullptr, &type, nullptr, &size), LSTATUS(ERROR_SUCCESS));
        QCOMPARE(size, DWORD(5));   // "WS01" and its NUL
        char small[3];
        DWORD smallSize = sizeof small;
        QCOMPARE(RegQueryValueExA(key, "Hostname", nullptr, nullptr, reinterpret_cast<LPBYTE>(small), &smallSize),
                 LSTATUS(ERROR_MORE_DATA));
        QCOMPARE(smallSize, DWORD(5));
        QCOMPARE(RegQueryValueExA(key, "Missing", nullptr, nullptr, nullptr, &size), LSTATUS(ERROR_FILE_NOT_FOUND));
        QCOMPARE(RegQueryValueExA(key, "Hostname", nullptr, nullptr, reinterpret_cast<LPBYTE>(small), nullptr),
                 LSTATUS(ERROR_INVALID_PARAMETER));
        RegCloseKey(key);
    }

    void longValueDoesNotFit()
    {
        const std::string longText(1500, 'x');
        HKEY key = nullptr;
        QCOMPARE(RegOpenKeyA(HKEY_LOCAL_MACHINE, kWiredTcpip, &key), LSTATUS(ERROR_SUCCESS));
        QCOMPARE(RegSetValueExA(key, "NameServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(longText.c_str()),
                                DWORD(longText.size() + 1)),
                 LSTATUS(ERROR_SUCCESS));
        RegCloseKey(key);
        LSTATUS rc = 0;
        QCOMPARE(Query(HKEY_LOCAL_MACHINE, kWiredTcpip, "NameServer", nullptr, &rc), QString());
        QCOMPARE(rc, LSTATUS(ERROR_MORE_DATA));
    }

    void setValueReachesTheFile()
    {
        HKEY key = nullptr;
        QCOMPARE(RegOpenKeyA(HKEY_LOCAL_MACHINE, kWiredTcpip, &key), LSTATUS(ERROR_SUCCESS));
        const char text[] = "10.1.1.1";
        QCOMPARE(RegSetValueExA(key, "NameServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text),
                 LSTATUS(ERROR_SUCCESS));
        const DWORD flag = 1;
        QCOMPARE(RegSetValueExA(key, "New Flag", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flag), sizeof flag),
                 LSTATUS(ERROR_SUCCESS));
        RegCloseKey(key);
        QCOMPARE(Query(HKEY_LOCAL_MACHINE, kWiredTcpip, "NameServer"), QString("10.1.1.1"));
        const QString file = m_Env->readHive();
        QVERIFY(file.contains("\"NameServer\"=\"10.1.1.1\""));
        QVERIFY(file.contains("\"New Flag\"=dword:00000001"));
        // The other values survived the rewrite.
        QCOMPARE(Query(HKEY_LOCAL_MACHINE, kTcpip, "NV Domain"), QString("lan"));
    }

    void createEnumerateDelete()
    {
        HKEY key = nullptr;
        DWORD disposition = 0;
        QCOMPARE(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Test\\B", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                 &disposition),
                 LSTATUS(ERROR_SUCCESS));
        QCOMPARE(disposition, DWORD(REG_CREATED_NEW_KEY));
        RegCloseKey(key);
        QCOMPARE(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Test\\A", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                 &disposition),
                 LSTATUS(ERROR_SUCCESS));
        RegCloseKey(key);
        QCOMPARE(RegCreateKeyExA(HKEY_CURRENT_USER, "software\\test", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                 &disposition),
                 LSTATUS(ERROR_SUCCESS));
        QCOMPARE(disposition, DWORD(REG_OPENED_EXISTING_KEY));
        QStringList names;
        char name[16];
        DWORD index = 0, size = sizeof name;
        LSTATUS rc;
        while ((rc = RegEnumKeyExA(key, index++, name, &size, nullptr, nullptr, nullptr, nullptr)) == ERROR_SUCCESS) {
            QCOMPARE(size, DWORD(1));
            names << name;
            size = sizeof name;
        }
        QCOMPARE(rc, LSTATUS(ERROR_NO_MORE_ITEMS));
        QCOMPARE(names, (QStringList{"B", "A"}));
        size = 1;   // no room for the NUL
        QCOMPARE(RegEnumKeyExA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr), LSTATUS(ERROR_MORE_DATA));
        RegCloseKey(key);
        QCOMPARE(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Test"), LSTATUS(ERROR_ACCESS_DENIED));
        QCOMPARE(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Test\\A"), LSTATUS(ERROR_SUCCESS));
        QCOMPARE(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Test\\A"), LSTATUS(ERROR_FILE_NOT_FOUND));
    }

    void deletedKeyRefusesWrites()
    {
        HKEY key = nullptr;
        QCOMPARE(RegCreateKeyExA(HKEY_CURRENT_USER, "Gone", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                 LSTATUS(ERROR_SUCCESS));
        QCOMPARE(RegDeleteKeyA(HKEY_CURRENT_USER, "Gone"), LSTATUS(ERROR_SUCCESS));
        const DWORD one = 1;
        QVERIFY(RegSetValueExA(key, "x", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4) != ERROR_SUCCESS);
        RegCloseKey(key);
        QVERIFY(!m_Env->readHive().contains("[HKEY_CURRENT_USER\\Gone]"));
    }

    void brokenHiveFailsCalls()
    {
        QVERIFY(m_Env->writeHive("[HKEY_LOCAL_MACHINE\\SYSTEM]\n\"x\"=bogus\n"));
        HKEY key = nullptr;
        QCOMPARE(RegOpenKeyA(HKEY_LOCAL_MACHINE, "SYSTEM", &key), LSTATUS(ERROR_BADDB));
        const BYTE data[] = "v";
        QCOMPARE(RegSetValueExA(HKEY_LOCAL_MACHINE, "x", 0, REG_SZ, data, 2), LSTATUS(ERROR_BADDB));
        QVERIFY(m_Env->readHive().contains("bogus"));
    }
};

QTEST_GUILESS_MAIN(TestRegistry)
#include "tst_registry.moc"
