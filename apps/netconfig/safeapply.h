#pragma once

#include "identity.h"
#include "networkcard.h"

#include <QDateTime>
#include <QStringList>

// The one apply of a machine that may be waiting to be confirmed: who waits
// (a process), until when, what restores the machine, and whether it has
// been confirmed.
struct CPendingApply
{
    qint64 pid = 0;
    QString snapshot;
    QDateTime deadline;
    bool confirmed = false;
};

// Snapshots of the live configuration taken before applies, and the pending
// confirmation, kept in the user's state folder apart for each machine.
class CSafeApplyStore
{
public:
    // folder: where this machine's snapshots and pending record live.
    explicit CSafeApplyStore(const QString& folder) : m_Folder(folder) {}
    // The user's state folder, one subfolder per machine (its MachineGuid).
    static CSafeApplyStore ForThisMachine();

    static constexpr int kKeptSnapshots = 20;

    // Writes cards and identity as a settings file named by the time and
    // keeps the newest 20. The path, or empty when it cannot be written.
    QString TakeSnapshot(const CNetworkCardList& cards, const CIdentity& identity) const;
    QStringList Snapshots() const; // oldest first
    QString LatestSnapshot() const;

    // Makes pending this machine's pending apply, unless a live one is
    // there already (then false, with it in *other).
    bool ClaimPending(const CPendingApply& pending, CPendingApply* other = nullptr) const;
    bool ReadPending(CPendingApply* pending) const;
    void ReleasePending() const;
    // Marks the pending apply confirmed; false when none waits.
    bool ConfirmPending() const;
    // The process that waits for it is gone, or far past its time: that
    // apply was never confirmed.
    static bool IsStale(const CPendingApply& pending);

    QString Folder() const { return m_Folder; }

private:
    QString PendingPath() const;
    bool WritePending(const CPendingApply& pending) const;

    QString m_Folder;
};

bool IsProcessAlive(qint64 pid);
