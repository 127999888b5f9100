#pragma once

#include <charconv>
#include <string>

// The decimal digits of a value, shared by the shortest text and the number pictures. Only
// those two sources include this; internal linkage lets each inline the helpers into its loop.
namespace tz4::decimal {
namespace {

// A non-negative decimal number as its digits and the position of the decimal point within
// them: digits "125", point 1 means 1.25. Working on decimal digits makes rounding follow the
// number as a person reads it (2.675 rounds to 2.68), not its binary neighbour.
struct Decimal {
    std::string digits;
    int point = 0;
};

// The shortest digits that read back as the same value at its own precision: 0.1f gives the
// digit 1, not the digits of 0.100000001490116.
template <typename Real>
Decimal toDecimal(Real magnitude)
{
    if (magnitude == Real(0))
        return Decimal{std::string(1, '0'), 1};
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
    const std::string text(buf, res.ptr);
    const auto e = text.find('e');
    Decimal d;
    for (char c : text.substr(0, e))
        if (c != '.')
            d.digits.push_back(c);
    d.point = std::stoi(text.substr(e + 1)) + 1;
    return d;
}

// Rounds half away from zero to `decimals` digits after the point; the result has exactly
// max(point, 1) integer digits (leading zeros stripped except one) and `decimals` fraction digits.
inline void roundTo(Decimal& d, int decimals)
{
    // Make the point fall inside the digit string with at least one integer digit.
    if (d.point <= 0) {
        d.digits.insert(0, static_cast<size_t>(1 - d.point), '0');
        d.point = 1;
    }
    const int wanted = d.point + decimals;
    if (static_cast<int>(d.digits.size()) > wanted) {
        const bool up = d.digits[static_cast<size_t>(wanted)] >= '5';
        d.digits.resize(static_cast<size_t>(wanted));
        if (up) {
            int i = wanted - 1;
            for (; i >= 0; --i) {
                if (d.digits[static_cast<size_t>(i)] == '9') {
                    d.digits[static_cast<size_t>(i)] = '0';
                } else {
                    ++d.digits[static_cast<size_t>(i)];
                    break;
                }
            }
            if (i < 0) {
                d.digits.insert(d.digits.begin(), '1');
                ++d.point;
            }
        }
    }
    if (static_cast<int>(d.digits.size()) < d.point + decimals)
        d.digits.append(static_cast<size_t>(d.point + decimals) - d.digits.size(), '0');
    while (d.point > 1 && d.digits.front() == '0') {
        d.digits.erase(d.digits.begin());
        --d.point;
    }
}

inline bool isZero(const Decimal& d)
{
    return d.digits.find_first_not_of('0') == std::string::npos;
}

} // namespace
} // namespace tz4::decimal
