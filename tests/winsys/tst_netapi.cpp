// Network connections and computer names of the emulated host.
#include <QtTest>

#include <winsys.h>
#include <winsys/hive.h>
#include <winsys/host.h>

#include "testenv.h"

#include <memory>

namespace {

std::u16string W(const QString& s)
{
    return s.toStdU16String();
}

QList<QPair<QString, QString>> Connections(NET_API_STATUS* status = nullptr)
{
    LPBYTE buffer = nullptr;
    DWORD read = 0, total = 0, resume = 0;
    const NET_API_STATUS rc = NetUseEnum(nullptr, 0, &buffer, MAX_PREFERRED_LENGTH, &read, &total, &resume);
    if (status)
        *status = rc;
    QList<QPair<QString, QString>> list;
    auto* entries = reinterpret_cast<USE_INFO_0*>(buffer);
    for (DWORD i = 0; rc == NERR_Success && i < read; ++i)
        list.append({QString::fromUtf16(entries[i].ui0_local), QString::fromUtf16(entries[i].ui0_remote)});
    NetApiBufferFree(buffer);
    return list;
}

DWORD Connect(const QString& local, const QString& remote, DWORD flags = CONNECT_UPDATE_PROFILE)
{
    std::u16string l = W(local), r = W(remote);
    NETRESOURCEW res{};
    res.dwType = RESOURCETYPE_DISK;
    res.lpLocalName = local.isEmpty() ? nullptr : &l[0];
    res.lpRemoteName = &r[0];
    return WNetAddConnection2W(&res, nullptr, nullptr, flags);
}

std::string Value(const std::string& key, const std::string& name)
{
    std::string v;
    winsys::ReadHive([&](const winsys::Hive& h) -> uint32_t {
        v = h.GetString(key, name);
        return 0;
    });
    return v;
}

// The membership NetGetJoinInformation reports: "name type".
QString Membership()
{
    LPWSTR name = nullptr;
    NETSETUP_JOIN_STATUS type = NetSetupUnknownStatus;
    if (NetGetJoinInformation(nullptr, &name, &type) != NERR_Success)
        return QStringLiteral("error");
    const QString text = QString::fromUtf16(name) + " " + QString::number(int(type));
    NetApiBufferFree(name);
    return text;
}

// The entry of GetInterfaceInfo for an interface index, as the application finds it.
IP_ADAPTER_INDEX_MAP InterfaceEntry(DWORD ifIndex)
{
    QByteArray buffer(4096, '\0');
    ULONG size = ULONG(buffer.size());
    IP_ADAPTER_INDEX_MAP entry{};
    auto* table = reinterpret_cast<IP_INTERFACE_INFO*>(buffer.data());
    if (GetInterfaceInfo(table, &size) != NO_ERROR)
        return entry;
    for (LONG i = 0; i < table->NumAdapters; ++i) {
        if (table->Adapter[i].Index == ifIndex)
            entry = table->Adapter[i];
    }
    return entry;
}

QString LeaseAddress(const std::string& guid)
{
    return QString::fromStdString(
        Value(std::string(winsys::keys::kTcpipInterfaces) + "\\" + guid, "DhcpIPAddress"));
}

QString ActiveName(COMPUTER_NAME_FORMAT type)
{
    WCHAR buffer[64];
    DWORD size = 64;
    return GetComputerNameExW(type, buffer, &size) ? QString::fromUtf16(buffer, int(size)) : QString();
}

}  // namespace

class TestNetApi : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_Env;

private slots:
    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        QVERIFY(m_Env->initSampleHost());
    }
    void cleanup() { m_Env.reset(); }

    void addConnection_data()
    {
        QTest::addColumn<QString>("local");
        QTest::addColumn<QString>("remote");
        QTest::addColumn<uint>("code");
        QTest::newRow("new drive") << "Y:" << "\\\\fileserver\\home" << uint(NO_ERROR);
        QTest::newRow("deviceless") << "" << "\\\\fileserver\\home" << uint(NO_ERROR);
        QTest::newRow("letter in use") << "Z:" << "\\\\fileserver\\home" << uint(ERROR_ALREADY_ASSIGNED);
        QTest::newRow("no such share") << "Y:" << "\\\\fileserver\\nothing" << uint(ERROR_BAD_NET_NAME);
        QTest::newRow("no such server") << "Y:" << "\\\\elsewhere\\home" << uint(ERROR_BAD_NETPATH);
        QTest::newRow("bad device") << "YY" << "\\\\fileserver\\home" << uint(ERROR_BAD_DEVICE);
    }
    void addConnection()
    {
        QFETCH(QString, local);
        QFETCH(QString, remote);
        QFETCH(uint, code);
        const QString before = m_Env->readHive();
        QCOMPARE(uint(Connect(local, remote)), code);
        QCOMPARE(uint(GetLastError()), code);
        if (code != NO_ERROR) {
            QCOMPARE(m_Env->readHive(), before);
            return;
        }
        const auto list = Connections();
        QCOMPARE(list.size(), 3);
        QCOMPARE(list[2].first, local.toUpper());
        QVERIFY(list[2].second.startsWith("\\\\"));
        if (!local.isEmpty())
            QCOMPARE(Value("HKEY_CURRENT_USER\\Network\\Y", "RemotePath"), list[2].second.toStdString());
    }

    void providerError()
    {
        QCOMPARE(winsys::ModifyHive([](winsys::Hive& h) -> uint32_t {
                     h.SetMultiString(winsys::keys::kEmulatedHost, "OfflineServers", {"fileserver"});
                     return 0;
                 }),
                 0u);
        QCOMPARE(Connect("Y:", "\\\\fileserver\\home"), DWORD(ERROR_EXTENDED_ERROR));
        DWORD error = 0;
        WCHAR text[1024], provider[1024];
        QCOMPARE(WNetGetLastErrorW(&error, text, 1024, provider, 1024), DWORD(NO_ERROR));
        QCOMPARE(error, DWORD(ERROR_NETWORK_UNREACHABLE));
        QCOMPARE(QString::fromUtf16(text), QString("The network location cannot be reached."));
        QCOMPARE(QString::fromUtf16(provider), QString("Microsoft Windows Network"));
        QCOMPARE(WNetGetLastErrorW(&error, text, 8, provider, 1024), DWORD(NO_ERROR));
        QCOMPARE(QString::fromUtf16(text), QString("The net"));   // cut to fit
        QCOMPARE(WNetGetLastErrorW(nullptr, text, 8, provider, 1024), DWORD(ERROR_INVALID_ADDRESS));
    }

    void cancelConnection_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("openFiles");
        QTest::addColumn<bool>("force");
        QTest::addColumn<uint>("code");
        QTest::addColumn<int>("left");
        QTest::newRow("drive") << "Z:" << false << false << uint(NO_ERROR) << 1;
        QTest::newRow("deviceless by path") << "\\\\fileserver\\scans" << false << false << uint(NO_ERROR) << 1;
        QTest::newRow("path of a drive") << "\\\\fileserver\\public" << false << false << uint(ERROR_NOT_CONNECTED)
                                         << 2;
        QTest::newRow("open files") << "Z:" << true << false << uint(ERROR_OPEN_FILES) << 2;
        QTest::newRow("open files, forced") << "Z:" << true << true << uint(NO_ERROR) << 1;
    }
    void cancelConnection()
    {
        QFETCH(QString, name);
        QFETCH(bool, openFiles);
        QFETCH(bool, force);
        QFETCH(uint, code);
        QFETCH(int, left);
        if (openFiles)
            QCOMPARE(winsys::ModifyHive([](winsys::Hive& h) -> uint32_t {
                         h.SetDword(std::string(winsys::keys::kConnections) + "\\0", "OpenFiles", 1);
                         return 0;
                     }),
                     0u);
        QCOMPARE(uint(WNetCancelConnection2W(W(name).c_str(), CONNECT_UPDATE_PROFILE, force)), code);
        QCOMPARE(Connections().size(), left);
        const bool zGone = code == NO_ERROR && name.startsWith("Z", Qt::CaseInsensitive);
        QCOMPARE(m_Env->readHive().contains("[HKEY_CURRENT_USER\\Network\\Z]"), !zGone);
    }

    void joinDomain_data()
    {
        QTest::addColumn<QString>("before");   // domain joined first, empty: the sample workgroup
        QTest::addColumn<QString>("name");
        QTest::addColumn<uint>("options");
        QTest::addColumn<uint>("code");
        QTest::addColumn<QString>("after");
        const uint domain = NETSETUP_JOIN_DOMAIN | NETSETUP_ACCT_CREATE;
        const uint move = domain | NETSETUP_DOMAIN_JOIN_IF_JOINED;
        QTest::newRow("workgroup to domain") << "" << "corp" << domain << 0u << "CORP 3";
        QTest::newRow("the domain it is in") << "CORP" << "CORP" << domain << uint(NERR_SetupAlreadyJoined)
                                             << "CORP 3";
        QTest::newRow("the domain it is in, other case") << "CORP" << "Corp" << move
                                                         << uint(NERR_SetupAlreadyJoined) << "CORP 3";
        QTest::newRow("another domain without leaving") << "CORP" << "LAB" << domain
                                                        << uint(NERR_SetupAlreadyJoined) << "CORP 3";
        QTest::newRow("another domain, moving") << "CORP" << "lab" << move << 0u << "LAB 3";
        QTest::newRow("unknown domain") << "" << "nowhere" << domain << uint(ERROR_NO_SUCH_DOMAIN) << "WORKGROUP 2";
        QTest::newRow("workgroup to workgroup") << "" << "team" << 0u << 0u << "TEAM 2";
    }
    void joinDomain()
    {
        QFETCH(QString, before);
        QFETCH(QString, name);
        QFETCH(uint, options);
        QFETCH(uint, code);
        QCOMPARE(winsys::ModifyHive([](winsys::Hive& h) -> uint32_t {
                     h.SetMultiString(winsys::keys::kEmulatedHost, "JoinableDomains", {"CORP", "LAB"});
                     return 0;
                 }),
                 0u);
        if (!before.isEmpty())
            QCOMPARE(uint(NetJoinDomain(nullptr, W(before).c_str(), nullptr, nullptr, nullptr, NETSETUP_JOIN_DOMAIN)),
                     0u);
        QCOMPARE(uint(NetJoinDomain(nullptr, W(name).c_str(), nullptr, nullptr, nullptr, options)), code);
        QFETCH(QString, after);
        QCOMPARE(Membership(), after);
    }

    // Only the Name of the index map picks the adapter, as on Windows.
    void releaseRenewByName()
    {
        const std::string wireless = "{9C8B7A6F-5E4D-4C3B-8A29-1F0E9D8C7B6A}";
        IP_ADAPTER_INDEX_MAP entry = InterfaceEntry(14);
        QVERIFY(QString::fromUtf16(entry.Name).endsWith(QString::fromStdString(wireless)));
        entry.Index = 11;   // the static adapter's index: not looked at
        QCOMPARE(uint(IpReleaseAddress(&entry)), uint(NO_ERROR));
        QCOMPARE(LeaseAddress(wireless), QString("0.0.0.0"));
        entry.Index = 0x7FFFFFF0;   // no adapter's
        QCOMPARE(uint(IpRenewAddress(&entry)), uint(NO_ERROR));
        QCOMPARE(LeaseAddress(wireless), QString("10.0.0.23"));

        // The static adapter's name with the DHCP adapter's index: not on DHCP.
        IP_ADAPTER_INDEX_MAP wired = InterfaceEntry(11);
        wired.Index = 14;
        QCOMPARE(uint(IpReleaseAddress(&wired)), uint(ERROR_NOT_SUPPORTED));
        QCOMPARE(LeaseAddress(wireless), QString("10.0.0.23"));
    }

    void setComputerName_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("name");
        QTest::addColumn<uint>("code");
        QTest::addColumn<QString>("pending");
        const int netbios = ComputerNamePhysicalNetBIOS, domain = ComputerNamePhysicalDnsDomain;
        QTest::newRow("lower case is stored upper") << netbios << "lab-pc_3" << 0u << "LAB-PC_3";
        QTest::newRow("fifteen characters") << netbios << "ABCDEFGHIJKLMNO" << 0u << "ABCDEFGHIJKLMNO";
        QTest::newRow("sixteen characters") << netbios << "ABCDEFGHIJKLMNOP" << uint(ERROR_INVALID_PARAMETER) << "";
        QTest::newRow("empty") << netbios << "" << uint(ERROR_INVALID_PARAMETER) << "";
        QTest::newRow("backslash") << netbios << "a\\b" << uint(ERROR_INVALID_PARAMETER) << "";
        QTest::newRow("suffix") << domain << "corp.example.com" << 0u << "corp.example.com";
        QTest::newRow("suffix cleared") << domain << "" << 0u << "";
        QTest::newRow("bad suffix") << domain << "corp..example" << uint(ERROR_INVALID_DOMAINNAME) << "";
        QTest::newRow("other type") << int(ComputerNameNetBIOS) << "WS02" << uint(ERROR_INVALID_PARAMETER) << "";
    }
    void setComputerName()
    {
        QFETCH(int, type);
        QFETCH(QString, name);
        QFETCH(uint, code);
        QFETCH(QString, pending);
        const auto format = COMPUTER_NAME_FORMAT(type);
        SetLastError(0);
        QCOMPARE(SetComputerNameExW(format, W(name).c_str()), code == 0 ? TRUE : FALSE);
        QCOMPARE(uint(GetLastError()), code);
        if (code != 0)
            return;
        if (format == ComputerNamePhysicalDnsDomain) {
            QCOMPARE(QString::fromStdString(Value(winsys::keys::kTcpipParameters, "NV Domain")), pending);
        } else {
            QCOMPARE(QString::fromStdString(Value(winsys::keys::kComputerName, "ComputerName")), pending);
            QCOMPARE(QString::fromStdString(Value(winsys::keys::kTcpipParameters, "NV Hostname")), name);
        }
        // Only a restart makes the pending names active.
        QCOMPARE(ActiveName(ComputerNameNetBIOS), QString("WS01"));
        QCOMPARE(ActiveName(ComputerNameDnsDomain), QString("lan"));
    }
};

QTEST_GUILESS_MAIN(TestNetApi)
#include "tst_netapi.moc"
