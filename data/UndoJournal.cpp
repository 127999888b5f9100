// The session extension records an operation's row changes; their inverse is the undo step.
#define SQLITE_ENABLE_SESSION 1
#define SQLITE_ENABLE_PREUPDATE_HOOK 1

#include "data/UndoJournal.h"

#include "core/ErrorLocation.h"
#include "core/ErrorTrap.h"
#include "core/MessageIds.h"
#include "core/Tz4Error.h"
#include "data/SqliteDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <sqlite3.h>

namespace tz4 {

namespace {

constexpr char kMagic[] = "TZ4UNDO1";
constexpr qsizetype kMagicSize = sizeof(kMagic) - 1;

struct Journal {
    UndoMode mode = UndoMode::None;
    QByteArray reversal;
};

Journal readJournal(const QString& databasePath)
{
    QFile file(undoJournalPath(databasePath));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (bytes.size() < kMagicSize + 1 || !bytes.startsWith(kMagic))
        return {};
    const int mode = bytes.at(kMagicSize);
    if (mode < int(UndoMode::Move) || mode > int(UndoMode::Delete))
        return {};
    return {UndoMode(mode), bytes.mid(kMagicSize + 1)};
}

// Any row that differs from what the operation left means someone changed it since: undoing
// then would overwrite that change, so the whole undo is called off.
int abortOnConflict(void*, int, sqlite3_changeset_iter*)
{
    return SQLITE_CHANGESET_ABORT;
}

} // namespace

int UnSetMode(UndoMode mode)
{
    switch (mode) {
    case UndoMode::Move:
        return msg::UndoMove;
    case UndoMode::Copy:
        return msg::UndoCopy;
    case UndoMode::Delete:
        return msg::UndoDelete;
    case UndoMode::None:
        break;
    }
    return msg::UndoNone;
}

struct UndoRecorder::Session {
    sqlite3_session* handle = nullptr;
    SqliteDatabase* db = nullptr;
};

UndoRecorder::UndoRecorder(SqliteDatabase& db) : session_(std::make_unique<Session>())
{
    session_->db = &db;
    int rc = sqlite3session_create(db.handle(), "main", &session_->handle);
    if (rc == SQLITE_OK)
        rc = sqlite3session_attach(session_->handle, nullptr);
    if (rc != SQLITE_OK)
        db.fail(rc, QStringLiteral("undo journal"));
}

UndoRecorder::~UndoRecorder()
{
    if (session_->handle)
        sqlite3session_delete(session_->handle);
}

QByteArray UndoRecorder::reversal() const
{
    int size = 0;
    void* changes = nullptr;
    int rc = sqlite3session_changeset(session_->handle, &size, &changes);
    if (rc != SQLITE_OK)
        session_->db->fail(rc, QStringLiteral("undo journal"));
    QByteArray out;
    if (size > 0) {
        int inverseSize = 0;
        void* inverse = nullptr;
        rc = sqlite3changeset_invert(size, changes, &inverseSize, &inverse);
        if (rc == SQLITE_OK)
            out = QByteArray(static_cast<const char*>(inverse), inverseSize);
        sqlite3_free(inverse);
    }
    sqlite3_free(changes);
    if (rc != SQLITE_OK)
        session_->db->fail(rc, QStringLiteral("undo journal"));
    return out;
}

QString undoJournalPath(const QString& databasePath)
{
    const QFileInfo info(databasePath);
    return info.absoluteDir().filePath(info.completeBaseName() + QStringLiteral(".undo"));
}

void saveUndo(const QString& databasePath, UndoMode mode, const QByteArray& reversal)
{
    if (mode == UndoMode::None || reversal.isEmpty()) {
        clearUndo(databasePath);
        return;
    }
    QSaveFile file(undoJournalPath(databasePath));
    if (!file.open(QIODevice::WriteOnly))
        throw fileError(file);
    file.write(kMagic, kMagicSize);
    file.putChar(char(mode));
    file.write(reversal);
    if (!file.commit())
        throw fileError(file);
}

UndoMode pendingUndo(const QString& databasePath)
{
    return readJournal(databasePath).mode;
}

void clearUndo(const QString& databasePath)
{
    QFile::remove(undoJournalPath(databasePath));
}

UndoMode undoLast(const QString& databasePath)
{
    EnterProcedure here("frmSample:mnuEdit_Click(0)");
    const Journal journal = readJournal(databasePath);
    if (journal.mode == UndoMode::None)
        throw Tz4Error(err::InvalidPropertyValue, QStringLiteral("There is nothing to undo."));
    SqliteDatabase db(databasePath);
    SqliteTransaction transaction(db);
    const int rc = sqlite3changeset_apply(db.handle(), int(journal.reversal.size()),
                                          const_cast<char*>(journal.reversal.constData()), nullptr,
                                          abortOnConflict, nullptr);
    if (rc == SQLITE_ABORT || (rc & 0xff) == SQLITE_CONSTRAINT)
        throw Tz4Error(err::InvalidPropertyValue,
                       QStringLiteral("The items of the last operation have changed since; nothing was undone."));
    if (rc != SQLITE_OK)
        db.fail(rc, QStringLiteral("undo"));
    transaction.commit();
    clearUndo(databasePath);
    return journal.mode;
}

} // namespace tz4
