// Computer name, workgroup/domain and DNS suffix; DHCP release and renew.
#include "netconfig_rules.h"
#include "netconfigimpl.h"

#include "netprotocol.h"
#include "waitcursor.h"

#include <memory>
#include <new>

namespace {

// Qt 6 only exists for the Unicode Windows interfaces, so the wide call is
// the one to make. The text carries an extra NUL, as the system is handed it.
bool SetComputerNameText(COMPUTER_NAME_FORMAT type, const QString& text)
{
    const QString terminated = text + QChar(0);
    return SetComputerNameExW(type, reinterpret_cast<LPCWSTR>(terminated.utf16())) != FALSE;
}

QString InterfaceName(const IP_ADAPTER_INDEX_MAP& entry)
{
    const auto* name = reinterpret_cast<const char16_t*>(entry.Name);
    qsizetype length = 0;
    while (length < qsizetype(MAX_ADAPTER_NAME) && name[length] != 0)
        ++length;
    return QString::fromUtf16(name, length);
}

} // namespace

bool CNetConfigImpl::ApplyIdentification()
{
    bool result = true;
    if (IdentityDiffers(ledHostName->text(), m_ComputerName)) {
        const QString name = ledHostName->text();
        result = SetComputerNameText(ComputerNamePhysicalNetBIOS, name);
        if (result) {
            // Keeps a domain account in step where there is one; elsewhere it
            // fails harmlessly, so the outcome is not looked at.
            const QString terminated = name + QChar(0);
            NetRenameMachineInDomain(nullptr, reinterpret_cast<LPCWSTR>(terminated.utf16()), nullptr, nullptr,
                                     NETSETUP_JOIN_UNSECURE);
            m_ComputerName = name;
        }
    }
    if (result && IdentityDiffers(ledDomain->text(), m_Workgroup)) {
        const QString group = ledDomain->text();
        const QString suffix = ledDNSSuffix->text();
        result = CNetNProtocol::Join2Domain(group, QString());
        if (result) {
            ReleaseRenew(Release);
            ReleaseRenew(Renew);
            // The refresh after a renew refills the page from the system; a
            // suffix typed for this same apply must survive it.
            if (ledDNSSuffix->text() != suffix)
                ledDNSSuffix->setText(suffix);
            m_Workgroup = group;
        }
    }
    if (IdentityDiffers(ledDNSSuffix->text(), m_DNSSuffix)) {
        const QString suffix = ledDNSSuffix->text();
        result = SetComputerNameText(ComputerNamePhysicalDnsDomain, suffix);
        if (result)
            m_DNSSuffix = suffix;
    }
    if (!result)
        ShowSystemError(GetLastError());
    return result;
}

void CNetConfigImpl::ReleaseRenew(ReleaseRenewAction action)
{
    CWaitCursor wait;
    const int index = CurrentAdapterIndex();
    if (index < 0 || index >= m_Adapters.count())
        return;
    const QString adapterName = m_Adapters.at(index).m_AdapterName;

    ULONG size = 0;
    GetInterfaceInfo(nullptr, &size);
    if (size == 0)
        return;
    std::unique_ptr<BYTE[]> buffer(new (std::nothrow) BYTE[size]);
    auto* table = reinterpret_cast<IP_INTERFACE_INFO*>(buffer.get());
    DWORD error = table ? GetInterfaceInfo(table, &size) : GetLastError();
    if (error != 0) {
        ShowSystemError(error);
        return;
    }

    bool found = false;
    for (LONG i = 0; i < table->NumAdapters && !found; ++i) {
        IP_ADAPTER_INDEX_MAP& entry = table->Adapter[i];
        if (!InterfaceName(entry).contains(adapterName, Qt::CaseSensitive))
            continue;
        found = true;
        if (action == Release) {
            error = IpReleaseAddress(&entry);
        } else {
            error = IpRenewAddress(&entry);
            // A renew nobody answered reads better as a network error than
            // as a time-out or a missing file.
            if (error == DWORD(ERROR_SEM_TIMEOUT) || error == DWORD(ERROR_FILE_NOT_FOUND))
                error = DWORD(ERROR_UNEXP_NET_ERR);
        }
    }
    if (found && error != 0)
        ShowSystemError(error);
    else
        RefreshConfiguration();
}

void CNetConfigImpl::btnRenew_clicked()
{
    ReleaseRenew(Renew);
}

void CNetConfigImpl::btnRelease_clicked()
{
    ReleaseRenew(Release);
}
