#include "print/PrintLabel.h"

#include "print/LabelFormat.h"

namespace tz4 {

clsTz4PrintLabel::clsTz4PrintLabel()
    : value_(1)
{
    font_.setPointSizeF(originalFontSize_);
}

void clsTz4PrintLabel::setFont(const QFont& font)
{
    font_ = font;
    if (font.pointSizeF() > 0)
        originalFontSize_ = float(font.pointSizeF());
    font_.setPointSizeF(originalFontSize_);
}

QString clsTz4PrintLabel::Caption() const
{
    if (value_.isNull() || !value_.isValid())
        return foreCaption_ + backCaption_;
    return foreCaption_ + formatLabelValue(value_, formatString_) + backCaption_;
}

bool clsTz4PrintLabel::FormatFits() const
{
    bool fits = true;
    if (!value_.isNull() && value_.isValid())
        formatLabelValue(value_, formatString_, &fits);
    return fits;
}

} // namespace tz4
