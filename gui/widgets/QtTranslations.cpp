#include "gui/widgets/QtTranslations.h"

#include "core/MessageCatalog.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace tz4::gui {

bool installQtTranslations()
{
    if (currentLanguage() != Language::Japanese)
        return false;
    // One for the whole run, owned by the application.
    auto* texts = new QTranslator(QCoreApplication::instance());
    if (!texts->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete texts;
        return false;
    }
    return QCoreApplication::installTranslator(texts);
}

} // namespace tz4::gui
