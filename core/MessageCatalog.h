#pragma once

#include <QList>
#include <QString>
#include <QVariantList>

#include <functional>
#include <optional>

namespace tz4 {

class Tz4Error;

// The two languages every catalogue entry is written in.
enum class Language { English, Japanese };

// Language of the user interface: Japanese when the system locale is Japanese, else English,
// until setLanguage overrides it for the rest of the process.
Language currentLanguage();
void setLanguage(Language language);
Language systemLanguage();

// "en" / "ja" (any case) as given to --lang; nothing for any other text.
std::optional<Language> languageFromCode(const QString& code);

// Every id the catalogue holds, ascending.
QList<int> messageIds();
bool hasMessage(int id);

// The stored text of `id` with its placeholders as written; empty for an unknown id.
QString messageText(int id, Language language);

// Expands the placeholders of `text`: "~c"/"~C" -> CR LF, "~" + digit d -> argument d-1 as
// text (empty when not given), "~" + anything else -> both removed. Inserted text is scanned
// again, so an argument holding "~" is expanded as well.
QString expandMessage(const QString& text, const QVariantList& arguments = {});

// Text of a catalogue entry in the current language, placeholders filled from `arguments`.
// An unknown id gives the empty text and reports the failure to the handler below.
QString GetRes(int id, const QVariantList& arguments = {});

// Receives lookup failures (error number 326, "modMain:GetRes" already set as the error
// location) instead of Caution.log, where they go by default (and again after passing nullptr).
using MessageFailureHandler = std::function<void(const Tz4Error& error)>;
void setMessageFailureHandler(MessageFailureHandler handler);

} // namespace tz4
