#pragma once

#include "core/MessageCatalog.h"

#include <QString>
#include <QVariantList>

namespace tz4 {

// Texts of the reports this program makes beyond the catalogue's: settings it cannot use,
// commands the instrument refused, an instrument that stopped answering, a database that
// another program holds. Shown in the language of the interface; Caution.log takes the
// English ones, as for catalogue texts.
enum class OwnText {
    UnusableSettings, // header of the list of settings lines
    FailedCommands,   // ~1: how many; header of the list of failures
    StoppedAnswering, // followed by ": " and the cause when one is known
    NothingStored,    // ends the sentence above
    NotConnected,     // an instrument action chosen before the instrument was connected
    NoRegressionLine, // a difference from the regression line asked before there is one
    StoreFirst,       // a difference asked of a measurement not yet stored
    FileNotWritten,   // ~1 the file, ~2 why
    WarmUpOver,       // the status bar once the warm-up has run out
    False,            // the two choices of a yes-or-no grid row
    True,
    NoName,           // a calibration or correction record that is not there ("None")
    InitSystem,       // the status bar before anything has happened
    CauseLabel,       // starts the line that names what the link saw ("Cause: ")
    ChangedElsewhere, // ~1: the record's key, ~2: the values another program changed meanwhile
    NotWrittenBack,   // ~1: the record's key, ~2: why the database did not take the change
    DatabaseBusy,     // ~1: the time-out in seconds; another process holds the database
    StoredAtTopLevel, // ~1: the folder's key; it went while the record was measured
    StoreAgain,       // ~1: why the database did not take the record, ~2: where an exchange file would go
    WrittenToFile,    // ~1: why the database did not take the record, ~2: the exchange file
    CorrectionLeftOut, // ~1: the correcting record's number, ~2: why it could not be read
};

// The text with its placeholders filled, as GetRes does.
QString ownText(OwnText id, Language language, const QVariantList& arguments = {});
QString ownText(OwnText id, const QVariantList& arguments = {});

} // namespace tz4
