#include "instrument/ReplyAssembler.h"

namespace tz4 {

bool ReplyAssembler::add(const QByteArray& bytes)
{
    buffer_ += QString::fromLatin1(bytes);
    const qsizetype end = buffer_.indexOf(QLatin1Char('\r'));
    if (end < 0)
        return false;
    reply_ = buffer_.left(end);
    buffer_.remove(0, end + 1);
    complete_ = true;
    return true;
}

} // namespace tz4
