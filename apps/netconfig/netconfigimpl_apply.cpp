// Applying adapter settings through netsh, and the Apply / OK buttons.
#include "netconfig_rules.h"
#include "netconfigimpl.h"

#include "devcheck.h"
#include "waitcursor.h"

#include <cstring>

namespace {

static_assert(sizeof(void*) != 8 || sizeof(SHELLEXECUTEINFOW) == 112, "SHELLEXECUTEINFOW layout");

// The runner leaves the code untouched only when the shell entry point is
// missing; then nothing could be started, which this code says.
constexpr unsigned long kNothingStarted = ERROR_FILE_NOT_FOUND;

bool WriteNameServer(const QString& key, const QString& value)
{
    HKEY hKey = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, key.toUtf8().constData(), &hKey) != ERROR_SUCCESS)
        return false;
    const QByteArray data = value.toLocal8Bit();
    const LONG status = RegSetValueExA(hKey, "NameServer", 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(data.constData()), DWORD(data.size() + 1));
    RegCloseKey(hKey);
    return status == ERROR_SUCCESS;
}

// Keeps the static DNS value in the registry in step with the DNS mode. When
// it has to be rewritten, the write decides the phase instead of netsh.
bool SyncNameServer(CNetConfigImpl& dialog, const CNetworkCard& card, bool netshResult)
{
    const QString key = AdapterParametersKey(card.m_AdapterName);
    const bool isStatic = !card.m_DNSAuto;
    const bool isEmpty = dialog.ReadRegistryString(key, QStringLiteral("NameServer")).isEmpty();
    if (isEmpty != isStatic)
        return netshResult;
    const QString value = isStatic && !card.m_DNSServers.isEmpty() ? card.m_DNSServers.first().ToString()
                                                                   : QString();
    return WriteNameServer(key, value);
}

bool RunPhase(CNetConfigImpl& dialog, const QStringList& queue)
{
    unsigned long code = kNothingStarted;
    if (dialog.RunCommands(queue, &code))
        return true;
    dialog.ShowSystemError(code);
    return false;
}

} // namespace

bool CNetConfigImpl::ApplyAdapter(int Index)
{
    DEV_CHECK(Index < (int)m_Adapters.count());
    if (Index < 0 || Index >= m_Adapters.count())
        return false;
    const CNetworkCard card = m_Adapters.at(Index);
    if (!ValidateInput())
        return false;
    if (!card.m_AddressChanged && !card.m_DNSChanged && !card.m_WINSChanged)
        return true;

    // DNS, WINS, address: a failing phase stops the adapter, earlier phases
    // stay applied.
    if (card.m_DNSChanged) {
        unsigned long code = kNothingStarted;
        const bool ran = RunCommands(BuildDNSCommands(card), &code);
        if (!SyncNameServer(*this, card, ran)) {
            ShowSystemError(code);
            return false;
        }
    }
    if (card.m_WINSChanged && !RunPhase(*this, BuildWINSCommands(card)))
        return false;
    if (card.m_AddressChanged && !RunPhase(*this, BuildAddressCommands(card)))
        return false;
    return true;
}

bool CNetConfigImpl::RunCommands(const QStringList& queue, unsigned long* code)
{
    if (!m_pShellExecuteEx || queue.isEmpty())
        return false;
    bool succeeded = false;
    unsigned long entryCode = 0;
    for (const QString& entry : queue) {
        const QStringList currCommand = entry.split(QLatin1Char(';'));
        DEV_CHECK(currCommand.count() == 2);
        const QString program = currCommand.value(0);
        const QString parameters = currCommand.value(1);

        SHELLEXECUTEINFOW info;
        std::memset(&info, 0, sizeof(info));
        info.cbSize = sizeof(info);
        info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_UNICODE;
        info.lpFile = reinterpret_cast<LPCWSTR>(program.utf16());
        info.lpParameters = reinterpret_cast<LPCWSTR>(parameters.utf16());
        info.nShow = SW_HIDE;
        // The last error read after the run must describe this entry, not a
        // failure left over from some earlier call.
        SetLastError(0);
        m_pShellExecuteEx(&info);

        const quintptr instance = reinterpret_cast<quintptr>(info.hInstApp);
        if (instance <= 32) {
            entryCode = static_cast<unsigned long>(instance);
            succeeded = false;
        } else if (info.hProcess) {
            WaitForSingleObject(info.hProcess, INFINITE);
            DWORD exitCode = 0;
            if (GetExitCodeProcess(info.hProcess, &exitCode) && exitCode == 0) {
                entryCode = 0;
            } else {
                // Also for a nonzero exit code: netsh's exit code is not a
                // system error number, and the caller would show an unrelated
                // system text for it. Only a real system error fails the entry.
                entryCode = GetLastError();
            }
            succeeded = entryCode == 0;
            CloseHandle(info.hProcess);
        } else {
            // Nothing to wait for: the entry counts as done and keeps the
            // previous entry's code.
            succeeded = true;
        }
        if (code)
            *code = entryCode;
    }
    return succeeded;
}

bool CNetConfigImpl::ApplyAll()
{
    CWaitCursor wait;
    for (int index = 0; index < m_Adapters.count(); ++index) {
        if (!ApplyAdapter(index))
            return false;
    }
    return ApplyIdentification();
}

void CNetConfigImpl::ApplyClick()
{
    const int index = CurrentAdapterIndex();
    if (!ApplyAdapter(index) || !ApplyIdentification())
        return;
    // Identification may have refreshed the model; clear the card as it is now.
    if (index >= 0 && index < m_Adapters.count()) {
        CNetworkCard& card = m_Adapters[index];
        card.m_AddressChanged = card.m_DNSChanged = card.m_WINSChanged = false;
    }
    UpdateControlStates();
}

void CNetConfigImpl::OKClick()
{
    if (ApplyAll())
        accept();
}
