#pragma once

#include "print/PrintTemplate.h"

#include <QString>

namespace tz4 {

// Which template a print window uses for records of a kind (TemplateType 0 to 4).
struct TemplateChoice {
    qint32 seqNo = -1;      // -1: the kind has no template to use
    bool wrongKind = false; // the requested template exists but is of another kind
    bool missing = false;   // the requested template does not exist
};

// The requested template when it is of the kind, else the kind's default; a negative
// request asks for the default. Throws Tz4Error when the database cannot be read.
TemplateChoice ChooseTemplate(const QString& databasePath, int templateType, qint32 requested);

enum class TemplateSaved { Rewritten, AsNew, Failed };

// Stores the template (UpDate): a template never stored becomes a new one; a stored one is
// rewritten, unless its name was edited and the user answers Yes to the rename question,
// which stores it as a new template and leaves the old one untouched. A failure is shown
// and stores nothing. The template takes its new number and kind.
TemplateSaved UpDate(const QString& databasePath, PrintTemplate& tmpl, int templateType);

} // namespace tz4
