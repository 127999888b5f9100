#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

namespace tz4 {

class SqliteDatabase;
class SqliteTransaction;

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

// The undo journal lies beside the database ("TZ4.mdb" -> "TZ4.undo") and holds one step,
// written whole with a checksum.
QString undoJournalPath(const QString& databasePath);

// Commits `transaction` with the operation `recorder` saw as the journal's one step. The journal
// is written before the commit, while the transaction holds the database, so the step on file is
// always the last operation committed, also when several programs work on the database; it is
// put back as it was when the commit fails. A journal that cannot be written refuses the
// operation (Tz4Error) and nothing changes. An operation that changed nothing clears the step.
void commitUndoable(SqliteTransaction& transaction, const UndoRecorder& recorder, UndoMode mode,
                    const QString& databasePath);

// What the journal offers to undo; None also for a missing or damaged journal.
UndoMode pendingUndo(const QString& databasePath);

// Reverses the journal's operation in one transaction and clears the journal; returns what
// was undone. Refused, with nothing changed, when there is nothing to undo, when the journal is
// damaged, when rows the operation touched have changed since, or when rows added since depend
// on rows the undo would remove.
UndoMode undoLast(const QString& databasePath);

} // namespace tz4
