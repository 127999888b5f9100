#pragma once

#include <QString>

namespace tz4 {

// The one place that turns a text value into an SQL literal: single quotes around it and
// every quote inside doubled, so no name can change a statement.
QString sqlQuote(const QString& text);

// A note-style value: NULL when empty, else quoted.
QString sqlQuoteOrNull(const QString& text);

} // namespace tz4
