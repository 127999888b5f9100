#include "core/ErrorReporter.h"

#include "core/MessageCatalog.h"

#include <cstdio>

namespace tz4 {

MessageAnswer StandardErrorReporter::showMessage(const QString& text, const QString& title, MessageIcon,
                                                 MessageButtons buttons)
{
    QString body = text;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QString line = title.isEmpty() ? body : title + QStringLiteral(": ") + body;
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
    switch (buttons) {
    case MessageButtons::Ok:
        return MessageAnswer::Ok;
    case MessageButtons::OkCancel:
        return questionAnswer_ == MessageAnswer::Yes || questionAnswer_ == MessageAnswer::Ok ? MessageAnswer::Ok
                                                                                            : MessageAnswer::Cancel;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel:
        break;
    }
    return questionAnswer_ == MessageAnswer::Yes || questionAnswer_ == MessageAnswer::Ok ? MessageAnswer::Yes
                                                                                        : MessageAnswer::No;
}

namespace {
ErrorReporter*& installed()
{
    static ErrorReporter* reporter = nullptr;
    return reporter;
}
} // namespace

ErrorReporter& errorReporter()
{
    static StandardErrorReporter fallback;
    ErrorReporter* reporter = installed();
    return reporter ? *reporter : fallback;
}

void setErrorReporter(ErrorReporter* reporter) { installed() = reporter; }

MessageAnswer showCatalogMessage(int textId, int titleId, MessageIcon icon, MessageButtons buttons,
                                 const QVariantList& arguments)
{
    return errorReporter().showMessage(GetRes(textId, arguments), GetRes(titleId), icon, buttons);
}

} // namespace tz4
