#pragma once

#include "core/ErrorLocation.h"
#include "core/Tz4Error.h"

namespace tz4 {

// What setting a read-only property of the component does: fail as the property system would.
[[noreturn]] inline void readOnly(const char* label)
{
    EnterProcedure here(label);
    throw Tz4Error(err::PropertyReadOnly, QStringLiteral("Set not supported (read-only property)"));
}

} // namespace tz4
