#include "checklist.h"

#include <QHeaderView>

CCheckListControl::CCheckListControl(QWidget* parent, const char* name)
    : QTreeWidget(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setRootIsDecorated(false);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false); // rows stay in the order they were added
    setHeaderLabels({QString()});
    header()->setStretchLastSection(false);
    connect(this, &QTreeWidget::itemSelectionChanged, this, &CCheckListControl::selectionChanged);
}

int CCheckListControl::addColumn(const QString& label, int width)
{
    // The tree starts with one unnamed column; the first addColumn takes it.
    const int index = m_AutoWidth.size();
    if (index >= columnCount())
        setColumnCount(index + 1);
    headerItem()->setText(index, label);
    m_AutoWidth.append(width < 0);
    if (width < 0) {
        header()->setSectionResizeMode(index, QHeaderView::ResizeToContents);
    } else {
        header()->setSectionResizeMode(index, QHeaderView::Interactive);
        setColumnWidth(index, width);
    }
    return index;
}

QTreeWidgetItem* CCheckListControl::addRow(const QStringList& columns)
{
    auto* item = new QTreeWidgetItem(columns);
    addTopLevelItem(item);
    return item;
}

int CCheckListControl::rowCount() const
{
    return topLevelItemCount();
}
