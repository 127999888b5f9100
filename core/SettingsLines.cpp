#include "core/SettingsLines.h"

#include "core/Keys.h"

#include <QLocale>
#include <QStringDecoder>

#include <cmath>

namespace tz4 {

QString describeSettingsLine(const SettingsLine& line, const QString& why)
{
    return QStringLiteral("TZ4Sys.ini line %1: %2 %3 %4").arg(line.lineNumber).arg(line.written, line.value, why);
}

QList<SettingsLine> readSettingsLines(const QByteArray& content)
{
    QList<SettingsLine> lines;
    // Files from older installations may be in the system's 8-bit code page.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(content);
    if (utf8.hasError())
        text = QString::fromLocal8Bit(content);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    int number = 0;
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        ++number;
        if (raw.isEmpty() || raw.trimmed().startsWith(QLatin1Char('\'')))
            continue;
        const QString line = TabToSpace(raw);
        const qsizetype blank = line.indexOf(QLatin1Char(' '));
        if (blank < 0)
            continue;
        QString value = line.mid(blank + 1).trimmed();
        const qsizetype comment = value.indexOf(QLatin1Char('\''));
        if (comment >= 0)
            value = value.left(comment).trimmed();
        const QString key = line.left(blank);
        lines.append({key.toUpper(), value, number, key});
    }
    return lines;
}

std::optional<double> settingsNumber(const QString& value)
{
    const QString text = value.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    // "." is always the decimal point, never a group separator: "9,750" in a comma locale
    // is not 9750.
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    double number = c.toDouble(text, &ok);
    if (!ok)
        number = QLocale().toDouble(text, &ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

std::optional<qint32> parityFromText(const QString& value)
{
    const QString upper = value.toUpper();
    if (upper == QLatin1String("NONE"))
        return 0;
    if (upper == QLatin1String("EVEN"))
        return 1;
    if (upper == QLatin1String("ODD"))
        return 2;
    return std::nullopt;
}

} // namespace tz4
