#pragma once

// The "Map Network Drive" dialog: a free drive letter or none (a deviceless
// connection), the shared folder as a UNC path checked while it is typed,
// and whether to reconnect at sign-in.

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Runs the dialog modally. 0 when a drive was mapped, -1 when cancelled
// (the values of the system's own connection dialog).
int MapNetworkDrive(QWidget* parent, int);

class CMapDriveDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CMapDriveDialog(QWidget* parent = nullptr);

    // The letters ("E:") that are neither the machine's own drives nor in use
    // by a connection, in alphabetical order.
    static QStringList FreeDriveLetters();
    // \\server\share with an optional \path below it.
    static bool IsValidFolder(const QString& folder);

    QComboBox* driveCombo() const { return m_Drive; }
    QLineEdit* folderEdit() const { return m_Folder; }
    QCheckBox* reconnectBox() const { return m_Reconnect; }
    QPushButton* finishButton() const { return m_Finish; }
    QPushButton* cancelButton() const { return m_Cancel; }

    // The system error of the last attempt (0: none yet or success).
    unsigned long lastError() const { return m_LastError; }

public slots:
    void accept() override;

private:
    void UpdateFinishButton();
    void UpdateReconnectBox();

    QComboBox* m_Drive = nullptr;
    QLineEdit* m_Folder = nullptr;
    QLabel* m_FolderHint = nullptr;
    QCheckBox* m_Reconnect = nullptr;
    QPushButton* m_Finish = nullptr;
    QPushButton* m_Cancel = nullptr;
    unsigned long m_LastError = 0;
};
