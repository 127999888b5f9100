#pragma once

#include "core/Tz4Error.h"

#include <QString>

#include <memory>
#include <vector>

namespace tz4 {

// Items owned in order and found by key (without regard to case) or by number from 1, with
// the selected one remembered by key. The data window's record sets and display sets are both
// such collections; T answers Key().
template <class T>
class KeyedCollection {
    struct Entry {
        QString key; // empty: added without a key
        std::unique_ptr<T> item;
    };

public:
    // Removes every item.
    void Clear() { items_.clear(); }
    // The item under a key or at a number from 1; nullptr when there is none.
    T* Item(const QString& key) const
    {
        const int i = find(key);
        return i < 0 ? nullptr : items_[size_t(i)].item.get();
    }
    T* Item(int number) const
    {
        return number >= 1 && number <= Count() ? items_[size_t(number - 1)].item.get() : nullptr;
    }
    int Count() const { return int(items_.size()); }
    void Remove(const QString& key)
    {
        const int i = find(key);
        if (i >= 0)
            items_.erase(items_.begin() + i);
    }
    void Remove(int number)
    {
        if (number >= 1 && number <= Count())
            items_.erase(items_.begin() + (number - 1));
    }

    // An item's own key changed (a new record got its number, or a stored one became new
    // again): it is found, and stays selected, under the new key.
    void Rekey(const T* item)
    {
        for (Entry& entry : items_) {
            if (entry.item.get() != item)
                continue;
            if (!entry.key.isEmpty() && entry.key.compare(selectedKey_, Qt::CaseInsensitive) == 0)
                selectedKey_ = item->Key();
            entry.key = item->Key();
        }
    }

    T* SelectedItem() const { return Item(selectedKey_); }
    void setSelectedItem(const T* item)
    {
        if (item)
            selectedKey_ = item->Key();
    }

    // Enumeration in collection order.
    class iterator {
    public:
        explicit iterator(typename std::vector<Entry>::const_iterator at) : at_(at) {}
        T& operator*() const { return *at_->item; }
        T* operator->() const { return at_->item.get(); }
        iterator& operator++()
        {
            ++at_;
            return *this;
        }
        bool operator==(const iterator& other) const = default;

    private:
        typename std::vector<Entry>::const_iterator at_;
    };
    iterator begin() const { return iterator(items_.begin()); }
    iterator end() const { return iterator(items_.end()); }

protected:
    // Refuses a key already in the collection with error 457 before anything is made for it.
    void checkNewKey(const QString& entryKey) const
    {
        if (find(entryKey) >= 0)
            throw Tz4Error(err::DuplicateCollectionKey,
                           QStringLiteral("This key is already associated with an element of this collection: %1")
                               .arg(entryKey));
    }
    T* append(const QString& entryKey, std::unique_ptr<T> item)
    {
        T* added = item.get();
        items_.push_back({entryKey, std::move(item)});
        return added;
    }
    void select(const QString& key) { selectedKey_ = key; }

private:
    int find(const QString& key) const
    {
        if (key.isEmpty())
            return -1;
        for (size_t i = 0; i < items_.size(); ++i) {
            if (items_[i].key.compare(key, Qt::CaseInsensitive) == 0)
                return int(i);
        }
        return -1;
    }

    std::vector<Entry> items_;
    QString selectedKey_;
};

} // namespace tz4
