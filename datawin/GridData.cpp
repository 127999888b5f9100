#include "datawin/GridData.h"

#include "core/Formats.h"

namespace tz4 {

QString clsTz4GridData::displayText() const
{
    if (EditType == EditButton)
        return QStringLiteral("...");
    if ((EditType == EditList || EditType == EditBoolList) && ListIndex >= 0 && ListIndex < ListCount())
        return ListItem.at(ListIndex);
    if (!FormatString.isEmpty() && Value.isValid() && !Value.isNull() && Value.typeId() != QMetaType::QString)
        return formatNumber(Value.toDouble(), FormatString);
    return Value.toString();
}

clsTz4GridData& clsTz4GridDatas::Add(const QString& key, const QString& title, const QVariant& value,
                                     const QString& formatString, bool editable, int editType)
{
    clsTz4GridData row;
    row.Key = key;
    row.Title = title;
    row.Value = value;
    row.FormatString = formatString;
    row.Editable = editable;
    row.EditType = editType;
    row.Numeric = !formatString.isEmpty();
    rows_.push_back(std::move(row));
    return rows_.back();
}

int clsTz4GridDatas::indexOf(const QString& key) const
{
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].Key == key)
            return int(i);
    return -1;
}

} // namespace tz4
