#pragma once

#include <QString>
#include <QVariant>

namespace tz4 {

// A label's value as printed: through its format when the format fits the value (a number
// picture such as "#0.00" for a number or a numeric text, a date picture such as
// "yyyy/mm/dd" for a date), else the plain value. `fits` tells which happened.
QString formatLabelValue(const QVariant& value, const QString& format, bool* fits = nullptr);

// The plain text of a value: numbers in their shortest form, dates as "General Date".
QString plainValueText(const QVariant& value);

} // namespace tz4
