#pragma once

#include <QFont>
#include <QString>
#include <QVariant>

namespace tz4 {

// One text on a report page (a PrtLabel row): a value, fixed or bound to a record parameter,
// between a fore and a back text, placed at a position in millimetres in its own font.
class clsTz4PrintLabel {
public:
    clsTz4PrintLabel();

    const QString& Key() const { return key_; }
    void setKey(const QString& key) { key_ = key; }
    qint32 Index() const { return index_; }
    void setIndex(qint32 index) { index_ = index; }

    // Any value; a null one prints only the fore and back texts.
    const QVariant& Value() const { return value_; }
    void setValue(const QVariant& value) { value_ = value; }
    const QString& FormatString() const { return formatString_; }
    void setFormatString(const QString& format) { formatString_ = format; }
    const QString& ForeCaption() const { return foreCaption_; }
    void setForeCaption(const QString& text) { foreCaption_ = text; }
    const QString& BackCaption() const { return backCaption_; }
    void setBackCaption(const QString& text) { backCaption_ = text; }

    // A bound label shows the record's parameter BindingNumber.
    bool Binding() const { return binding_; }
    void setBinding(bool on) { binding_ = on; }
    qint32 BindingNumber() const { return bindingNumber_; }
    void setBindingNumber(qint32 number) { bindingNumber_ = number; }

    float mmLeft() const { return mmLeft_; }
    void setMmLeft(float mm) { mmLeft_ = mm; }
    float mmTop() const { return mmTop_; }
    void setMmTop(float mm) { mmTop_ = mm; }

    // The size the font is stored and printed with, in points.
    float OriginalFontSize() const { return originalFontSize_; }
    const QFont& Font() const { return font_; }
    // Takes the font's family, size, weight and underline; the size becomes OriginalFontSize.
    void setFont(const QFont& font);

    // The printed text: fore text, the value through its format (as text without one), back
    // text; fore and back text alone for a null value.
    QString Caption() const;
    // False when the format does not fit the value, which is then printed plain.
    bool FormatFits() const;

private:
    QString key_;
    qint32 index_ = 0;
    QVariant value_;
    QString formatString_, foreCaption_, backCaption_;
    bool binding_ = false;
    qint32 bindingNumber_ = 0;
    float mmLeft_ = 0, mmTop_ = 0;
    float originalFontSize_ = 10.0f;
    QFont font_;
};

} // namespace tz4
