#pragma once

#include "data/PrintTemplateRows.h"
#include "print/PrintLabels.h"

#include <QFont>

#include <memory>
#include <optional>

namespace tz4 {

// The template a print window holds while it is open: its Prints row, its labels, and
// whether the name was edited since it was loaded. It lives in memory until saved.
struct PrintTemplate : PrintsRow {
    // The name of a template that has never been stored.
    static QString newTemplateName() { return QStringLiteral("New Template"); }

    bool NameEdited = false;
    clsTz4PrintLabels Labels;

    QFont graphFont() const;
    QFont tableFont() const;
    void setGraphFont(const QFont& font);
    void setTableFont(const QFont& font);

    // The template stored under `seqNo` with its labels (SetUpData); nothing when there is no
    // such row. Throws Tz4Error when the database cannot be read.
    static std::optional<PrintTemplate> load(const QString& databasePath, qint32 seqNo);
    // A template that is not yet saved, for records of the kind.
    static PrintTemplate blank(int templateType);

    // The labels as rows to store.
    QList<PrtLabelRow> labelRows() const;
};

} // namespace tz4
