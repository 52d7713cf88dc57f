#include "settingsfile.h"

#include "netconfig_rules.h"

#include "inifile.h"

#include <QRegularExpression>

namespace {

const char kHostSection[] = "HostInformation";
const QStringList kAdapterKeys = {"protocol", "mask", "DNS", "Wins", "Wins2", "Gateway", "Addresses"};
const QStringList kHostKeys = {"ComputerName", "Workgroup", "PrimaryDNS"};

QString EntryPath(const QString& section, const QString& key)
{
    return QStringLiteral("%1/%2").arg(section, key);
}

// The adapter position a section stands for (1-based), 0 when it is not one.
int AdapterPosition(const QString& section)
{
    static const QRegularExpression adapter(
        QRegularExpression::anchoredPattern(QStringLiteral("Interface([1-9][0-9]{0,8})")),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = adapter.match(section);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

bool IsHostSection(const QString& section)
{
    return section.compare(QLatin1String(kHostSection), Qt::CaseInsensitive) == 0;
}

bool MeansDhcp(const QString& value)
{
    return value.contains(QLatin1String("dhcp"), Qt::CaseInsensitive);
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

} // namespace

QString AdapterSection(int row)
{
    return QStringLiteral("Interface%1").arg(row + 1);
}

QString SettingsKey(CardField field)
{
    switch (field) {
    case CardField::IPAddress:
        return QStringLiteral("protocol");
    case CardField::SubnetMask:
        return QStringLiteral("mask");
    case CardField::SecondaryAddresses:
        return QStringLiteral("Addresses");
    case CardField::Gateway:
        return QStringLiteral("Gateway");
    case CardField::DNSServer:
        return QStringLiteral("DNS");
    case CardField::PrimaryWINS:
        return QStringLiteral("Wins");
    case CardField::SecondaryWINS:
        return QStringLiteral("Wins2");
    case CardField::ComputerName:
        return QStringLiteral("ComputerName");
    case CardField::Workgroup:
        return QStringLiteral("Workgroup");
    case CardField::DNSSuffix:
        return QStringLiteral("PrimaryDNS");
    default:
        return QString();
    }
}

namespace {

struct KeptEntry
{
    QString key;
    QString value;
};

// What a file holds that this program does not own: other programs'
// sections, and keys of their own inside ours. A save keeps them, after ours.
class ForeignContent
{
public:
    ForeignContent(const CIniFile& ini, int adapterCount)
    {
        for (const QString& section : ini.GetSections()) {
            const int position = AdapterPosition(section);
            if (position > adapterCount)
                continue; // an adapter this machine no longer has
            if (position > 0)
                Keep(ini, section, AdapterSection(position - 1), kAdapterKeys);
            else if (IsHostSection(section))
                Keep(ini, section, QLatin1String(kHostSection), kHostKeys);
            else
                Keep(ini, section, QString(), {});
        }
    }

    // Foreign keys of one of our sections, by its canonical name.
    QList<KeptEntry> KeysOf(const QString& section) const { return m_Inside.value(section); }
    const QList<QPair<QString, QList<KeptEntry>>>& Sections() const { return m_Sections; }

private:
    void Keep(const CIniFile& ini, const QString& section, const QString& ours, const QStringList& ownKeys)
    {
        QList<KeptEntry> kept;
        for (const QString& key : ini.GetSectionKeys(section)) {
            if (!ownKeys.contains(key, Qt::CaseInsensitive))
                kept.append({key, ini.readEntry(EntryPath(section, key))});
        }
        if (ours.isEmpty())
            m_Sections.append({section, kept});
        else
            m_Inside[ours] += kept;
    }

    QMap<QString, QList<KeptEntry>> m_Inside;
    QList<QPair<QString, QList<KeptEntry>>> m_Sections;
};

class SectionWriter
{
public:
    SectionWriter(CIniFile& ini, const QString& section) : m_Ini(ini), m_Section(section) {}
    void Write(const QString& key, const QString& value) { m_Ini.writeEntry(EntryPath(m_Section, key), value); }
    void Write(const QList<KeptEntry>& entries)
    {
        for (const KeptEntry& entry : entries)
            Write(entry.key, entry.value);
    }

private:
    CIniFile& m_Ini;
    QString m_Section;
};

void WriteAdapterSection(SectionWriter& out, const CNetworkCard& card)
{
    const QString dhcp = QStringLiteral("dhcp");
    out.Write(QStringLiteral("protocol"), card.m_DHCPEnabled ? dhcp : card.m_IPAddress.ToString());
    out.Write(QStringLiteral("mask"), card.m_SubnetMask.ToString());
    const QString dns = card.m_DNSAuto ? dhcp : JoinAddressList(card.m_DNSServers);
    if (!dns.isEmpty())
        out.Write(QStringLiteral("DNS"), dns);
    out.Write(QStringLiteral("Wins"), card.m_WINSAuto ? dhcp : card.m_PrimaryWINS.ToString());
    if (!card.m_WINSAuto)
        out.Write(QStringLiteral("Wins2"), card.m_SecondaryWINS.ToString());
    const QString gateways = JoinAddressList(card.m_Gateways);
    if (!gateways.isEmpty())
        out.Write(QStringLiteral("Gateway"), gateways);
    // Older files lack the key: the adapter's first address was all there was.
    QString addresses;
    for (const CAddressWithMask& more : card.m_SecondaryAddresses)
        addresses += QStringLiteral("%1/%2;").arg(more.address.ToString(), more.mask.ToString());
    if (!card.m_DHCPEnabled && !addresses.isEmpty())
        out.Write(QStringLiteral("Addresses"), addresses);
}

void WriteHostSection(SectionWriter& out, const CIdentity& identity)
{
    out.Write(QStringLiteral("ComputerName"), identity.computerName);
    out.Write(QStringLiteral("Workgroup"), identity.workgroup);
    out.Write(QStringLiteral("PrimaryDNS"), identity.dnsSuffix);
}

// One section of a bound file; a missing key reads as empty.
class SectionReader
{
public:
    SectionReader(const CIniFile& ini, const QString& section) : m_Ini(ini), m_Section(section) {}
    bool HasKeys() const { return !m_Ini.GetSectionKeys(m_Section).isEmpty(); }
    QString Value(const char* key) const { return m_Ini.readEntry(EntryPath(m_Section, QLatin1String(key))); }

private:
    const CIniFile& m_Ini;
    QString m_Section;
};

// A list key: the parts as addresses, and the first part that is none kept
// for validation.
CIPAddressList ReadAddressList(const QString& value, CNetworkCard& card, CardField field)
{
    CIPAddressList list;
    QString invalid;
    for (const QString& part : value.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        list.append(CIPAddress(part));
        if (invalid.isNull() && !IsStrictAddress(part))
            invalid = part;
    }
    card.SetFieldSource(field, invalid.isNull() ? list.value(0).ToString() : invalid);
    return list;
}

void ReadAddress(const QString& value, CIPAddress& target, CNetworkCard& card, CardField field)
{
    target = CIPAddress(value);
    card.SetFieldSource(field, value);
}

// "ip/mask;ip/mask;": a part that is not two valid addresses is kept for
// validation to report.
CAddressWithMaskList ReadSecondaryAddresses(const QString& value, CNetworkCard& card)
{
    CAddressWithMaskList list;
    QString invalid;
    for (const QString& part : value.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString address = part.section(QLatin1Char('/'), 0, 0), mask = part.section(QLatin1Char('/'), 1);
        list.append({CIPAddress(address), CIPAddress(mask)});
        if (invalid.isNull() && !(IsStrictAddress(address) && IsStrictAddress(mask)))
            invalid = part;
    }
    card.SetFieldSource(CardField::SecondaryAddresses, invalid.isNull() ? CIPAddress().ToString() : invalid);
    return list;
}

void ReadAddressKeys(const SectionReader& in, CNetworkCard& card)
{
    const QString protocol = in.Value("protocol");
    if (!protocol.isEmpty()) {
        card.m_DHCPEnabled = MeansDhcp(protocol);
        ReadAddress(card.m_DHCPEnabled ? CIPAddress().ToString() : protocol, card.m_IPAddress, card,
                    CardField::IPAddress);
        card.m_AddressChanged = true;
    }
    const QString mask = in.Value("mask");
    if (!mask.isEmpty()) {
        ReadAddress(mask, card.m_SubnetMask, card, CardField::SubnetMask);
        card.m_AddressChanged = true;
    }
    const QString gateways = in.Value("Gateway");
    if (!gateways.isEmpty()) {
        card.m_Gateways = ReadAddressList(gateways, card, CardField::Gateway);
        card.m_AddressChanged = true;
    }
    const QString addresses = in.Value("Addresses");
    if (!addresses.isEmpty()) {
        card.m_SecondaryAddresses = ReadSecondaryAddresses(addresses, card);
        card.m_AddressChanged = true;
    }
}

void ReadServerKeys(const SectionReader& in, CNetworkCard& card)
{
    const QString dns = in.Value("DNS");
    if (!dns.isEmpty()) {
        card.m_DNSAuto = MeansDhcp(dns);
        card.m_DNSServers = card.m_DNSAuto ? CIPAddressList() : ReadAddressList(dns, card, CardField::DNSServer);
        if (card.m_DNSAuto)
            card.SetFieldSource(CardField::DNSServer, CIPAddress().ToString());
        card.m_DNSChanged = true;
    }
    const QString wins = in.Value("Wins");
    if (wins.isEmpty())
        return;
    card.m_WINSAuto = MeansDhcp(wins);
    ReadAddress(card.m_WINSAuto ? CIPAddress().ToString() : wins, card.m_PrimaryWINS, card, CardField::PrimaryWINS);
    card.m_WINSChanged = true;
    const QString secondary = in.Value("Wins2");
    if (!card.m_WINSAuto && !secondary.isEmpty())
        ReadAddress(secondary, card.m_SecondaryWINS, card, CardField::SecondaryWINS);
}

bool HoldsSettings(const CIniFile& ini)
{
    for (const QString& section : ini.GetSections()) {
        if ((AdapterPosition(section) > 0 || IsHostSection(section)) && !ini.GetSectionKeys(section).isEmpty())
            return true;
    }
    return false;
}

} // namespace

int WriteSettingsFile(const QString& path, const CNetworkCardList& cards, const CIdentity& identity)
{
    CIniFile ini;
    if (!ini.SetIniFileName(path))
        return 1;
    const ForeignContent foreign(ini, int(cards.count()));
    ini.removeAllSections();
    for (int row = 0; row < cards.count(); ++row) {
        SectionWriter out(ini, AdapterSection(row));
        WriteAdapterSection(out, cards.at(row));
        out.Write(foreign.KeysOf(AdapterSection(row)));
    }
    SectionWriter host(ini, QLatin1String(kHostSection));
    WriteHostSection(host, identity);
    host.Write(foreign.KeysOf(QLatin1String(kHostSection)));
    for (const auto& section : foreign.Sections()) {
        SectionWriter out(ini, section.first);
        out.Write(section.second);
    }
    return ini.Flush() ? 0 : 1;
}

int ReadSettingsFile(const QString& path, CNetworkCardList& cards, CIdentity& identity)
{
    CIniFile ini;
    // A file without a single settings key (empty, junk, another program's
    // INI) is refused rather than "loaded" as an apply of nothing.
    if (!ini.SetIniFileName(path) || !HoldsSettings(ini))
        return 1;
    for (int row = 0; row < cards.count(); ++row) {
        const SectionReader section(ini, AdapterSection(row));
        if (!section.HasKeys())
            continue;
        ReadAddressKeys(section, cards[row]);
        ReadServerKeys(section, cards[row]);
    }
    const SectionReader host(ini, QLatin1String(kHostSection));
    if (!host.HasKeys())
        return 0;
    const auto take = [&host](const char* key, QString& target) {
        const QString value = host.Value(key);
        if (!value.isEmpty())
            target = value;
    };
    take("ComputerName", identity.computerName);
    take("Workgroup", identity.workgroup);
    take("PrimaryDNS", identity.dnsSuffix);
    return 0;
}
