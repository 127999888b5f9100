#pragma once

#include "core/MessageCatalog.h"

#include <QVariantList>

namespace tz4 {

// A catalogue text not yet put into words: kept by id and arguments, so that one report can
// be shown in the interface's language and logged in English.
struct CatalogText {
    int id = 0;
    QVariantList arguments;

    bool isEmpty() const { return id == 0; }
    QString text(Language language) const { return isEmpty() ? QString() : expandMessage(messageText(id, language), arguments); }
};

} // namespace tz4
