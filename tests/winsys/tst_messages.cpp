// FormatMessageA's system texts: every code an error box can be handed
// must have one, or the box would be empty.
#include "hostfacts.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

namespace {

// The system text exactly as FormatMessageA hands it to the error box.
QString SystemText(DWORD code)
{
    LPSTR buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code,
        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    const QString text = length && buffer ? QString::fromLatin1(buffer, int(length)) : QString();
    LocalFree(buffer);
    return text;
}

// name -> code of every error constant the Windows header declares: the
// system errors, the network management errors and ShellExecuteExW's
// instance values (the program shows those as error numbers too).
QMap<QString, DWORD> DeclaredCodes()
{
    QFile header(QStringLiteral(NETCONFIG_SOURCE_DIR "/lib/winsys/include/winsys.h"));
    QMap<QString, DWORD> codes;
    if (!header.open(QIODevice::ReadOnly))
        return codes;
    static const QRegularExpression define(
        QStringLiteral("^#define ((?:ERROR|NERR|RPC_S|SE_ERR)_\\w+|WAIT_TIMEOUT)\\s+(\\d+)L?\\s*$"),
        QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch& m : define.globalMatch(QString::fromLatin1(header.readAll())))
        codes.insert(m.captured(1), m.captured(2).toUInt());
    codes.remove(QStringLiteral("NERR_BASE")); // the start of a range, not an error
    return codes;
}

// What ShellExecuteExW hands back as the instance for a run that fails.
DWORD ShellInstanceFor(const char16_t* verb, const char16_t* file)
{
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_UNICODE;
    info.lpVerb = reinterpret_cast<LPCWSTR>(verb);
    info.lpFile = reinterpret_cast<LPCWSTR>(file);
    info.nShow = SW_HIDE;
    if (ShellExecuteExW(&info) && info.hProcess) {
        WaitForSingleObject(info.hProcess, INFINITE);
        CloseHandle(info.hProcess);
    }
    return DWORD(reinterpret_cast<quintptr>(info.hInstApp));
}

} // namespace

class TestMessages : public QObject
{
    Q_OBJECT

private slots:
    void everyDeclaredCodeHasItsText()
    {
        const QMap<QString, DWORD> codes = DeclaredCodes();
        // A header that no longer parses would make this test pass vacuously.
        QVERIFY2(codes.size() > 60, qPrintable(QString::number(codes.size())));
        QVERIFY(codes.contains(QStringLiteral("SE_ERR_NOASSOC")));
        QStringList missing;
        for (auto it = codes.cbegin(); it != codes.cend(); ++it) {
            const QString text = SystemText(it.value());
            // As FormatMessageA returns it: one sentence or more, then "\r\n".
            if (text.size() < 4 || !text.endsWith(QLatin1String(".\r\n")) || text.at(0).isSpace())
                missing << QStringLiteral("%1 (%2): \"%3\"").arg(it.key()).arg(it.value()).arg(text);
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1String("; "))));
    }

    // A few texts checked word for word, among them the ones an error box
    // most often shows.
    void exactTexts_data()
    {
        QTest::addColumn<uint>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("31, a verb nothing is associated with")
            << 31u << "A device attached to the system is not functioning.\r\n";
        QTest::newRow("85, a drive letter in use") << 85u << "The local device name is already in use.\r\n";
        QTest::newRow("2401, open files") << 2401u << "This network connection has files open or requests pending.\r\n";
        QTest::newRow("2695, a workgroup name refused") << 2695u << "The specified workgroup name is invalid.\r\n";
    }

    void exactTexts()
    {
        QFETCH(uint, code);
        QFETCH(QString, text);
        QCOMPARE(SystemText(code), text);
    }

    // Codes that come from running programs rather than from a header.
    void producedCodesHaveTexts()
    {
        TestEnv env;
        QVERIFY(env.initSampleHost());
        QList<DWORD> produced;
        produced << DWORD(env.runProgram(Netsh(), {QStringLiteral("interface"), QStringLiteral("ip"),
                                                   QStringLiteral("set"), QStringLiteral("address"),
                                                   QStringLiteral("no such adapter"), QStringLiteral("dhcp")}));
        produced << DWORD(env.runProgram(Netsh(), {QStringLiteral("bogus")}));
        produced << ShellInstanceFor(u"print", u"netsh.exe");
        produced << ShellInstanceFor(u"open", u"no-such-program.exe");
        for (const DWORD code : produced) {
            QVERIFY2(code != 0 && code <= 32, qPrintable(QString::number(code)));
            QVERIFY2(!SystemText(code).trimmed().isEmpty(), qPrintable(QString::number(code)));
        }
    }
};

QTEST_GUILESS_MAIN(TestMessages)
#include "tst_messages.moc"
