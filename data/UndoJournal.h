#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

namespace tz4 {

class SqliteDatabase;

// The last undoable operation of a database, as the Edit menu's undo item names it.
enum class UndoMode { None = 0, Move = 1, Copy = 2, Delete = 3 };

// The catalogue id of the undo item's caption for `mode` ("Return(Move)(&U)" ...).
int UnSetMode(UndoMode mode);

// Records every row an operation changes on `db` (from construction on) so that the
// operation can be reversed later, also by another run of the program.
class UndoRecorder {
public:
    explicit UndoRecorder(SqliteDatabase& db);
    ~UndoRecorder();
    UndoRecorder(const UndoRecorder&) = delete;
    UndoRecorder& operator=(const UndoRecorder&) = delete;

    // The changes that reverse what was recorded; empty when nothing changed.
    QByteArray reversal() const;

private:
    struct Session;
    std::unique_ptr<Session> session_;
};

// The undo journal lies beside the database ("TZ4.mdb" -> "TZ4.undo") and holds one step.
QString undoJournalPath(const QString& databasePath);
// Replaces the journal (written whole or not at all); an empty reversal clears it.
void saveUndo(const QString& databasePath, UndoMode mode, const QByteArray& reversal);
UndoMode pendingUndo(const QString& databasePath);
void clearUndo(const QString& databasePath);

// Reverses the journal's operation in one transaction and clears the journal; returns what
// was undone. Refused, with nothing changed, when there is nothing to undo or when rows the
// operation touched have changed since.
UndoMode undoLast(const QString& databasePath);

} // namespace tz4
