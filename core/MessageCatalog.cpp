#include "core/MessageCatalog.h"

#include "core/CautionLog.h"
#include "core/ErrorLocation.h"
#include "core/Formats.h"
#include "core/MessageTexts.h"
#include "core/Tz4Error.h"

#include <QHash>
#include <QLocale>
#include <QMetaType>

#include <algorithm>

#include <utility>

namespace tz4 {

namespace {

// The run-time's "resource with identifier not found".

struct Catalog {
    QHash<int, const MessageText*> byId;
    QList<int> ids;

    Catalog()
    {
        for (const auto& table : {coreMessageTexts(), mainWindowMessageTexts(), sampleManagerMessageTexts(),
                                  dataWindowMessageTexts(), printMessageTexts()}) {
            for (const MessageText& entry : table) {
                byId.insert(entry.id, &entry);
                ids.append(entry.id);
            }
        }
        std::sort(ids.begin(), ids.end());
    }
};

const Catalog& catalog()
{
    static const Catalog instance;
    return instance;
}

std::optional<Language>& languageOverride()
{
    static std::optional<Language> language;
    return language;
}

MessageFailureHandler& failureHandler()
{
    static MessageFailureHandler handler;
    return handler;
}

// An argument as the caller would see it printed: numbers in their shortest form with the
// locale's separator, Booleans as True/False, a missing value as nothing.
QString argumentText(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
        return shortestText(value.toDouble());
    case QMetaType::Float:
        return shortestText(value.toFloat());
    default:
        return value.toString();
    }
}

} // namespace

Language systemLanguage()
{
    return QLocale::system().language() == QLocale::Japanese ? Language::Japanese : Language::English;
}

Language currentLanguage() { return languageOverride().value_or(systemLanguage()); }

void setLanguage(Language language) { languageOverride() = language; }

std::optional<Language> languageFromCode(const QString& code)
{
    if (code.compare(QLatin1String("en"), Qt::CaseInsensitive) == 0)
        return Language::English;
    if (code.compare(QLatin1String("ja"), Qt::CaseInsensitive) == 0)
        return Language::Japanese;
    return std::nullopt;
}

QList<int> messageIds() { return catalog().ids; }

bool hasMessage(int id) { return catalog().byId.contains(id); }

QString messageText(int id, Language language)
{
    const MessageText* entry = catalog().byId.value(id);
    if (!entry)
        return {};
    return QString::fromUtf8(language == Language::Japanese ? entry->japanese : entry->english);
}

QString expandMessage(const QString& text, const QVariantList& arguments)
{
    QString result = text;
    // An argument that names itself ("~1" as argument 1) would expand forever; after this many
    // insertions further argument placeholders are only removed.
    int insertionsLeft = 10000;
    // Scanning restarts at the replacement itself, so "~" inside an argument is expanded too.
    qsizetype p = result.indexOf(QLatin1Char('~'));
    while (p >= 0) {
        const QChar c = p + 1 < result.size() ? result.at(p + 1) : QChar();
        QString replacement;
        if (c == QLatin1Char('c') || c == QLatin1Char('C')) {
            replacement = QStringLiteral("\r\n");
        } else if (c.isDigit() && c.unicode() < 128) {
            const int i = c.digitValue() - 1;
            if (i >= 0 && i < arguments.size() && insertionsLeft-- > 0)
                replacement = argumentText(arguments.at(i));
        }
        // A trailing "~" has no character after it: removing it alone ends the scan.
        result.replace(p, c.isNull() ? 1 : 2, replacement);
        p = result.indexOf(QLatin1Char('~'), p);
    }
    return result;
}

QString GetRes(int id, const QVariantList& arguments)
{
    EnterProcedure entry("modMain:GetRes");
    const MessageText* found = catalog().byId.value(id);
    if (!found) {
        const Tz4Error error(err::ResourceNotFound, QStringLiteral("Resource with identifier '%1' not found").arg(id));
        if (const MessageFailureHandler& handler = failureHandler())
            handler(error);
        else
            WriteCautionLog(QString(), &error);
        return {};
    }
    return expandMessage(messageText(id, currentLanguage()), arguments);
}

void setMessageFailureHandler(MessageFailureHandler handler) { failureHandler() = std::move(handler); }

} // namespace tz4
