#pragma once

// Tab bar whose tabs are CTab objects; emits selected(index).

#include <QIcon>
#include <QList>
#include <QString>
#include <QTabBar>

class CTab
{
public:
    explicit CTab(const QString& title);
    virtual ~CTab();

    void setIconSet(const QIcon& icon);
    QIcon iconSet() const;
    void setText(const QString& text);
    QString text() const;
    void setEnabled(bool enabled);
    bool isEnabled() const;
    void setIdentifier(int id);
    int identifier() const;

private:
    friend class CTabBarEx;
    QString m_Text;
    QIcon m_Icon;
    bool m_Enabled = true;
    int m_Id = -1;
    class CTabBarEx* m_Bar = nullptr;
};

class CTabBarEx : public QTabBar
{
    Q_OBJECT
public:
    CTabBarEx(QWidget* parent = nullptr, const char* name = nullptr);
    ~CTabBarEx() override;

    // 0 top (north), 1 bottom (south), 2 left (west), 3 right (east).
    void setSide(int side);
    int side() const;

    int addTab(CTab* tab); // takes ownership; returns its index
    void removeTab(int index);
    void removeAllTabs();
    CTab* tab(int index) const;
    int indexOf(const CTab* tab) const;
    void setCurrentTab(int index);

signals:
    void selected(int index);

private:
    friend class CTab;
    void UpdateTab(const CTab* tab);

    QList<CTab*> m_Tabs;
    int m_Side = 0;
};
