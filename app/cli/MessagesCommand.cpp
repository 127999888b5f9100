#include "app/cli/MessagesCommand.h"

#include "core/MessageCatalog.h"

#include <QFile>

#include <cstdio>

namespace tz4::cli {

int runMessages(const QStringList& args)
{
    Language language = currentLanguage();
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        const bool joined = arg.startsWith(QLatin1String("--lang="));
        if (arg != QLatin1String("--lang") && !joined) {
            std::fprintf(stderr, "tz4 messages: unknown argument '%s'\n", qUtf8Printable(arg));
            return 2;
        }
        const QString code = joined ? arg.mid(7) : (i + 1 < args.size() ? args.at(++i) : QString());
        const std::optional<Language> chosen = languageFromCode(code);
        if (!chosen) {
            std::fprintf(stderr, "tz4 messages: --lang takes en or ja, not '%s'\n", qUtf8Printable(code));
            return 2;
        }
        language = *chosen;
    }

    QByteArray text;
    for (int id : messageIds())
        text += QByteArray::number(id) + '\t' + messageText(id, language).toUtf8() + '\n';

    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly) || out.write(text) != text.size() || !out.flush())
        return 1;
    return 0;
}

} // namespace tz4::cli
