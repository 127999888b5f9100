#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

namespace tz4 {

// Maps the stored statements' dialect onto SQLite, so they run as written:
//  #date# literals       -> 'YYYY-MM-DD HH:MM:SS' text (how dates are stored, so they order)
//  Like '*x?'            -> Like '%x_' (a literal % or _ is escaped)
//  "text"                -> 'text'
//  Table IN "file"       -> alias.Table, the file attached through the callback
// True/False, iif, [names] and case-insensitive names are native to SQLite; log() and StDev
// are registered by the connection.
class JetSql {
public:
    using AttachFile = std::function<QString(const QString& file)>;
    static QString translate(const QString& jetSql, const AttachFile& attach = {});

    // A date literal's text between the "#" marks: m/d/yy[yy] or yyyy-mm-dd, optional time.
    static QDateTime parseDateLiteral(const QString& text);
    // How a date-time is stored.
    static QString storedDate(const QDateTime& when);
    static QDateTime fromStoredDate(const QString& text);
};

} // namespace tz4
