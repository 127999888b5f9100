#pragma once

#include "core/MessageCatalog.h"

#include <QString>
#include <QVariantList>

namespace tz4 {

// The sample manager's own texts beyond the catalogue's: the search grid's rows, refusals of
// typed names and values, items that went while the window showed them. English and Japanese,
// by the interface's language.
enum class SampleText {
    ItemGone,          // ~1 the key: an item another program removed meanwhile
    NameEmpty,         // a rename to nothing
    NameWithBreaks,    // a rename holding a tab or a line break
    NotADate,          // ~1 the typed text
    NotAWholeNumber,   // ~1 the typed text
    ReplaceFile,       // ~1 the file
    StillWorking,      // the window is busy with a long operation
    ExchangeFiles,     // the file dialog's type of exchange files
    AllFiles,
    SearchDateLimit,   // the search rows' titles ...
    SearchFrom,
    SearchTo,
    SearchPastMonths,
    SearchPastDays,
    SearchKind,
    SearchNoLimit,     // ... and the choices of the date and kind rows
    SearchRange,
    SearchMonths,
    SearchDays,
    SearchAllKinds,
    RecordKind,        // the property grid's kind row
    FolderPath,        // the property grid's folder row
    CalibrationMember, // ~1 its position from 1
    NothingToPaste,
};

QString sampleText(SampleText id, const QVariantList& arguments = {});
// A catalogue caption as a title or label: "Rename(&R)" reads "Rename".
QString captionText(int catalogueId);
QString sampleText(SampleText id, Language language, const QVariantList& arguments = {});

} // namespace tz4
