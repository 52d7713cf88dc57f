// The emulated host's calls beside the IP Helper: network connections and
// drives, computer names and domains, DHCP by adapter name, and the
// system's error texts.
#include "hostfacts.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

#include <winsys/host.h>

#include <memory>

namespace {

// "local remote" of each connection NetUseEnum lists.
QStringList Connections()
{
    LPBYTE buffer = nullptr;
    DWORD read = 0, total = 0, resume = 0;
    const NET_API_STATUS rc = NetUseEnum(nullptr, 0, &buffer, MAX_PREFERRED_LENGTH, &read, &total, &resume);
    QStringList list;
    auto* entries = reinterpret_cast<USE_INFO_0*>(buffer);
    for (DWORD i = 0; rc == NERR_Success && i < read; ++i)
        list << QString::fromUtf16(entries[i].ui0_local) + " " + QString::fromUtf16(entries[i].ui0_remote);
    NetApiBufferFree(buffer);
    return list;
}

DWORD Connect(const QString& local, const QString& remote)
{
    std::u16string l = local.toStdU16String(), r = remote.toStdU16String();
    NETRESOURCEW res{};
    res.dwType = RESOURCETYPE_DISK;
    res.lpLocalName = local.isEmpty() ? nullptr : l.data();
    res.lpRemoteName = r.data();
    return WNetAddConnection2W(&res, nullptr, nullptr, CONNECT_UPDATE_PROFILE);
}

QString Value(const std::string& key, const std::string& name)
{
    std::string v;
    ReadHost([&](const winsys::Hive& h) { v = h.GetString(key, name); });
    return QString::fromStdString(v);
}

void DeclareLocalDrives(const std::vector<std::string>& drives)
{
    QVERIFY(ChangeHive([&](winsys::Hive& h) { h.SetMultiString(winsys::keys::kEmulatedHost, "LocalDrives", drives); }));
}

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

} // namespace

class TestNetApi : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> m_Env;

private slots:
    // The sample host: drives C: and the network drive Z:, a deviceless connection, workgroup WORKGROUP.
    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        QVERIFY(m_Env->initSampleHost());
    }
    void cleanup() { m_Env.reset(); }

    void addConnection_data()
    {
        Columns<QString, QString, uint>({"local", "remote", "code"});
        Row("new drive", "Y:", "\\\\fileserver\\home", uint(NO_ERROR));
        Row("deviceless", "", "\\\\fileserver\\home", uint(NO_ERROR));
        Row("letter in use", "Z:", "\\\\fileserver\\home", uint(ERROR_ALREADY_ASSIGNED));
        Row("a drive it declares", "D:", "\\\\fileserver\\home", uint(ERROR_ALREADY_ASSIGNED));
        Row("no such share", "Y:", "\\\\fileserver\\nothing", uint(ERROR_BAD_NET_NAME));
        Row("no such server", "Y:", "\\\\elsewhere\\home", uint(ERROR_BAD_NETPATH));
        Row("bad device", "YY", "\\\\fileserver\\home", uint(ERROR_BAD_DEVICE));
    }
    void addConnection()
    {
        QFETCH(QString, local);
        QFETCH(QString, remote);
        QFETCH(uint, code);
        DeclareLocalDrives({"D:"});
        const QString before = m_Env->readHive();
        QCOMPARE(uint(Connect(local, remote)), code);
        QCOMPARE(uint(GetLastError()), code);
        if (code != NO_ERROR) {
            QCOMPARE(m_Env->readHive(), before);
            return;
        }
        const QStringList list = Connections();
        QCOMPARE(list.size(), 3);
        QVERIFY2(list[2].startsWith(local.toUpper() + " \\\\"), qPrintable(list[2]));
        if (!local.isEmpty())
            QCOMPARE(Value("HKEY_CURRENT_USER\\Network\\Y", "RemotePath"), list[2].section(' ', 1));
    }

    void providerError()
    {
        QVERIFY(ChangeHive(
            [](winsys::Hive& h) { h.SetMultiString(winsys::keys::kEmulatedHost, "OfflineServers", {"fileserver"}); }));
        QCOMPARE(Connect("Y:", "\\\\fileserver\\home"), DWORD(ERROR_EXTENDED_ERROR));
        DWORD error = 0;
        WCHAR text[1024], provider[1024];
        QCOMPARE(WNetGetLastErrorW(&error, text, 1024, provider, 1024), DWORD(NO_ERROR));
        QCOMPARE(error, DWORD(ERROR_NETWORK_UNREACHABLE));
        QCOMPARE(QString::fromUtf16(text), "The network location cannot be reached.");
        QCOMPARE(QString::fromUtf16(provider), "Microsoft Windows Network");
    }

    void cancelConnection_data()
    {
        Columns<QString, bool, bool, uint, int>({"name", "openFiles", "force", "code", "left"});
        Row("drive", "Z:", false, false, uint(NO_ERROR), 1);
        Row("deviceless by path", "\\\\fileserver\\scans", false, false, uint(NO_ERROR), 1);
        Row("path of a drive", "\\\\fileserver\\public", false, false, uint(ERROR_NOT_CONNECTED), 2);
        Row("open files", "Z:", true, false, uint(ERROR_OPEN_FILES), 2);
        Row("open files, forced", "Z:", true, true, uint(NO_ERROR), 1);
    }
    void cancelConnection()
    {
        QFETCH(QString, name);
        QFETCH(bool, openFiles);
        QFETCH(bool, force);
        QFETCH(uint, code);
        QVERIFY(ChangeHive([&](winsys::Hive& h) {
            h.SetDword(std::string(winsys::keys::kConnections) + "\\0", "OpenFiles", openFiles);
        }));
        QCOMPARE(uint(WNetCancelConnection2W(name.toStdU16String().c_str(), CONNECT_UPDATE_PROFILE, force)), code);
        QTEST(int(Connections().size()), "left");
        const bool zGone = code == NO_ERROR && name == "Z:";
        QCOMPARE(m_Env->readHive().contains("[HKEY_CURRENT_USER\\Network\\Z]"), !zGone);
    }

    void joinDomain_data()
    {
        // A domain joined before (none: the sample's workgroup); the membership NetGetJoinInformation reports after.
        Columns<QString, QString, uint, uint, QString>({"before", "name", "options", "code", "after"});
        const uint domain = NETSETUP_JOIN_DOMAIN | NETSETUP_ACCT_CREATE, move = domain | NETSETUP_DOMAIN_JOIN_IF_JOINED;
        Row("workgroup to domain", "", "corp", domain, 0u, "CORP 3");
        Row("the domain it is in, other case", "CORP", "Corp", move, uint(NERR_SetupAlreadyJoined), "CORP 3");
        Row("another domain without leaving", "CORP", "LAB", domain, uint(NERR_SetupAlreadyJoined), "CORP 3");
        Row("another domain, moving", "CORP", "lab", move, 0u, "LAB 3");
        Row("unknown domain", "", "nowhere", domain, uint(ERROR_NO_SUCH_DOMAIN), "WORKGROUP 2");
        Row("workgroup to workgroup", "", "team", 0u, 0u, "TEAM 2");
    }
    void joinDomain()
    {
        QFETCH(QString, before);
        QFETCH(QString, name);
        QFETCH(uint, options);
        QVERIFY(ChangeHive([](winsys::Hive& h) {
            h.SetMultiString(winsys::keys::kEmulatedHost, "JoinableDomains", {"CORP", "LAB"});
        }));
        if (!before.isEmpty())
            QCOMPARE(NetJoinDomain(nullptr, before.toStdU16String().c_str(), nullptr, nullptr, nullptr,
                                   NETSETUP_JOIN_DOMAIN),
                     NET_API_STATUS(0));
        QTEST(uint(NetJoinDomain(nullptr, name.toStdU16String().c_str(), nullptr, nullptr, nullptr, options)), "code");
        LPWSTR joined = nullptr;
        NETSETUP_JOIN_STATUS type = NetSetupUnknownStatus;
        QCOMPARE(NetGetJoinInformation(nullptr, &joined, &type), NET_API_STATUS(NERR_Success));
        QTEST(QString::fromUtf16(joined) + " " + QString::number(int(type)), "after");
        NetApiBufferFree(joined);
    }

    // Only the Name of the index map picks the adapter, as on Windows: the static adapter's name with the
    // DHCP adapter's index is refused, and the DHCP adapter keeps its lease.
    void releaseByName()
    {
        IP_ADAPTER_INDEX_MAP wired = InterfaceEntry(11);
        wired.Index = 14;
        QCOMPARE(IpReleaseAddress(&wired), DWORD(ERROR_NOT_SUPPORTED));
        QCOMPARE(Facts(14, "ip"), "ip 10.0.0.23/255.255.255.0");
    }

    void setComputerName_data()
    {
        Columns<int, QString, uint, QString>({"type", "name", "code", "pending"});
        const int netbios = ComputerNamePhysicalNetBIOS, domain = ComputerNamePhysicalDnsDomain;
        Row("lower case is stored upper", netbios, "lab-pc_3", 0u, "LAB-PC_3");
        Row("fifteen characters", netbios, "ABCDEFGHIJKLMNO", 0u, "ABCDEFGHIJKLMNO");
        Row("sixteen characters", netbios, "ABCDEFGHIJKLMNOP", uint(ERROR_INVALID_PARAMETER), "");
        Row("empty", netbios, "", uint(ERROR_INVALID_PARAMETER), "");
        Row("backslash", netbios, "a\\b", uint(ERROR_INVALID_PARAMETER), "");
        Row("suffix", domain, "corp.example.com", 0u, "corp.example.com");
        Row("bad suffix", domain, "corp..example", uint(ERROR_INVALID_DOMAINNAME), "");
    }
    void setComputerName()
    {
        QFETCH(int, type);
        QFETCH(QString, name);
        QFETCH(uint, code);
        SetLastError(0);
        QCOMPARE(SetComputerNameExW(COMPUTER_NAME_FORMAT(type), name.toStdU16String().c_str()), BOOL(code == 0));
        QCOMPARE(uint(GetLastError()), code);
        if (code != 0)
            return;
        if (type == ComputerNamePhysicalDnsDomain) {
            QTEST(Value(winsys::keys::kTcpipParameters, "NV Domain"), "pending");
        } else {
            QTEST(Value(winsys::keys::kComputerName, "ComputerName"), "pending");
            QCOMPARE(Value(winsys::keys::kTcpipParameters, "NV Hostname"), name);
        }
    }

    // The system drive, the drives the host declares, however spelled, and the network drive Z:; the
    // deviceless connection takes no letter.
    void logicalDrives()
    {
        DeclareLocalDrives({"d:", "E", "F:\\", "", "GG:", "1:", "H:\\x", "I;"});
        QCOMPARE(GetLogicalDrives(), DWORD(1u << ('C' - 'A') | 1u << ('D' - 'A') | 1u << ('E' - 'A') |
                                           1u << ('F' - 'A') | 1u << ('Z' - 'A')));
    }

    // Every code an error box can be handed must have a text, or the box would be empty: each
    // error the header declares (system, network management, ShellExecuteExW's instances), and
    // what ShellExecuteExW hands back (netsh.exe's exit code 1: tst_netsh).
    void everyCodeHasItsText()
    {
        QFile header(QStringLiteral(NETCONFIG_SOURCE_DIR "/lib/winsys/include/winsys.h"));
        QVERIFY(header.open(QIODevice::ReadOnly));
        static const QRegularExpression define(
            "^#define ((?:ERROR|NERR|RPC_S|SE_ERR)_\\w+|WAIT_TIMEOUT)\\s+(\\d+)L?\\s*$",
            QRegularExpression::MultilineOption);
        QMap<QString, DWORD> codes;
        for (const QRegularExpressionMatch& m : define.globalMatch(QString::fromLatin1(header.readAll())))
            codes.insert(m.captured(1), m.captured(2).toUInt());
        codes.remove("NERR_BASE"); // the start of a range, not an error
        // A header that no longer parses would make this test pass vacuously.
        QVERIFY2(codes.size() > 60 && codes.contains("SE_ERR_NOASSOC"), qPrintable(QString::number(codes.size())));
        SHELLEXECUTEINFOW info{}; // the instance ShellExecuteExW hands back for a verb nothing is associated with
        info.cbSize = sizeof info;
        info.lpVerb = reinterpret_cast<LPCWSTR>(u"print");
        info.lpFile = reinterpret_cast<LPCWSTR>(u"netsh.exe");
        QVERIFY(!ShellExecuteExW(&info));
        codes.insert("print netsh.exe", DWORD(reinterpret_cast<quintptr>(info.hInstApp)));
        QStringList missing;
        for (auto it = codes.cbegin(); it != codes.cend(); ++it) {
            const QString text = SystemText(it.value());
            // As FormatMessageA returns it: one sentence or more, then "\r\n". An instance is a small code.
            if ((!it.key().contains('_') && (!it.value() || it.value() > 32)) || text.size() < 4 ||
                !text.endsWith(".\r\n") || text.at(0).isSpace())
                missing << QStringLiteral("%1 (%2): \"%3\"").arg(it.key()).arg(it.value()).arg(text);
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join("; ")));
    }
};

QTEST_GUILESS_MAIN(TestNetApi)
#include "tst_netapi.moc"
