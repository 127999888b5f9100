// The session extension records an operation's row changes; their inverse is the undo step.
#define SQLITE_ENABLE_SESSION 1
#define SQLITE_ENABLE_PREUPDATE_HOOK 1

#include "data/UndoJournal.h"

#include "core/ErrorLocation.h"
#include "core/ErrorTrap.h"
#include "core/FileTargets.h"
#include "core/MessageIds.h"
#include "core/Tz4Error.h"
#include "data/SqliteDatabase.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QtEndian>

#include <sqlite3.h>

#include <optional>

namespace tz4 {

namespace {

// Magic, mode, the length of the changes, the changes, and a SHA-256 of all that precedes it:
// a journal cut at any length, or changed in any byte, is told from a whole one.
constexpr char kMagic[] = "TZ4UNDO2";
constexpr qsizetype kMagicSize = sizeof(kMagic) - 1;
constexpr qsizetype kHeaderSize = kMagicSize + 1 + 8;
constexpr qsizetype kSumSize = 32;

struct Journal {
    UndoMode mode = UndoMode::None;
    QByteArray reversal;
    QString damage; // why the file cannot be used; empty for a whole one or none
};

QByteArray checksum(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

QByteArray encodeJournal(UndoMode mode, const QByteArray& reversal)
{
    QByteArray bytes(kMagic, kMagicSize);
    bytes.append(char(mode));
    char length[8];
    qToLittleEndian(quint64(reversal.size()), length);
    bytes.append(length, sizeof length);
    bytes.append(reversal);
    bytes.append(checksum(bytes));
    return bytes;
}

Journal decodeJournal(const QByteArray& bytes)
{
    Journal journal;
    const auto damaged = [&](const QString& why) {
        journal.damage = why;
        return journal;
    };
    if (bytes.size() < kHeaderSize + kSumSize || !bytes.startsWith(QByteArray(kMagic, kMagicSize)))
        return damaged(QStringLiteral("it is not an undo journal of this program or it was cut short"));
    const quint64 length = qFromLittleEndian<quint64>(bytes.constData() + kMagicSize + 1);
    if (length != quint64(bytes.size() - kHeaderSize - kSumSize))
        return damaged(QStringLiteral("it was cut short or has bytes added"));
    const QByteArray body = bytes.left(bytes.size() - kSumSize);
    if (checksum(body) != bytes.right(kSumSize))
        return damaged(QStringLiteral("its checksum does not match its contents"));
    const int mode = bytes.at(kMagicSize);
    if (mode < int(UndoMode::Move) || mode > int(UndoMode::Delete))
        return damaged(QStringLiteral("it names no known operation"));
    journal.mode = UndoMode(mode);
    journal.reversal = bytes.mid(kHeaderSize, qsizetype(length));
    return journal;
}

// The journal's bytes; none when there is no journal.
std::optional<QByteArray> readJournalBytes(const QString& databasePath)
{
    QFile file(undoJournalPath(databasePath));
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        throw fileError(file);
    return file.readAll();
}

// Replaces the journal with `bytes` whole, or removes it for none.
void writeJournalBytes(const QString& databasePath, const std::optional<QByteArray>& bytes)
{
    const QString path = undoJournalPath(databasePath);
    if (!bytes) {
        QFile file(path);
        if (file.exists() && !file.remove())
            throw fileError(file);
        return;
    }
    try {
        writeWholeFile(path, *bytes);
    } catch (const Tz4Error& error) {
        throw Tz4Error(error.number(), QStringLiteral("The undo journal could not be written (%1); nothing was changed.")
                                           .arg(error.description()));
    }
}

// Commits the transaction after the journal took `next`; puts the journal back when it cannot.
void commitWithJournal(SqliteTransaction& transaction, const QString& databasePath,
                       const std::optional<QByteArray>& next)
{
    const std::optional<QByteArray> previous = readJournalBytes(databasePath);
    writeJournalBytes(databasePath, next);
    try {
        transaction.commit();
    } catch (...) {
        try {
            writeJournalBytes(databasePath, previous);
        } catch (const Tz4Error&) {
            // The commit's failure is the one to report; the journal names a step that did
            // not happen, whose rows do not match, so an undo of it is refused.
        }
        throw;
    }
}

// Any row that differs from what the operation left means someone changed it since: undoing
// then would overwrite that change, so the whole undo is called off.
int abortOnConflict(void*, int, sqlite3_changeset_iter*)
{
    return SQLITE_CHANGESET_ABORT;
}

// Every row that names a folder or record that does not exist, as a sentence.
QSet<QString> danglingReferences(SqliteDatabase& db)
{
    QSet<QString> found;
    SqliteStatement rows = db.prepare(QStringLiteral(
        "Select 'folder ' || SeqNo || ' F lies in folder ' || Parent || ' F' From FAT "
        "Where Parent<>0 And Parent Not In (Select SeqNo From FAT) "
        "Union All Select 'record ' || SeqNo || ' lies in folder ' || Parent || ' F' From Setting "
        "Where Parent<>0 And Parent Not In (Select SeqNo From FAT) "
        "Union All Select 'record ' || SeqNo || ' is corrected by record ' || AdjustNo From Setting "
        "Where AdjustNo>0 And AdjustNo Not In (Select SeqNo From Setting) "
        "Union All Select 'calibration line ' || AdjNo || ' holds record ' || DataNo From Thicks "
        "Where AdjNo Not In (Select SeqNo From Setting) Or DataNo Not In (Select SeqNo From Setting) "
        "Union All Select 'points of record ' || SerialNo From Datas Where SerialNo Not In (Select SeqNo From Setting);"));
    while (rows.next())
        found.insert(rows.toText(0));
    return found;
}

Tz4Error refusal(const QString& why)
{
    return Tz4Error(err::InvalidPropertyValue, why + QStringLiteral("; nothing was undone."));
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

void commitUndoable(SqliteTransaction& transaction, const UndoRecorder& recorder, UndoMode mode,
                    const QString& databasePath)
{
    const QByteArray reversal = recorder.reversal();
    std::optional<QByteArray> next;
    if (mode != UndoMode::None && !reversal.isEmpty())
        next = encodeJournal(mode, reversal);
    commitWithJournal(transaction, databasePath, next);
}

UndoMode pendingUndo(const QString& databasePath)
{
    try {
        const std::optional<QByteArray> bytes = readJournalBytes(databasePath);
        return bytes ? decodeJournal(*bytes).mode : UndoMode::None;
    } catch (const Tz4Error&) {
        return UndoMode::None;
    }
}

UndoMode undoLast(const QString& databasePath)
{
    EnterProcedure here("frmSample:mnuEdit_Click(0)");
    SqliteDatabase db(databasePath);
    // The journal is read while this transaction holds the database: the step it names is the
    // last one committed, and no other program's operation slips in between.
    SqliteTransaction transaction(db);
    const std::optional<QByteArray> bytes = readJournalBytes(databasePath);
    if (!bytes)
        throw Tz4Error(err::InvalidPropertyValue, QStringLiteral("There is nothing to undo."));
    const Journal journal = decodeJournal(*bytes);
    if (!journal.damage.isEmpty())
        throw refusal(QStringLiteral("The undo journal '%1' is damaged: %2").arg(undoJournalPath(databasePath), journal.damage));

    const QSet<QString> danglingBefore = danglingReferences(db);
    const int rc = sqlite3changeset_apply(db.handle(), int(journal.reversal.size()),
                                          const_cast<char*>(journal.reversal.constData()), nullptr,
                                          abortOnConflict, nullptr);
    if (rc == SQLITE_ABORT || (rc & 0xff) == SQLITE_CONSTRAINT)
        throw refusal(QStringLiteral("The items of the last operation have changed since"));
    if (rc != SQLITE_OK)
        db.fail(rc, QStringLiteral("undo"));
    // Rows added since that hang on what the undo removes (a record stored into a copied
    // folder, a correction attached to a copied record) would be left pointing at nothing.
    QSet<QString> dangling = danglingReferences(db);
    dangling.subtract(danglingBefore);
    if (!dangling.isEmpty()) {
        QStringList examples(dangling.begin(), dangling.end());
        examples.sort();
        throw refusal(QStringLiteral("Items added since depend on the last operation (%1)")
                          .arg(examples.mid(0, 3).join(QStringLiteral("; "))));
    }
    commitWithJournal(transaction, databasePath, std::nullopt);
    return journal.mode;
}

} // namespace tz4
