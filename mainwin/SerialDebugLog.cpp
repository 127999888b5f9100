#include "mainwin/SerialDebugLog.h"

#include "core/CautionLog.h"
#include "core/Clock.h"
#include "core/DataDirectory.h"
#include "core/ErrorLocation.h"
#include "core/ErrorTrap.h"
#include "core/Formats.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace tz4 {

namespace {

const QString Crlf = QStringLiteral("\r\n");
const QString Separator(57, QLatin1Char('#'));

// Each piece is one printed line: the text followed by CR LF.
bool appendLines(const QStringList& lines)
{
    QFile file(serialDebugLogPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        const Tz4Error error = fileError(file);
        WriteCautionLog({}, &error);
        return false;
    }
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += (line + Crlf).toUtf8();
    if (file.write(bytes) != bytes.size()) {
        const Tz4Error error = fileError(file);
        WriteCautionLog({}, &error);
        return false;
    }
    return true;
}

} // namespace

QString serialDebugLogPath() { return dataFilePath(QStringLiteral("TZ4Serial.Log")); }

bool startSerialDebugLog(Clock& clock)
{
    EnterProcedure here("frmMain:MDIForm_Load");
    const QString path = serialDebugLogPath();
    if (QFileInfo::exists(path)) {
        QFile::remove(path);
        // Another program may still hold the file; give it a moment (bounded, never a hang).
        const qint64 until = clock.nowMs() + 5000;
        while (QFileInfo::exists(path) && clock.nowMs() < until) {
            const Clock::TimerId id = clock.startTimer(50, [] {}, false);
            clock.yield();
            clock.stopTimer(id);
            QFile::remove(path);
        }
    }
    return appendLines({Separator, QStringLiteral("# TZ-4 Debug Used Serial Log File Vantrel Co.,Ltd"),
                        QStringLiteral("# Write Date Time :") + generalDate(QDateTime::currentDateTime()),
                        QStringLiteral("# This File is Process and Serial Historys"), Separator, QString()});
}

bool appendSerialDebugLog(const QString& text, const QString* traffic)
{
    QStringList lines{Separator, QStringLiteral("[Now:") + generalDate(QDateTime::currentDateTime()) + QLatin1Char(']'),
                      text};
    if (traffic)
        lines << *traffic;
    lines << QString();
    return appendLines(lines);
}

} // namespace tz4
