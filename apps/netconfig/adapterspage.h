#pragma once

#include "adaptereditor.h"

#include <QWidget>

#include "ui_adapterspage.h"

// The "Network adapters" page: the adapter list and the shown card's
// address, DNS and WINS settings. Each field writes into the editor through
// its own textEdited signal, so only what the user types is an edit; filling
// the page from a card never is.
class CAdaptersPage : public QWidget, public Ui::CAdaptersPage
{
    Q_OBJECT

public:
    explicit CAdaptersPage(QWidget* parent = nullptr);

    void SetEditor(CAdapterEditor* editor) { m_Editor = editor; }

    // Rows follow the editor's cards; the first becomes current.
    void FillAdapterList();
    int CurrentRow() const { return cbAdapters->currentIndex(); }
    // Makes row current and shows its card.
    void ShowCard(int row);
    void UpdateControlStates();

    // The source switches of the shown card.
    void SetAddressSource(int id);
    void SetDNSAuto(bool automatic);
    void SetWINSAuto(bool automatic);
    // The "Advanced..." lists; true when the dialog's OK stored a list.
    bool EditGateways();
    bool EditDNSServers();

    // Puts the cursor into field with its text selected.
    void FocusField(CardField field);
    QLineEdit* FieldEdit(CardField field) const;

private:
    void BindField(QLineEdit* edit, CardField field);
    bool EditList(CIPAddressList (CNetworkCard::*get)() const, void (CAdapterEditor::*set)(int, const CIPAddressList&),
                  QLineEdit* field);

    CAdapterEditor* m_Editor = nullptr;
};
