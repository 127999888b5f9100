#pragma once

#include "core/DataDirectory.h"
#include "core/ErrorReporter.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QtGlobal>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace tz4::fuzz {

// A broken invariant is a finding: print what broke and abort, so libFuzzer keeps the input.
[[noreturn]] inline void fail(const char* file, int line, const char* what, const QString& detail)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n  %s\n", file, line, what,
                 detail.toUtf8().constData());
    std::abort();
}

// Message boxes answer at once and print nothing: millions of inputs would flood the log.
class SilentReporter final : public ErrorReporter {
public:
    MessageAnswer showMessage(const QString&, const QString&, MessageIcon, MessageButtons) override
    {
        ++shown;
        return MessageAnswer::No;
    }
    int shown = 0;
};

// Failures logged for millions of inputs must not fill the disk: the log is started afresh
// now and then.
inline void trimCautionLog()
{
    static unsigned inputs = 0;
    if (++inputs % 4096 == 0)
        QFile::remove(dataFilePath(QStringLiteral("Caution.log")));
}

// Qt warns about the names the fuzzer makes up (a file name with a NUL in it); written for
// every such input, the warnings would slow the run and bury a real report.
inline void dropQtWarnings()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", message.toUtf8().constData());
    });
}

inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// Splits at every `separator` byte; an input without one is a single part.
inline QList<QByteArray> split(const QByteArray& input, char separator) { return input.split(separator); }

} // namespace tz4::fuzz

#define FUZZ_CHECK(condition, detail)                                                            \
    do {                                                                                         \
        if (!(condition))                                                                        \
            ::tz4::fuzz::fail(__FILE__, __LINE__, #condition, (detail));                         \
    } while (0)
