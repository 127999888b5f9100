#pragma once

#include <span>

namespace tz4 {

// One catalogue entry; both texts are UTF-8 with their placeholders as written.
struct MessageText {
    int id;
    const char* english;
    const char* japanese;
};

// The tables, one per group of ids; each is sorted by id.
std::span<const MessageText> coreMessageTexts();          // 101, 201-265, 1001-1030, 2001-2006, 4001-4005
std::span<const MessageText> mainWindowMessageTexts();    // 3001-3108
std::span<const MessageText> sampleManagerMessageTexts(); // 5001-5095
std::span<const MessageText> dataWindowMessageTexts();    // 6001-6110
std::span<const MessageText> printMessageTexts();         // 7001-7114

} // namespace tz4
