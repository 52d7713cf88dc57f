#pragma once

#include "adaptereditor.h"
#include "applier.h"
#include "netconfig.h"
#include "validation.h"
#include "verification.h"

#include <memory>

#include <winsys.h>

// Controller of the main dialog. It coordinates the pages, the adapter
// editor (the model) and the applier; each slot of the form is a short
// forwarder to the page or the UI-free class that does the work.
class CNetConfigImpl : public CNetConfig
{
    Q_OBJECT

public:
    enum ReleaseRenewAction { Release = 0, Renew = 1 };

    explicit CNetConfigImpl(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                            Qt::WindowFlags fl = {});
    ~CNetConfigImpl() override;

    // Reading the live configuration (0 or a system error code).
    unsigned long ReadConfiguration();
    QString ReadRegistryString(const QString& keyPath, const QString& valueName);

    void UpdateControlStates();
    void RefreshConfiguration();
    void HideUtilitiesPage();
    int CurrentAdapterIndex();

    // The shown card and the identification; shows the problem when refused.
    bool ValidateInput();

    // Applying.
    bool ApplyAdapter(int index);
    bool RunCommands(const CommandList& queue, unsigned long* code);
    bool ApplyAll();
    bool ApplyIdentification();
    void ReleaseRenew(ReleaseRenewAction action);
    void ShowSystemError(unsigned long code);

    // Settings files: 0 on success.
    int WriteSettings(const QString& path);
    int ReadSettings(const QString& path);
    int RunConsoleCommand(const QString& fileName, bool load);

    unsigned long RefreshConnections();

    void ReadConsoleCodepage();
    QStringList BuildUtilityArguments();

    // The pages, the model and the machinery, for the process entry and tests.
    CAdaptersPage* AdaptersPage() const { return WStackPage; }
    CDrivesPage* DrivesPage() const { return WStackPage_2; }
    CIdentityPage* IdentityPage() const { return WStackPage_3; }
    CUtilitiesPage* UtilitiesPage() const { return WStackPage_4; }
    CAdapterEditor& Editor() { return m_Editor; }
    CNetworkCardList& Adapters() { return m_Editor.MutableCards(); }
    QString ComputerName() const { return m_Editor.Remembered().computerName; }
    QString Workgroup() const { return m_Editor.Remembered().workgroup; }
    QString DNSSuffix() const { return m_Editor.Remembered().dnsSuffix; }
    QString ConsoleCodepage() const;
    bool HasShellExecute() const { return m_pShellExecuteEx != nullptr; }
    // Console runs: print the plan instead of running it; one line per
    // command on standard error.
    // keepSeconds: with a load, wait that long for a confirmation before
    // reverting (-1: no waiting).
    void SetConsoleOptions(bool whatif, bool verbose, int keepSeconds = -1);
    // The dialog's "Keep these network settings?" countdown; given on the
    // command line, it is asked even where no screen shows it.
    void SetRevertTime(int seconds, bool fromCommandLine);
    // A change whose confirmation never came (its waiter was killed) is
    // undone, with a word to the user why.
    void RecoverUnconfirmedApply();
    // Console actions: restore the latest snapshot; confirm a waiting apply.
    int ConsoleUndo();
    int ConsoleConfirm();
    // Replaces the runner that applying uses (tests, benchmarks).
    void SetCommandRunner(std::unique_ptr<CCommandRunner> runner);
    CApplier& Applier() { return *m_Applier; }
    bool IsApplying() const { return m_Applying; }

public slots:
    void SelectAdapter(int index) override;
    void HaveWINS(int state) override;
    void DNSAuto(int state) override;
    void SaveToFile() override;
    void ApplyClick() override;
    void OKClick() override;
    void MapNetDrive() override;
    void btnRenew_clicked() override;
    void btnRelease_clicked() override;
    void SelectNetTab(int) override;
    void DisconnectDrive() override;
    void ledControl_textChanged(const QString& text) override;
    void SelectMainTab(int id) override;
    void EditGateways() override;
    void EditDNSServers() override;
    void LoadFromFile() override;
    void CancelClick() override;
    void reject() override;
    void RestorePreviousSettings();

private slots:
    void DHCPSettingsChange(int id) override;
    void OnChangeUtility(int) override;
    void OnChangeUtilityTarget(const QString& text) override;
    void OnStartUtility() override;
    void OnUtilityProcessExited();
    void OnReadyStderr();
    void OnReadyStdout();
    void OnClearUtilityOutput() override;
    void OnOutputTextChanged() override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    using PFN_ShellExecuteExW = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
    friend class CApplyGuard;

    // How one apply ended, for the console's exit code.
    enum class ApplyOutcome { Done, Refused, Failed, Differences, Reverted, Busy };

    void SetUpTabs();
    const CNetworkCard* CurrentCard() const;
    bool ValidateRows(const QList<int>& rows);
    bool ConfirmWarnings(const QList<int>& rows);
    void ShowProblem(int row, const CValidationProblem& problem);
    QList<int> RowsToApply(bool withShown) const;
    CApplyPlan PlanFor(const QList<int>& rows) const;
    ApplyOutcome RunApply(const QList<int>& rows);
    ApplyOutcome RunPlan(const CApplyPlan& plan);
    bool NoOtherApplyWaiting();
    ApplyOutcome KeepOrRevert(const CApplyPlan& plan, const QString& snapshot, ApplyOutcome outcome);
    bool WaitForConfirmation(const QString& snapshot);
    bool AskToKeep(const QString& snapshot);
    ApplyOutcome RestoreSnapshot(const QString& path);
    void UpdateRestoreButton();
    static int ExitCodeOf(ApplyOutcome outcome);
    bool ApplyCardAt(int row, const QList<Phase>& phases);
    void PrintPlan(const CApplyPlan& plan) const;
    void ReportDifferences(const CDifferenceList& differences);
    void NoteCommand(const Command& command, const CommandResult& result);
    int ConsoleLoad(const QString& fileName);
    int ConsoleSave(const QString& fileName);
    void AfterJoin();

    PFN_ShellExecuteExW m_pShellExecuteEx = nullptr;
    CAdapterEditor m_Editor;
    std::unique_ptr<CCommandRunner> m_Runner;
    std::unique_ptr<CApplier> m_Applier;
    bool m_Applying = false;
    QString m_LoadedFile; // the settings file a console load is applying
    bool m_WhatIf = false;
    bool m_Verbose = false;
    ApplyOutcome m_LastOutcome = ApplyOutcome::Done;
    int m_ConsoleKeepSeconds = -1;
    int m_RevertSeconds = 20;
    bool m_AskKeepHeadless = false;
    bool m_Restoring = false;                      // a revert or undo: no snapshot, no question
    QList<QPair<Command, CommandResult>> m_RunLog; // what the running apply ran
};
