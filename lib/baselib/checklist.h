#pragma once

// Multi-column list view without root decoration.

#include <QStringList>
#include <QTreeWidget>

class CCheckListControl : public QTreeWidget
{
    Q_OBJECT
public:
    CCheckListControl(QWidget* parent = nullptr, const char* name = nullptr);

    // width -1: the column fits its contents.
    int addColumn(const QString& label, int width = -1);
    QTreeWidgetItem* addRow(const QStringList& columns);
    int rowCount() const;

signals:
    void selectionChanged();

private:
    QList<bool> m_AutoWidth;
};
