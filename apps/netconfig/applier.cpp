#include "applier.h"

#include "configreader.h"
#include "registrykeys.h"
#include "winresources.h"

#include <QEventLoop>

namespace {

const unsigned long kErrorCancelled = 1223; // ERROR_CANCELLED

bool WriteNameServer(const QString& key, const QString& value)
{
    CRegKey hKey;
    if (hKey.Open(key) != ERROR_SUCCESS)
        return false;
    const QByteArray data = value.toLocal8Bit();
    return RegSetValueExA(hKey.Get(), "NameServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(data.constData()),
                          DWORD(data.size() + 1)) == ERROR_SUCCESS;
}

} // namespace

CApplier::CApplier(CCommandRunner& runner, QObject* parent) : QObject(parent), m_Runner(runner)
{
}

CommandResult CApplier::RunOne(const Command& command)
{
    CommandResult result;
    QEventLoop loop;
    const QMetaObject::Connection done =
        connect(&m_Runner, &CCommandRunner::finished, &loop, [&result, &loop](const CommandResult& r) {
            result = r;
            loop.quit();
        });
    emit commandStarted(command);
    m_Runner.Start(command);
    loop.exec();
    disconnect(done);
    emit commandFinished(command, result);
    return result;
}

bool CApplier::RunCommands(const CommandList& commands, unsigned long* code)
{
    if (commands.isEmpty() || !m_Runner.IsAvailable())
        return false;
    if (m_Cancelled) {
        if (code)
            *code = kErrorCancelled;
        return false;
    }
    m_Running = true;
    bool succeeded = false;
    unsigned long last = 0;
    for (const Command& command : commands) {
        const CommandResult result = RunOne(command);
        if (result.outcome != CommandResult::NoProcess)
            last = result.code;
        succeeded = result.Succeeded();
        if (code)
            *code = last;
        if (result.outcome == CommandResult::TimedOut || result.outcome == CommandResult::Cancelled) {
            succeeded = false;
            break;
        }
        if (m_Cancelled && &command != &commands.constLast()) {
            succeeded = false;
            if (code)
                *code = kErrorCancelled;
            break;
        }
    }
    m_Running = false;
    return succeeded;
}

void CApplier::Cancel()
{
    m_Cancelled = true;
}

// Keeps the static DNS value in the registry in step with the DNS mode. When
// it has to be rewritten, the write decides the phase instead of netsh.
bool CApplier::SyncNameServer(const CNetworkCard& card, bool netshResult)
{
    const QString key = regkeys::AdapterTcpip(card.m_AdapterName);
    const bool isStatic = !card.m_DNSAuto;
    const bool isEmpty = ReadRegistryString(key, QStringLiteral("NameServer")).isEmpty();
    if (isEmpty != isStatic)
        return netshResult;
    const QString value = isStatic && !card.m_DNSServers.isEmpty() ? card.m_DNSServers.first().ToString() : QString();
    return WriteNameServer(key, value);
}

bool CApplier::ApplyCard(const CNetworkCard& card, int row, const QList<Phase>& phases, unsigned long* code)
{
    for (Phase phase : phases) {
        bool ok = RunCommands(BuildPhaseCommands(card, row, phase), code);
        if (phase == Phase::DNS && !m_Cancelled)
            ok = SyncNameServer(card, ok);
        if (!ok)
            return false;
    }
    return true;
}
