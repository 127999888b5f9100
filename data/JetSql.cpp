#include "data/JetSql.h"

#include "core/Tz4Error.h"
#include "data/SqliteDatabase.h"
#include "data/SqlText.h"

#include <QRegularExpression>

namespace tz4 {

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// Reads a literal opened by quote at pos; returns its content and moves pos past the close.
QString readQuoted(const QString& sql, qsizetype& pos, QChar quote)
{
    QString content;
    qsizetype i = pos + 1;
    while (i < sql.size()) {
        if (sql[i] == quote) {
            if (i + 1 < sql.size() && sql[i + 1] == quote) {
                content += quote;
                i += 2;
                continue;
            }
            pos = i + 1;
            return content;
        }
        content += sql[i++];
    }
    throw Tz4Error(dberr::Syntax, QStringLiteral("Unterminated text literal [%1]").arg(sql));
}

QString likePattern(const QString& jetPattern, bool* escaped)
{
    QString out;
    *escaped = false;
    for (qsizetype i = 0; i < jetPattern.size(); ++i) {
        QChar c = jetPattern[i];
        // "[x]" stands for x itself, so a pattern can hold a literal wildcard.
        const bool bracketed = c == QLatin1Char('[') && i + 2 < jetPattern.size() && jetPattern[i + 2] == QLatin1Char(']');
        if (bracketed) {
            c = jetPattern[i + 1];
            i += 2;
        }
        if (bracketed && c != QLatin1Char('%') && c != QLatin1Char('_') && c != QLatin1Char('\\')) {
            out += c;
        } else if (c == QLatin1Char('*')) {
            out += QLatin1Char('%');
        } else if (c == QLatin1Char('?')) {
            out += QLatin1Char('_');
        } else if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\')) {
            out += QLatin1Char('\\');
            out += c;
            *escaped = true;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

QString JetSql::storedDate(const QDateTime& when)
{
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// The stored form read digit by digit: a listing reads thousands of dates, and the general
// format parser costs more than everything else of a row.
static QDateTime fromStoredForm(const QString& text)
{
    if (text.size() != 19 || text[4] != QLatin1Char('-') || text[7] != QLatin1Char('-') || text[10] != QLatin1Char(' ')
        || text[13] != QLatin1Char(':') || text[16] != QLatin1Char(':'))
        return {};
    const auto number = [&](int from, int length) {
        int value = 0;
        for (int i = from; i < from + length; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9')
                return -1;
            value = value * 10 + (c - u'0');
        }
        return value;
    };
    const QDate date(number(0, 4), number(5, 2), number(8, 2));
    const QTime time(number(11, 2), number(14, 2), number(17, 2));
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time);
}

QDateTime JetSql::fromStoredDate(const QString& text)
{
    QDateTime when = fromStoredForm(text);
    if (!when.isValid())
        when = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!when.isValid())
        when = QDateTime::fromString(text, Qt::ISODate);
    if (!when.isValid())
        when = parseDateLiteral(text);
    return when;
}

QDateTime JetSql::parseDateLiteral(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral(
        R"(^\s*(\d{1,4})[/-](\d{1,2})[/-](\d{1,4})(?:[ T]+(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?\s*([AaPp][Mm])?)?\s*$)"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return {};
    int year, month, day;
    if (m.captured(1).size() == 4) {
        year = m.captured(1).toInt();
        month = m.captured(2).toInt();
        day = m.captured(3).toInt();
    } else {
        month = m.captured(1).toInt();
        day = m.captured(2).toInt();
        year = m.captured(3).toInt();
        if (m.captured(3).size() <= 2)
            year += year < 30 ? 2000 : 1900; // the engine's two-digit year window
    }
    int hour = m.captured(4).toInt();
    const int minute = m.captured(5).toInt();
    const int second = m.captured(6).toInt();
    const QString half = m.captured(7).toUpper();
    if (half == QLatin1String("PM") && hour < 12)
        hour += 12;
    else if (half == QLatin1String("AM") && hour == 12)
        hour = 0;
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time);
}

namespace {

// One pass over a statement in the stored dialect, writing the engine's. It remembers the
// last two words so that LIKE can turn its pattern and IN "file" can name its table's database.
class Translation {
public:
    Translation(const QString& sql, const JetSql::AttachFile& attach) : sql_(sql), attach_(attach)
    {
        out_.reserve(sql.size() + 16);
    }

    QString run()
    {
        while (i_ < sql_.size()) {
            const QChar c = sql_[i_];
            if (c == QLatin1Char('\''))
                text();
            else if (c == QLatin1Char('"'))
                quotedFile();
            else if (c == QLatin1Char('#'))
                date();
            else if (c == QLatin1Char('['))
                bracketedName();
            else if (isWordChar(c))
                word();
            else
                other(c);
        }
        return out_;
    }

private:
    void text()
    {
        const QString text = readQuoted(sql_, i_, QLatin1Char('\''));
        if (lastWord_ == QLatin1String("LIKE")) {
            bool escaped = false;
            out_ += sqlQuote(likePattern(text, &escaped));
            if (escaped)
                out_ += QStringLiteral(" ESCAPE '\\'");
        } else {
            out_ += sqlQuote(text);
        }
        lastWord_.clear();
    }

    void quotedFile()
    {
        const QString text = readQuoted(sql_, i_, QLatin1Char('"'));
        if (lastWord_ == QLatin1String("IN") && previousWordAt_ >= 0) {
            if (!attach_)
                throw Tz4Error(dberr::CannotOpen, QStringLiteral("No database for IN \"%1\"").arg(text));
            const QString alias = attach_(text);
            out_.truncate(lastWordAt_);
            while (out_.endsWith(QLatin1Char(' ')))
                out_.chop(1);
            out_.insert(previousWordAt_, alias + QLatin1Char('.'));
        } else {
            out_ += sqlQuote(text);
        }
        lastWord_.clear();
    }

    void date()
    {
        const qsizetype close = sql_.indexOf(QLatin1Char('#'), i_ + 1);
        const QDateTime when = close > i_ ? JetSql::parseDateLiteral(sql_.mid(i_ + 1, close - i_ - 1)) : QDateTime();
        if (!when.isValid())
            throw Tz4Error(dberr::Syntax, QStringLiteral("Syntax error in date [%1]").arg(sql_));
        out_ += sqlQuote(JetSql::storedDate(when));
        i_ = close + 1;
        lastWord_.clear();
    }

    void bracketedName()
    {
        const qsizetype close = sql_.indexOf(QLatin1Char(']'), i_ + 1);
        const qsizetype end = close < 0 ? sql_.size() : close + 1;
        takeWord(end, sql_.mid(i_ + 1, end - i_ - 2));
    }

    void word()
    {
        qsizetype end = i_;
        while (end < sql_.size() && (isWordChar(sql_[end]) || sql_[end] == QLatin1Char('.')))
            ++end;
        takeWord(end, sql_.mid(i_, end - i_));
    }

    void takeWord(qsizetype end, const QString& name)
    {
        previousWordAt_ = lastWordAt_;
        lastWordAt_ = out_.size();
        lastWord_ = name.toUpper();
        out_ += sql_.mid(i_, end - i_);
        i_ = end;
    }

    void other(QChar c)
    {
        out_ += c;
        if (!c.isSpace()) {
            lastWord_.clear();
            lastWordAt_ = previousWordAt_ = -1;
        }
        ++i_;
    }

    const QString& sql_;
    const JetSql::AttachFile& attach_;
    QString out_;
    qsizetype i_ = 0;
    QString lastWord_;              // upper-cased, last keyword or name seen
    qsizetype lastWordAt_ = -1;     // its position in out_
    qsizetype previousWordAt_ = -1;
};

} // namespace

QString JetSql::translate(const QString& sql, const AttachFile& attach)
{
    return Translation(sql, attach).run();
}

} // namespace tz4
