// The locale-aware number and date pictures. Input: a locale byte, eight bytes of a double, a
// picture byte, then any picture text. A number the program writes in one of its own pictures
// reads back as that number rounded to the picture; a shortest text reads back exactly; any
// picture at all yields a bounded text without failing.

#include "fuzz/FuzzSupport.h"

#include "core/Formats.h"

#include <QDateTime>
#include <QLocale>

#include <cmath>
#include <cstring>

using namespace tz4;

namespace {

const QLocale kLocales[] = {
    QLocale::c(),
    QLocale(QLocale::English, QLocale::UnitedStates),
    QLocale(QLocale::German, QLocale::Germany),
    QLocale(QLocale::French, QLocale::France),
    QLocale(QLocale::Japanese, QLocale::Japan),
    QLocale(QLocale::Swedish, QLocale::Sweden),
};

struct Picture {
    const char* text;
    int decimals;
    bool exponent;
};

// The pictures the program writes numbers with.
const Picture kPictures[] = {
    {"0.00", 2, false},     {"#0.00", 2, false},     {"##0.0", 1, false},     {"###0", 0, false},
    {"0000", 0, false},     {"0.000000", 6, false},  {"0000.000", 3, false},  {"00000000", 0, false},
    {"0.00E+00", 2, true},  {"0", 0, false},         {"0.000", 3, false},     {"0.0", 1, false},
};

double readBack(const QString& text, bool* ok)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    return locale.toDouble(text, ok);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 10 || size > 2048)
        return 0;
    QLocale::setDefault(kLocales[data[0] % std::size(kLocales)]);
    double value = 0;
    std::memcpy(&value, data + 1, sizeof value);
    const Picture& own = kPictures[data[9] % std::size(kPictures)];
    const QString picture = QString::fromUtf8(reinterpret_cast<const char*>(data + 10), qsizetype(size - 10));
    const QString context = QStringLiteral("value %1 picture '%2' locale %3")
                                .arg(value, 0, 'g', 17).arg(picture, QLocale().name());

    // Any picture: no failure, and no text out of proportion to the picture and the number.
    const QString any = formatNumber(value, picture);
    FUZZ_CHECK(any.size() <= 2 * picture.size() + 700, context);

    const QString sep = QString(localeDecimalSeparator());
    FUZZ_CHECK(sep.size() == 1 && !sep.at(0).isDigit(), context);
    if (!std::isfinite(value))
        return 0;

    // The shortest text of a double and of a single reads back to the same bits.
    bool ok = false;
    const QString shortest = shortestText(value);
    FUZZ_CHECK(readBack(shortest, &ok) == value && ok, context + QStringLiteral(" -> ") + shortest);
    const float single = float(value);
    if (std::isfinite(single)) {
        const QString shortSingle = shortestText(single);
        FUZZ_CHECK(float(readBack(shortSingle, &ok)) == single && ok, context + QStringLiteral(" -> ") + shortSingle);
    }
    // The separator swaps are each other's inverse on text the other one wrote.
    FUZZ_CHECK(chkPointDelim(uncheckPointDelim(shortest)) == shortest, shortest);

    // The program's own pictures: the text reads back as the value rounded to the picture.
    if (std::abs(value) < 1e12) {
        const QString text = formatNumber(value, QLatin1String(own.text));
        const double back = readBack(text, &ok);
        FUZZ_CHECK(ok, context + QStringLiteral(" own picture ") + QLatin1String(own.text) + QStringLiteral(" -> ") + text);
        const double tolerance = own.exponent
            ? 0.5e-2 * std::pow(10.0, std::floor(std::log10(std::max(std::abs(value), 1e-300)))) * 1.0001
            : 0.5 * std::pow(10.0, -own.decimals) * 1.0001 + std::abs(value) * 1e-15;
        FUZZ_CHECK(std::abs(back - value) <= tolerance + 1e-300,
                   context + QStringLiteral(" own picture ") + QLatin1String(own.text) + QStringLiteral(" -> ") + text);
    }

    // Dates: any picture on any date the two bytes of the value pick.
    const QDateTime when = QDateTime::fromSecsSinceEpoch(qint64(std::fmod(std::abs(value), 4.0e9)), Qt::UTC);
    const QString date = formatDate(when, picture);
    FUZZ_CHECK(date.size() <= 4 * picture.size() + 16, context + QStringLiteral(" date ") + date);
    return 0;
}
