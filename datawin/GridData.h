#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace tz4 {

// One row of the parameter grid: a named value with its title, its number format, its
// colours and how it is edited.
class clsTz4GridData {
public:
    // How a row's value is edited.
    enum EditKind { EditText = 0, EditList = 1, EditBoolList = 2, EditButton = 4 };

    QString Key;
    QString Title;
    QVariant Value;
    QString FormatString;
    qint32 ForeColor = -1; // -1: the view's own colour
    qint32 BackColor = -1;
    bool Editable = false;
    int EditType = EditText;
    QStringList ListItem; // choices of a list editor; the position is the stored value
    int ListIndex = -1;

    bool Numeric = false; // the value is a number: typed text must parse as one

    int ListCount() const { return int(ListItem.size()); }
    // What the grid shows: a number through its format, a list choice by its text, a colour
    // button as "...".
    QString displayText() const;
};

// The rows of one grid tab, in the order they were added, found by key.
class clsTz4GridDatas {
public:
    clsTz4GridData& Add(const QString& key, const QString& title, const QVariant& value, const QString& formatString = {},
                        bool editable = true, int editType = clsTz4GridData::EditText);
    void Clear() { rows_.clear(); }
    int Count() const { return int(rows_.size()); }
    clsTz4GridData& Item(int row) { return rows_.at(size_t(row)); }
    const clsTz4GridData& Item(int row) const { return rows_.at(size_t(row)); }
    // The row with that key; -1 when there is none.
    int indexOf(const QString& key) const;

private:
    std::vector<clsTz4GridData> rows_;
};

} // namespace tz4
