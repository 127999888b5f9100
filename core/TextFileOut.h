#pragma once

#include <QString>
#include <QVariant>

namespace tz4 {

// What the text writers read of a measurement record: its numbered parameters and its points.
// The record itself lives in a higher layer; TextOutView adapts it.
class TextOutSource {
public:
    virtual ~TextOutSource() = default;
    virtual QVariant Parameters(int number) const = 0;
    virtual int DataCount() const = 0;
    virtual float ValueX(int index) const = 0;
    virtual float ValueY(int index) const = 0;
    virtual float OrgValueY(int index) const = 0;
};

template <typename Record>
class TextOutView final : public TextOutSource {
public:
    explicit TextOutView(const Record& record) : record_(record) {}
    QVariant Parameters(int number) const override { return record_.Parameters(number); }
    int DataCount() const override { return record_.DataCount(); }
    float ValueX(int index) const override { return record_.ValueX(index); }
    float ValueY(int index) const override { return record_.ValueY(index); }
    float OrgValueY(int index) const override { return record_.OrgValueY(index); }

private:
    const Record& record_;
};

// A parameter as the files show it: numbers in their shortest form, the date as a general date.
QString parameterText(const QVariant& value);

// A text a person typed, as one field between `delimiter`s: quoted as CSV readers expect
// (inner quotes doubled) when it holds the delimiter, a quote, a TAB or a line break.
QString quotedField(const QString& text, const QString& delimiter);

// The delimiter of a delimiter number: 1 ",", 2 TAB, anything else one blank.
QString textDelimiter(int delimiter);

// Write a work-function record (TextFileOutWrk) or a counting-rate record (TextFileOutCps) as
// text with CR LF line ends, creating or replacing `fileName` as a whole. A failure is logged
// to Caution.log, leaves any earlier file as it was and gives false with its reason in
// `failure`. The program's own files in the data directory are refused.
bool TextFileOutWrk(const QString& fileName, const TextOutSource& record, int delimiter, QString* failure = nullptr);
bool TextFileOutCps(const QString& fileName, const TextOutSource& record, int delimiter, QString* failure = nullptr);

} // namespace tz4
