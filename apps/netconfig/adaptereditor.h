#pragma once

#include "identity.h"
#include "networkcard.h"

#include <QObject>

// The adapters and the identification as the dialog edits them, without
// any widget: the cards with their change flags, the identification as the
// system holds it and as the user wants it. Every user edit arrives through
// a call that names its card and field; showing a card never calls in here,
// so a refill can never be taken for an edit.
class CAdapterEditor : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // What was just read from the system: every edit and flag is gone.
    void Reset(const CNetworkCardList& cards, const CIdentity& identity);
    // The same for the identification alone (the cards stay as they are).
    void ResetIdentity(const CIdentity& identity);

    int Count() const { return int(m_Cards.count()); }
    bool IsRow(int row) const { return row >= 0 && row < m_Cards.count(); }
    const CNetworkCardList& Cards() const { return m_Cards; }
    // The card itself; changes made through it are the caller's to announce.
    CNetworkCard& Card(int row) { return m_Cards[row]; }
    const CNetworkCard& Card(int row) const { return m_Cards.at(row); }
    CNetworkCardList& MutableCards() { return m_Cards; }

    // Text typed into an address field of card row.
    void EditAddress(int row, CardField field, const QString& text);
    // The three source switches: a new value marks its group changed.
    void SetDHCPEnabled(int row, bool enabled);
    void SetDNSAuto(int row, bool automatic);
    void SetWINSAuto(int row, bool automatic);
    // A list from the address list dialog, changed or not.
    void SetGateways(int row, const CIPAddressList& list);
    void SetDNSServers(int row, const CIPAddressList& list);
    void ClearChanges(int row);

    // The identification as the system holds it, and as it should become.
    const CIdentity& Remembered() const { return m_Remembered; }
    const CIdentity& Wanted() const { return m_Wanted; }
    void SetRemembered(const CIdentity& identity) { m_Remembered = identity; }
    void SetWanted(const CIdentity& identity);
    void EditIdentity(CardField field, const QString& text);
    // The Apply button's rule: name or workgroup differ as typed (the DNS
    // suffix takes no part, case counts).
    bool IdentityPending() const;

signals:
    // A card's values or flags, or the wanted identification, changed.
    void changed();

private:
    bool ToggleSource(int row, bool CNetworkCard::*field, bool CNetworkCard::*flag, bool value);

    CNetworkCardList m_Cards;
    CIdentity m_Remembered;
    CIdentity m_Wanted;
};
