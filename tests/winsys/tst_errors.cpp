// System message texts and the per-thread last error.
#include <QtTest>

#include <winsys.h>

#include <thread>

namespace {

QByteArray SystemText(DWORD code, DWORD* result = nullptr)
{
    LPSTR text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                                       FORMAT_MESSAGE_FROM_SYSTEM,
                                   nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                   reinterpret_cast<LPSTR>(&text), 0, nullptr);
    if (result)
        *result = n;
    const QByteArray copy = n ? QByteArray(text, int(n)) : QByteArray();
    LocalFree(text);
    return copy;
}

}  // namespace

class TestErrors : public QObject
{
    Q_OBJECT

private slots:
    void systemTexts_data()
    {
        QTest::addColumn<uint>("code");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("0") << 0u << QByteArray("The operation completed successfully.");
        QTest::newRow("2") << 2u << QByteArray("The system cannot find the file specified.");
        QTest::newRow("5") << 5u << QByteArray("Access is denied.");
        QTest::newRow("50") << 50u << QByteArray("The request is not supported.");
        QTest::newRow("53") << 53u << QByteArray("The network path was not found.");
        QTest::newRow("59") << 59u << QByteArray("An unexpected network error occurred.");
        QTest::newRow("67") << 67u << QByteArray("The network name cannot be found.");
        QTest::newRow("85") << 85u << QByteArray("The local device name is already in use.");
        QTest::newRow("87") << 87u << QByteArray("The parameter is incorrect.");
        QTest::newRow("111") << 111u << QByteArray("The file name is too long.");
        QTest::newRow("121") << 121u << QByteArray("The semaphore timeout period has expired.");
        QTest::newRow("122") << 122u << QByteArray("The data area passed to a system call is too small.");
        QTest::newRow("1168") << 1168u << QByteArray("Element not found.");
        QTest::newRow("1202") << 1202u
                              << QByteArray("The local device name has a remembered connection to another network "
                                            "resource.");
        QTest::newRow("1208") << 1208u << QByteArray("An extended error has occurred.");
        QTest::newRow("1222") << 1222u << QByteArray("The network is not present or not started.");
        QTest::newRow("1326") << 1326u << QByteArray("The user name or password is incorrect.");
        QTest::newRow("1355") << 1355u
                              << QByteArray("The specified domain either does not exist or could not be contacted.");
        QTest::newRow("2250") << 2250u << QByteArray("This network connection does not exist.");
        QTest::newRow("2401") << 2401u << QByteArray("There are open files on this connection.");
    }
    void systemTexts()
    {
        QFETCH(uint, code);
        QFETCH(QByteArray, text);
        DWORD n = 0;
        QCOMPARE(SystemText(code, &n), text + "\r\n");
        QCOMPARE(int(n), text.size() + 2);
    }

    // Every code the emulation itself returns has a text.
    void emulationCodesHaveTexts()
    {
        const DWORD codes[] = {ERROR_INVALID_HANDLE, ERROR_NO_MORE_FILES,  ERROR_BAD_LENGTH,   ERROR_INVALID_LEVEL,
                               ERROR_NO_DATA,        ERROR_MORE_DATA,      ERROR_NO_MORE_ITEMS, ERROR_INVALID_ADDRESS,
                               ERROR_BADDB,          ERROR_BADKEY,         ERROR_CANTWRITE,    ERROR_NO_ASSOCIATION,
                               ERROR_BAD_DEVICE,     ERROR_INVALID_COMPUTERNAME, ERROR_INVALID_DOMAINNAME,
                               ERROR_NETWORK_UNREACHABLE, ERROR_PATH_NOT_FOUND, ERROR_NOT_ENOUGH_MEMORY,
                               NERR_SetupNotJoined};
        for (DWORD code : codes)
            QVERIFY2(SystemText(code).endsWith("\r\n"), qPrintable(QString::number(code)));
    }

    void callerBuffer()
    {
        char buffer[64];
        QCOMPARE(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 5, 0, buffer, sizeof buffer, nullptr), DWORD(19));
        QCOMPARE(QByteArray(buffer), QByteArray("Access is denied.\r\n"));
        QCOMPARE(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 1355, 0, buffer, 10, nullptr), DWORD(0));
        QCOMPARE(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    }

    void unknownCodeAndLanguage()
    {
        DWORD n = 1;
        QVERIFY(SystemText(123456, &n).isEmpty());
        QCOMPARE(n, DWORD(0));
        QCOMPARE(GetLastError(), DWORD(ERROR_MR_MID_NOT_FOUND));
        char buffer[64];
        QCOMPARE(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 5, MAKELANGID(0x07, 0x01), buffer, 64, nullptr),
                 DWORD(0));
        QCOMPARE(GetLastError(), DWORD(ERROR_RESOURCE_LANG_NOT_FOUND));
        QCOMPARE(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 5, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                                buffer, 64, nullptr),
                 DWORD(19));
    }

    void lastErrorIsPerThread()
    {
        SetLastError(1222);
        DWORD seenThere = 0;
        std::thread other([&] {
            seenThere = GetLastError();
            SetLastError(5);
        });
        other.join();
        QCOMPARE(seenThere, DWORD(0));
        QCOMPARE(GetLastError(), DWORD(1222));
    }

    void noProviderError()
    {
        DWORD error = 99;
        WCHAR text[16], provider[16];
        QCOMPARE(WNetGetLastErrorW(&error, text, 16, provider, 16), DWORD(NO_ERROR));
        QCOMPARE(error, DWORD(0));
        QCOMPARE(text[0], WCHAR(0));
    }
};

QTEST_APPLESS_MAIN(TestErrors)
#include "tst_errors.moc"
