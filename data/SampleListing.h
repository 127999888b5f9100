#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

#include <memory>

namespace tz4 {

class SqliteDatabase;

struct FolderRow {
    qint32 seqNo = 0;
    QVariant name; // null when the folder has no name
    qint32 parent = 0;
};

struct RecordRow {
    qint32 seqNo = 0;
    QString sampleName;
    int modes = -1;
    QVariant measLight; // null when not stored
    QDateTime dataTime; // invalid when not stored
};

struct TemplateRow {
    qint32 seqNo = 0;
    QString name;
    bool isDefault = false;
    QDateTime date;
};

// The reads behind the folder tree, the record list and the folder combo, on one connection
// opened for one rebuild. Rows come in the order the database returns them.
class SampleListing {
public:
    explicit SampleListing(const QString& databasePath);
    ~SampleListing();

    // Folders with `parent`, live or in the trash.
    QList<FolderRow> folders(qint32 parent, bool recycled);
    // Every folder in the trash, wherever it lies.
    QList<FolderRow> trashedFolders();
    // The top-level folders of the folder combo (its top level also lists trashed folders).
    QList<FolderRow> comboTopFolders();
    QList<RecordRow> records(qint32 parent);
    QList<RecordRow> trashedRecords();
    // The records that the search's WHERE part selects; nothing for a part under 8 characters.
    QList<RecordRow> search(const QString& queryString);
    // The print templates of one record kind (0 to 4).
    QList<TemplateRow> templates(int templateType);
    bool trashIsEmpty();
    // "Top\Sub\Leaf" of folder `folder`, leaf last.
    QString folderPath(qint32 folder);

private:
    QList<FolderRow> readFolders(const QString& sql);
    QList<RecordRow> readRecords(const QString& sql);

    std::unique_ptr<SqliteDatabase> db_;
};

} // namespace tz4
