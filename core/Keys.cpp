#include "core/Keys.h"

#include "core/ErrorLocation.h"

namespace tz4 {

qint32 GetKeySeq(const QString& key)
{
    EnterProcedure here("modMain:GetKeySeq");
    const qsizetype blank = key.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return 0;
    bool ok = false;
    const qint32 seq = key.left(blank).trimmed().toInt(&ok);
    return ok ? seq : 0;
}

QString GetKeyType(const QString& key)
{
    EnterProcedure here("modMain:GetKeyType");
    const qsizetype blank = key.indexOf(QLatin1Char(' '));
    return key.mid(blank + 1).trimmed();
}

QString makeKey(qint32 seqNo, const QString& type)
{
    return QString::number(seqNo) + QLatin1Char(' ') + type;
}

QString joinKeyList(const QStringList& keys)
{
    QString out;
    for (const QString& key : keys)
        out += key + QLatin1Char('\t');
    return out;
}

QStringList splitKeyList(const QString& list)
{
    return list.split(QLatin1Char('\t'), Qt::SkipEmptyParts);
}

QString TabToSpace(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return out;
}

} // namespace tz4
