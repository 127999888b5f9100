#include "core/ErrorLevel.h"

#include "core/ErrorReporter.h"
#include "core/MessageIds.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tz4 {

namespace {

using Range = std::pair<int, int>;

// Resource and system exhaustion, I/O and device failures.
constexpr std::array kSystemNumbers{
    Range{6, 6}, Range{7, 7}, Range{11, 11}, Range{14, 14}, Range{16, 16}, Range{18, 18},
    Range{28, 28}, Range{47, 49}, Range{51, 51}, Range{57, 57}, Range{59, 59}, Range{61, 61},
    Range{63, 63}, Range{67, 68}, Range{70, 71}, Range{74, 76}, Range{97, 97}, Range{298, 298},
    Range{320, 322}, Range{325, 325}, Range{327, 328}, Range{335, 338}, Range{363, 363},
    Range{368, 368}, Range{419, 419}, Range{422, 425}, Range{429, 430}, Range{432, 432},
    Range{440, 440}, Range{442, 443}, Range{445, 448}, Range{451, 451}, Range{454, 455},
    Range{458, 459}, Range{480, 480}, Range{482, 484}, Range{486, 486}, Range{520, 521},
    Range{672, 672}, Range{674, 674}, Range{735, 735}, Range{31001, 31001}, Range{31004, 31004},
    Range{31018, 31018}, Range{31027, 31027}, Range{31032, 31032}, Range{31036, 31037},
    Range{35616, 35616}, Range{35619, 35619}, Range{35700, 35700}, Range{35750, 35753},
    Range{35755, 35761}};

// Invalid arguments, missing files, bad indexes and unset objects.
constexpr std::array kApplicationNumbers{
    Range{3, 3}, Range{5, 5}, Range{9, 10}, Range{13, 13}, Range{17, 17}, Range{20, 20},
    Range{35, 35}, Range{52, 55}, Range{58, 58}, Range{62, 62}, Range{91, 94}, Range{360, 361},
    Range{364, 365}, Range{371, 371}, Range{380, 383}, Range{385, 385}, Range{387, 387},
    Range{393, 394}, Range{400, 400}, Range{438, 438}, Range{449, 450}, Range{452, 453},
    Range{457, 457}, Range{460, 461}, Range{481, 481}, Range{485, 485}, Range{673, 673},
    Range{744, 744}, Range{746, 746}, Range{35600, 35607}, Range{35610, 35611},
    Range{35613, 35615}, Range{35617, 35617}, Range{35754, 35754}};

template <size_t N>
bool contains(const std::array<Range, N>& ranges, int number)
{
    return std::any_of(ranges.begin(), ranges.end(),
                       [number](const Range& r) { return number >= r.first && number <= r.second; });
}

} // namespace

ErrorClass ErrorLevel(int errorNumber)
{
    if (contains(kSystemNumbers, errorNumber))
        return ErrorClass::System;
    if (contains(kApplicationNumbers, errorNumber))
        return ErrorClass::Application;
    return ErrorClass::Trappable;
}

ErrorClassMessage errorClassMessage(ErrorClass errorClass)
{
    switch (errorClass) {
    case ErrorClass::System:
        return {msg::SystemError, msg::SystemErrorTitle, MessageIcon::Critical};
    case ErrorClass::Application:
        return {msg::ApplicationError, msg::ApplicationErrorTitle, MessageIcon::Information};
    case ErrorClass::Trappable:
        break;
    }
    return {msg::TrappableError, msg::TrappableErrorTitle, MessageIcon::Information};
}

} // namespace tz4
