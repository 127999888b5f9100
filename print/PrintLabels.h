#pragma once

#include "print/PrintLabel.h"

#include <memory>
#include <vector>

namespace tz4 {

// The labels of one report page in the order they are drawn, found by number from 1 or by
// key (without regard to case), with the label being edited and the page's scale.
class clsTz4PrintLabels {
public:
    // Twips (1440 per inch) per millimetre and back.
    static constexpr float TwipsPerMM = 1440.0f / 25.4f;
    static constexpr float MMPerTwips = 25.4f / 1440.0f;

    // Adds a label under `key` (none when empty); a key already present is refused with error 457.
    clsTz4PrintLabel* Add(const QString& key = {}, const QVariant& value = 1, const QString& format = {},
                          const QString& foreCaption = {}, const QString& backCaption = {});
    clsTz4PrintLabel* Item(int number) const;
    clsTz4PrintLabel* Item(const QString& key) const;
    int Count() const { return int(items_.size()); }
    // The number of a label from 1; 0 when it is not in the collection.
    int numberOf(const clsTz4PrintLabel* label) const;
    void Remove(int number);
    void Remove(const clsTz4PrintLabel* label) { Remove(numberOf(label)); }
    void Clear();

    clsTz4PrintLabel* SelectedItem() const { return selected_; }
    void setSelectedItem(clsTz4PrintLabel* label) { selected_ = label; }

    // The preview's width in twips at its present zoom.
    float PicWidth() const { return picWidth_; }
    void setPicWidth(float twips) { picWidth_ = twips; }

    class iterator {
    public:
        explicit iterator(std::vector<std::unique_ptr<clsTz4PrintLabel>>::const_iterator at) : at_(at) {}
        clsTz4PrintLabel& operator*() const { return **at_; }
        clsTz4PrintLabel* operator->() const { return at_->get(); }
        iterator& operator++()
        {
            ++at_;
            return *this;
        }
        bool operator==(const iterator& other) const = default;

    private:
        std::vector<std::unique_ptr<clsTz4PrintLabel>>::const_iterator at_;
    };
    iterator begin() const { return iterator(items_.begin()); }
    iterator end() const { return iterator(items_.end()); }

private:
    std::vector<std::unique_ptr<clsTz4PrintLabel>> items_;
    clsTz4PrintLabel* selected_ = nullptr;
    float picWidth_ = 0;
};

} // namespace tz4
