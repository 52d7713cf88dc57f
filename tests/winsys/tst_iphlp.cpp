// IP Helper calls against emulated hosts: buffer sizing, chains, DHCP.
#include <QtTest>

#include <winsys.h>
#include <winsys/hive.h>
#include <winsys/host.h>

#include "testenv.h"

#include <memory>

namespace {

const char kWired[] = "{6B1D8F3A-2C4E-4F5B-9A7D-1E2F3A4B5C6D}";
const char kWireless[] = "{9C8B7A6F-5E4D-4C3B-8A29-1F0E9D8C7B6A}";

// One adapter with three addresses, two gateways and no WINS or DNS.
const char kMultiHomed[] =
    "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\0007]\n"
    "\"NetCfgInstanceId\"=\"{11111111-2222-3333-4444-555555555555}\"\n"
    "\"DriverDesc\"=\"Multi\"\n"
    "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\0008]\n"
    "\"DriverDesc\"=\"Not bound to TCP/IP\"\n"
    "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\"
    "{11111111-2222-3333-4444-555555555555}]\n"
    "\"EnableDHCP\"=dword:00000000\n"
    "\"IPAddress\"=hex(7):31,00,2e,00,31,00,2e,00,31,00,2e,00,31,00,00,00,32,00,2e,00,32,00,2e,00,32,00,2e,00,\\\n"
    "  32,00,00,00,33,00,2e,00,33,00,2e,00,33,00,2e,00,33,00,00,00,00,00\n"
    "\"SubnetMask\"=hex(7):32,00,35,00,35,00,2e,00,30,00,2e,00,30,00,2e,00,30,00,00,00,32,00,35,00,35,00,2e,00,\\\n"
    "  32,00,35,00,35,00,2e,00,30,00,2e,00,30,00,00,00,32,00,35,00,35,00,2e,00,32,00,35,00,35,00,2e,00,32,00,\\\n"
    "  35,00,35,00,2e,00,30,00,00,00,00,00\n"
    "\"DefaultGateway\"=hex(7):31,00,2e,00,31,00,2e,00,31,00,2e,00,32,00,35,00,34,00,00,00,31,00,2e,00,31,00,\\\n"
    "  2e,00,31,00,2e,00,32,00,35,00,33,00,00,00,00,00\n";

// Calls a sizing function twice the documented way and returns the filled buffer.
template <class T, class Call>
std::unique_ptr<char[]> TwoCalls(Call call, DWORD overflowCode, DWORD* result)
{
    ULONG size = 0;
    const DWORD first = call(nullptr, &size);
    if (first != overflowCode) {
        *result = first;
        return nullptr;
    }
    std::unique_ptr<char[]> buffer(new char[size]);
    ULONG small = size - 1;
    if (call(reinterpret_cast<T*>(buffer.get()), &small) != overflowCode || small != size) {
        *result = 0xFFFFFFFF;
        return nullptr;
    }
    *result = call(reinterpret_cast<T*>(buffer.get()), &size);
    return buffer;
}

std::unique_ptr<char[]> Adapters(DWORD* result)
{
    return TwoCalls<IP_ADAPTER_INFO>(GetAdaptersInfo, ERROR_BUFFER_OVERFLOW, result);
}

QStringList Chain(const IP_ADDR_STRING* e)
{
    QStringList list;
    for (; e; e = e->Next)
        list << QString::fromLatin1(e->IpAddress.String) + "/" + QString::fromLatin1(e->IpMask.String);
    return list;
}

QStringList DnsOf(ULONG index, DWORD* result)
{
    auto buffer = TwoCalls<IP_PER_ADAPTER_INFO>(
        [index](PIP_PER_ADAPTER_INFO p, PULONG size) { return GetPerAdapterInfo(index, p, size); },
        ERROR_BUFFER_OVERFLOW, result);
    QStringList list;
    if (buffer && *result == 0)
        for (const IP_ADDR_STRING* e = &reinterpret_cast<IP_PER_ADAPTER_INFO*>(buffer.get())->DnsServerList; e;
             e = e->Next)
            list << QString::fromLatin1(e->IpAddress.String);
    return list;
}

IP_ADAPTER_INFO FindAdapter(const char* guid)
{
    DWORD rc = 0;
    auto buffer = Adapters(&rc);
    for (auto* a = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.get()); buffer && a; a = a->Next)
        if (qstrcmp(a->AdapterName, guid) == 0)
            return *a;
    return IP_ADAPTER_INFO{};
}

IP_ADAPTER_INDEX_MAP IndexMap(ULONG index)
{
    IP_ADAPTER_INDEX_MAP map{};
    map.Index = index;
    return map;
}

}  // namespace

class TestIpHelper : public QObject
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

    void sampleAdapters()
    {
        ULONG size = 0;
        QCOMPARE(GetAdaptersInfo(nullptr, &size), DWORD(ERROR_BUFFER_OVERFLOW));
        QCOMPARE(size, ULONG(2 * sizeof(IP_ADAPTER_INFO)));
        DWORD rc = 1;
        auto buffer = Adapters(&rc);
        QCOMPARE(rc, DWORD(NO_ERROR));
        auto* wired = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.get());
        IP_ADAPTER_INFO* wireless = wired->Next;
        QVERIFY(wireless && !wireless->Next);
        QCOMPARE(wired->AdapterName, kWired);
        QCOMPARE(wired->Description, "Gigabit Ethernet Controller");
        QCOMPARE(wired->Index, DWORD(11));
        QCOMPARE(wired->Type, UINT(MIB_IF_TYPE_ETHERNET));
        QCOMPARE(wired->AddressLength, UINT(6));
        QCOMPARE(wired->Address[0], BYTE(0x00));
        QCOMPARE(wired->Address[5], BYTE(0x03));
        QCOMPARE(wired->DhcpEnabled, UINT(0));
        QCOMPARE(Chain(&wired->IpAddressList), QStringList{"192.168.1.5/255.255.255.0"});
        QCOMPARE(QString(wired->GatewayList.IpAddress.String), QString("192.168.1.1"));
        QVERIFY(wired->HaveWins);
        QCOMPARE(wired->PrimaryWinsServer.IpAddress.String, "192.168.1.2");
        QCOMPARE(wired->SecondaryWinsServer.IpAddress.String, "");

        QCOMPARE(wireless->Description, "Wireless Network Adapter");
        QCOMPARE(wireless->Index, DWORD(14));
        QCOMPARE(wireless->Type, UINT(IF_TYPE_IEEE80211));
        QCOMPARE(wireless->DhcpEnabled, UINT(1));
        QCOMPARE(Chain(&wireless->IpAddressList), QStringList{"10.0.0.23/255.255.255.0"});
        QCOMPARE(wireless->GatewayList.IpAddress.String, "10.0.0.1");
        QCOMPARE(wireless->DhcpServer.IpAddress.String, "10.0.0.1");
        QCOMPARE(wireless->PrimaryWinsServer.IpAddress.String, "10.0.0.2");
        QVERIFY(wireless->LeaseExpires > wireless->LeaseObtained);
    }

    void chainsLiveInTheBuffer()
    {
        QVERIFY(m_Env->writeHive(kMultiHomed));
        ULONG size = 0;
        QCOMPARE(GetAdaptersInfo(nullptr, &size), DWORD(ERROR_BUFFER_OVERFLOW));
        QCOMPARE(size, ULONG(sizeof(IP_ADAPTER_INFO) + 3 * sizeof(IP_ADDR_STRING)));
        DWORD rc = 1;
        auto buffer = Adapters(&rc);
        QCOMPARE(rc, DWORD(NO_ERROR));
        auto* a = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.get());
        QVERIFY(!a->Next);   // the class entry without NetCfgInstanceId is no adapter
        QCOMPARE(Chain(&a->IpAddressList),
                 (QStringList{"1.1.1.1/255.0.0.0", "2.2.2.2/255.255.0.0", "3.3.3.3/255.255.255.0"}));
        QCOMPARE(Chain(&a->GatewayList).size(), 2);
        QCOMPARE(a->GatewayList.Next->IpAddress.String, "1.1.1.253");
        for (const IP_ADDR_STRING* e = a->IpAddressList.Next; e; e = e->Next) {
            QVERIFY(reinterpret_cast<const char*>(e) >= buffer.get() + sizeof(IP_ADAPTER_INFO));
            QVERIFY(reinterpret_cast<const char*>(e + 1) <= buffer.get() + size);
        }
        QVERIFY(!a->HaveWins);
        QVERIFY(a->Index != 0);   // a hive exported from a real machine has no IfIndex
    }

    void errors_data()
    {
        QTest::addColumn<QString>("hive");
        QTest::addColumn<uint>("code");
        QTest::newRow("no adapters") << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\X]\n" << uint(ERROR_NO_DATA);
        QTest::newRow("malformed hive") << "[HKEY_LOCAL_MACHINE\\X\n" << uint(ERROR_BADDB);
    }
    void errors()
    {
        QFETCH(QString, hive);
        QFETCH(uint, code);
        QVERIFY(m_Env->writeHive(hive));
        ULONG size = 0;
        QCOMPARE(uint(GetAdaptersInfo(nullptr, &size)), code);
        if (code == ERROR_BADDB) {   // the caller still reaches its second call and the code
            QVERIFY(size > 0);
            std::unique_ptr<char[]> buffer(new char[size]);
            QCOMPARE(uint(GetAdaptersInfo(reinterpret_cast<PIP_ADAPTER_INFO>(buffer.get()), &size)), code);
        }
        QCOMPARE(GetAdaptersInfo(nullptr, nullptr), DWORD(ERROR_INVALID_PARAMETER));
        size = 0;
        QCOMPARE(uint(GetInterfaceInfo(nullptr, &size)), code);
    }

    void perAdapterDns_data()
    {
        QTest::addColumn<uint>("index");
        QTest::addColumn<QStringList>("servers");
        QTest::newRow("static list") << 11u << QStringList{"192.168.1.1", "10.0.0.1"};
        QTest::newRow("from DHCP") << 14u << QStringList{"10.0.0.1"};
    }
    void perAdapterDns()
    {
        QFETCH(uint, index);
        QFETCH(QStringList, servers);
        DWORD rc = 1;
        QCOMPARE(DnsOf(index, &rc), servers);
        QCOMPARE(rc, DWORD(NO_ERROR));
    }

    void withoutDnsOrGateway()
    {
        QCOMPARE(winsys::ModifyHive([](winsys::Hive& h) -> uint32_t {
                     h.SetString(std::string(winsys::keys::kTcpipInterfaces) + "\\" + kWired, "NameServer", "");
                     h.SetMultiString(std::string(winsys::keys::kTcpipInterfaces) + "\\" + kWired, "DefaultGateway", {});
                     return 0;
                 }),
                 0u);
        const IP_ADAPTER_INFO a = FindAdapter(kWired);
        QCOMPARE(a.GatewayList.IpAddress.String, "0.0.0.0");   // a zero entry, not none
        QVERIFY(!a.GatewayList.Next);
        DWORD rc = 1;
        QCOMPARE(DnsOf(11, &rc), QStringList{""});   // the list's head exists, empty
        ULONG size = 0;
        QCOMPARE(GetPerAdapterInfo(99, nullptr, &size), DWORD(ERROR_NO_DATA));
        QCOMPARE(GetPerAdapterInfo(11, nullptr, nullptr), DWORD(ERROR_INVALID_PARAMETER));
    }

    void interfaceTable()
    {
        ULONG size = 0;
        QCOMPARE(GetInterfaceInfo(nullptr, &size), DWORD(ERROR_INSUFFICIENT_BUFFER));
        QCOMPARE(size, ULONG(sizeof(LONG) + 2 * sizeof(IP_ADAPTER_INDEX_MAP)));
        DWORD rc = 1;
        auto buffer = TwoCalls<IP_INTERFACE_INFO>(GetInterfaceInfo, ERROR_INSUFFICIENT_BUFFER, &rc);
        QCOMPARE(rc, DWORD(NO_ERROR));
        auto* table = reinterpret_cast<IP_INTERFACE_INFO*>(buffer.get());
        QCOMPARE(table->NumAdapters, LONG(2));
        QCOMPARE(table->Adapter[1].Index, ULONG(14));
        QCOMPARE(QString::fromUtf16(table->Adapter[1].Name), QString("\\DEVICE\\TCPIP_") + kWireless);
    }

    void releaseAndRenew()
    {
        IP_ADAPTER_INDEX_MAP map = IndexMap(14);
        QCOMPARE(IpReleaseAddress(&map), DWORD(NO_ERROR));
        IP_ADAPTER_INFO a = FindAdapter(kWireless);
        QCOMPARE(a.IpAddressList.IpAddress.String, "0.0.0.0");
        QCOMPARE(a.GatewayList.IpAddress.String, "0.0.0.0");
        QVERIFY(!a.HaveWins);
        DWORD rc = 1;
        QCOMPARE(DnsOf(14, &rc), QStringList{""});
        QCOMPARE(IpRenewAddress(&map), DWORD(NO_ERROR));
        a = FindAdapter(kWireless);
        QCOMPARE(a.IpAddressList.IpAddress.String, "10.0.0.23");
        QCOMPARE(a.PrimaryWinsServer.IpAddress.String, "10.0.0.2");
        QCOMPARE(DnsOf(14, &rc), QStringList{"10.0.0.1"});
    }

    void renewWithoutServer()
    {
        QCOMPARE(winsys::ModifyHive([](winsys::Hive& h) -> uint32_t {
                     h.DeleteKey(std::string(winsys::keys::kDhcpOffers) + "\\" + kWireless);
                     return 0;
                 }),
                 0u);
        IP_ADAPTER_INDEX_MAP map = IndexMap(14);
        QCOMPARE(IpRenewAddress(&map), DWORD(ERROR_SEM_TIMEOUT));
        QCOMPARE(FindAdapter(kWireless).IpAddressList.IpAddress.String, "10.0.0.23");   // lease kept
    }

    void releaseRenewRefused_data()
    {
        QTest::addColumn<uint>("index");
        QTest::addColumn<uint>("code");
        QTest::newRow("static adapter") << 11u << uint(ERROR_NOT_SUPPORTED);
        QTest::newRow("unknown index") << 77u << uint(ERROR_INVALID_PARAMETER);
    }
    void releaseRenewRefused()
    {
        QFETCH(uint, index);
        QFETCH(uint, code);
        IP_ADAPTER_INDEX_MAP map = IndexMap(index);
        QCOMPARE(uint(IpReleaseAddress(&map)), code);
        QCOMPARE(uint(IpRenewAddress(&map)), code);
        QCOMPARE(IpRenewAddress(nullptr), DWORD(ERROR_INVALID_PARAMETER));
        QCOMPARE(FindAdapter(kWired).IpAddressList.IpAddress.String, "192.168.1.5");
    }

    void generatedHost()
    {
        QVERIFY(m_Env->initGeneratedHost(1000));
        DWORD rc = 1;
        auto buffer = Adapters(&rc);
        QCOMPARE(rc, DWORD(NO_ERROR));
        QSet<DWORD> indexes;
        for (auto* a = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.get()); a; a = a->Next)
            indexes.insert(a->Index);
        QCOMPARE(indexes.size(), 1000);
        QVERIFY(!DnsOf(1099, &rc).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestIpHelper)
#include "tst_iphlp.moc"
