#include "tabbarex.h"

#include <QSignalBlocker>

CTab::CTab(const QString& title)
    : m_Text(title)
{
}

CTab::~CTab() = default;

void CTab::setIconSet(const QIcon& icon)
{
    m_Icon = icon;
    if (m_Bar)
        m_Bar->UpdateTab(this);
}

QIcon CTab::iconSet() const
{
    return m_Icon;
}

void CTab::setText(const QString& text)
{
    m_Text = text;
    if (m_Bar)
        m_Bar->UpdateTab(this);
}

QString CTab::text() const
{
    return m_Text;
}

void CTab::setEnabled(bool enabled)
{
    m_Enabled = enabled;
    if (m_Bar)
        m_Bar->UpdateTab(this);
}

bool CTab::isEnabled() const
{
    return m_Enabled;
}

void CTab::setIdentifier(int id)
{
    m_Id = id;
}

int CTab::identifier() const
{
    return m_Id;
}

CTabBarEx::CTabBarEx(QWidget* parent, const char* name)
    : QTabBar(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    // Every page title stays readable: the bar asks for the room it needs
    // rather than hiding tabs behind scroll arrows.
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
    // Each tab as wide as its icon and title, as on Windows: a stretched tab
    // keeps its icon at the edge and centres the title in the rest, so the
    // gap between them would differ from tab to tab.
    setExpanding(false);
    // Only the user's choice and setCurrentTab announce a page; rebuilding the
    // tabs does not (see addTab/removeTab).
    connect(this, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0)
            emit selected(index);
    });
}

CTabBarEx::~CTabBarEx()
{
    qDeleteAll(m_Tabs);
}

void CTabBarEx::setSide(int side)
{
    static const QTabBar::Shape shapes[] = {QTabBar::RoundedNorth, QTabBar::RoundedSouth, QTabBar::RoundedWest,
                                            QTabBar::RoundedEast};
    m_Side = (side >= 0 && side < 4) ? side : 0;
    setShape(shapes[m_Side]);
}

int CTabBarEx::side() const
{
    return m_Side;
}

int CTabBarEx::addTab(CTab* tab)
{
    if (!tab)
        return -1;
    const QSignalBlocker blocker(this);
    const int index = QTabBar::addTab(tab->m_Icon, tab->m_Text);
    setTabEnabled(index, tab->m_Enabled);
    m_Tabs.insert(index, tab);
    tab->m_Bar = this;
    if (tab->m_Id < 0)
        tab->m_Id = index;
    return index;
}

void CTabBarEx::removeTab(int index)
{
    if (index < 0 || index >= m_Tabs.size())
        return;
    const bool wasCurrent = index == currentIndex();
    {
        const QSignalBlocker blocker(this);
        QTabBar::removeTab(index);
    }
    delete m_Tabs.takeAt(index);
    // Losing the current tab moves the user to another page.
    if (wasCurrent && currentIndex() >= 0)
        emit selected(currentIndex());
}

void CTabBarEx::removeAllTabs()
{
    const QSignalBlocker blocker(this);
    while (count() > 0)
        QTabBar::removeTab(count() - 1);
    qDeleteAll(m_Tabs);
    m_Tabs.clear();
}

CTab* CTabBarEx::tab(int index) const
{
    return (index >= 0 && index < m_Tabs.size()) ? m_Tabs.at(index) : nullptr;
}

int CTabBarEx::indexOf(const CTab* tab) const
{
    return m_Tabs.indexOf(const_cast<CTab*>(tab));
}

// Announces the tab even when it is current already, so a caller can raise
// the matching page after rebuilding the tabs.
void CTabBarEx::setCurrentTab(int index)
{
    if (index < 0 || index >= count())
        return;
    if (index == currentIndex())
        emit selected(index);
    else
        setCurrentIndex(index);
}

void CTabBarEx::UpdateTab(const CTab* tab)
{
    const int index = indexOf(tab);
    if (index < 0)
        return;
    setTabText(index, tab->m_Text);
    setTabIcon(index, tab->m_Icon);
    setTabEnabled(index, tab->m_Enabled);
}
