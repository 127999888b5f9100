#include "core/ErrorLocation.h"

namespace tz4 {

namespace {
QString& location()
{
    static QString label;
    return label;
}
} // namespace

QString errorLocation() { return location(); }

void setErrorLocation(const QString& label) { location() = label; }

} // namespace tz4
