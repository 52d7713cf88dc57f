// Settings files: the INI form of the whole model (adapters by position,
// then the identification).
#include "netconfigimpl.h"

#include "inifile.h"

#include <QRegularExpression>

namespace {

const char* const kHostSection = "HostInformation";

QString EntryPath(const QString& section, const QString& key)
{
    return QStringLiteral("%1/%2").arg(section, key);
}

QString AdapterSection(int position)
{
    return QStringLiteral("Interface%1").arg(position);
}

bool IsSettingsSection(const QString& name)
{
    // Section names are matched without regard to case, as CIniFile does.
    static const QRegularExpression adapter(
        QRegularExpression::anchoredPattern(QStringLiteral("Interface[1-9][0-9]*")),
        QRegularExpression::CaseInsensitiveOption);
    return name.compare(QLatin1String(kHostSection), Qt::CaseInsensitive) == 0
        || adapter.match(name).hasMatch();
}

bool MeansDhcp(const QString& value)
{
    return value.contains(QLatin1String("dhcp"), Qt::CaseInsensitive);
}

CIPAddressList ParseAddressList(const QString& value)
{
    CIPAddressList list;
    for (const QString& part : value.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        list.append(CIPAddress(part));
    return list;
}

// Every non-zero entry followed by ";"; empty when there is none.
QString JoinAddressList(const CIPAddressList& list)
{
    QString text;
    for (const CIPAddress& address : list) {
        if (address.Value() != 0)
            text += address.ToString() + QLatin1Char(';');
    }
    return text;
}

// One section of a bound file; a missing key reads as empty.
class SectionReader
{
public:
    SectionReader(const CIniFile& ini, const QString& section) : m_Ini(ini), m_Section(section) {}
    bool HasKeys() const { return !m_Ini.GetSectionKeys(m_Section).isEmpty(); }
    QString Value(const char* key) const
    {
        return m_Ini.readEntry(EntryPath(m_Section, QLatin1String(key)), QString());
    }

private:
    const CIniFile& m_Ini;
    QString m_Section;
};

// Reading only ever sets change flags: even an equal value counts as a
// change, so a loaded file is always applied in full.
void ReadAddressKeys(const SectionReader& in, CNetworkCard& card)
{
    const QString protocol = in.Value("protocol");
    if (!protocol.isEmpty()) {
        card.m_DHCPEnabled = MeansDhcp(protocol);
        card.m_IPAddress = card.m_DHCPEnabled ? CIPAddress() : CIPAddress(protocol);
        card.m_AddressChanged = true;
    }
    const QString mask = in.Value("mask");
    if (!mask.isEmpty()) {
        card.m_SubnetMask = CIPAddress(mask);
        card.m_AddressChanged = true;
    }
    const QString gateways = in.Value("Gateway");
    if (!gateways.isEmpty()) {
        card.m_Gateways = ParseAddressList(gateways);
        card.m_AddressChanged = true;
    }
}

void ReadServerKeys(const SectionReader& in, CNetworkCard& card)
{
    const QString dns = in.Value("DNS");
    if (!dns.isEmpty()) {
        card.m_DNSAuto = MeansDhcp(dns);
        card.m_DNSServers = card.m_DNSAuto ? CIPAddressList() : ParseAddressList(dns);
        card.m_DNSChanged = true;
    }
    const QString wins = in.Value("Wins");
    if (wins.isEmpty())
        return;
    card.m_WINSAuto = MeansDhcp(wins);
    card.m_PrimaryWINS = card.m_WINSAuto ? CIPAddress() : CIPAddress(wins);
    card.m_WINSChanged = true;
    const QString secondary = in.Value("Wins2");
    if (!card.m_WINSAuto && !secondary.isEmpty())
        card.m_SecondaryWINS = CIPAddress(secondary);
}

void WriteAdapterSection(CIniFile& ini, const QString& section, const CNetworkCard& card)
{
    auto write = [&](const char* key, const QString& value) {
        ini.writeEntry(EntryPath(section, QLatin1String(key)), value);
    };
    const QString dhcp = QStringLiteral("dhcp");
    write("protocol", card.m_DHCPEnabled ? dhcp : card.m_IPAddress.ToString());
    write("mask", card.m_SubnetMask.ToString());
    const QString dns = card.m_DNSAuto ? dhcp : JoinAddressList(card.m_DNSServers);
    if (!dns.isEmpty())
        write("DNS", dns);
    write("Wins", card.m_WINSAuto ? dhcp : card.m_PrimaryWINS.ToString());
    if (!card.m_WINSAuto)
        write("Wins2", card.m_SecondaryWINS.ToString());
    const QString gateways = JoinAddressList(card.m_Gateways);
    if (!gateways.isEmpty())
        write("Gateway", gateways);
}

// Our sections are rewritten from scratch so that keys the configuration no
// longer calls for (a gateway since removed, a third adapter of another
// machine) cannot survive a save; foreign sections are left alone.
void ClearSettingsSections(CIniFile& ini)
{
    for (const QString& section : ini.GetSections()) {
        if (!IsSettingsSection(section))
            continue;
        for (const QString& key : ini.GetSectionKeys(section))
            ini.removeEntry(EntryPath(section, key));
    }
}

bool HoldsSettings(const CIniFile& ini)
{
    for (const QString& section : ini.GetSections()) {
        if (IsSettingsSection(section) && !ini.GetSectionKeys(section).isEmpty())
            return true;
    }
    return false;
}

} // namespace


int CNetConfigImpl::WriteSettings(const QString& path)
{
    CIniFile ini;
    if (!ini.SetIniFileName(path))
        return 1;
    ClearSettingsSections(ini);
    for (int i = 0; i < m_Adapters.count(); ++i)
        WriteAdapterSection(ini, AdapterSection(i + 1), m_Adapters.at(i));
    const QString host = QLatin1String(kHostSection);
    ini.writeEntry(EntryPath(host, QStringLiteral("ComputerName")), m_ComputerName);
    ini.writeEntry(EntryPath(host, QStringLiteral("Workgroup")), m_Workgroup);
    ini.writeEntry(EntryPath(host, QStringLiteral("PrimaryDNS")), m_DNSSuffix);
    return ini.Flush() ? 0 : 1;
}

int CNetConfigImpl::ReadSettings(const QString& path)
{
    CIniFile ini;
    // A file without a single settings key (empty, junk, another program's
    // INI) is refused rather than "loaded" as an apply of nothing.
    if (!ini.SetIniFileName(path) || !HoldsSettings(ini))
        return 1;
    for (int i = 0; i < m_Adapters.count(); ++i) {
        const SectionReader section(ini, AdapterSection(i + 1));
        if (!section.HasKeys())
            continue;
        ReadAddressKeys(section, m_Adapters[i]);
        ReadServerKeys(section, m_Adapters[i]);
    }
    const SectionReader host(ini, QLatin1String(kHostSection));
    if (host.HasKeys()) {
        auto take = [&](const char* key, QString& target) {
            const QString value = host.Value(key);
            if (!value.isEmpty())
                target = value;
        };
        take("ComputerName", m_ComputerName);
        take("Workgroup", m_Workgroup);
        take("PrimaryDNS", m_DNSSuffix);
    }
    return 0;
}
