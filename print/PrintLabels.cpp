#include "print/PrintLabels.h"

#include "core/Tz4Error.h"

namespace tz4 {

clsTz4PrintLabel* clsTz4PrintLabels::Add(const QString& key, const QVariant& value, const QString& format,
                                         const QString& foreCaption, const QString& backCaption)
{
    if (!key.isEmpty() && Item(key))
        throw Tz4Error(err::DuplicateCollectionKey,
                       QStringLiteral("This key is already associated with an element of this collection: %1").arg(key));
    auto label = std::make_unique<clsTz4PrintLabel>();
    label->setKey(key);
    label->setValue(value);
    label->setFormatString(format);
    label->setForeCaption(foreCaption);
    label->setBackCaption(backCaption);
    items_.push_back(std::move(label));
    items_.back()->setIndex(Count());
    return items_.back().get();
}

clsTz4PrintLabel* clsTz4PrintLabels::Item(int number) const
{
    return number >= 1 && number <= Count() ? items_[size_t(number - 1)].get() : nullptr;
}

clsTz4PrintLabel* clsTz4PrintLabels::Item(const QString& key) const
{
    if (key.isEmpty())
        return nullptr;
    for (const auto& label : items_)
        if (label->Key().compare(key, Qt::CaseInsensitive) == 0)
            return label.get();
    return nullptr;
}

int clsTz4PrintLabels::numberOf(const clsTz4PrintLabel* label) const
{
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == label)
            return int(i) + 1;
    return 0;
}

void clsTz4PrintLabels::Remove(int number)
{
    if (number < 1 || number > Count())
        return;
    if (selected_ == items_[size_t(number - 1)].get())
        selected_ = nullptr;
    items_.erase(items_.begin() + (number - 1));
}

void clsTz4PrintLabels::Clear()
{
    items_.clear();
    selected_ = nullptr;
}

} // namespace tz4
