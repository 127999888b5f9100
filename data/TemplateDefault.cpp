#include "data/TemplateDefault.h"

#include "core/ErrorLocation.h"
#include "core/Keys.h"
#include "core/Tz4Error.h"
#include "data/SqliteDatabase.h"

namespace tz4 {

void SetPrintDefault(const QString& databasePath, const QString& templateKey)
{
    EnterProcedure here("frmSample:SetPrintDefault");
    const qint32 seqNo = GetKeySeq(templateKey);
    SqliteDatabase db(databasePath);
    SqliteTransaction transaction(db);
    SqliteStatement row = db.query(QStringLiteral("Select TemplateType From Prints Where SeqNo=%1;").arg(seqNo));
    if (GetKeyType(templateKey) != QLatin1String("K") || !row.next())
        throw Tz4Error(err::InvalidPropertyValue, QStringLiteral("There is no template %1.").arg(templateKey));
    const qint64 type = row.toInt(0);
    row.reset();
    db.execute(QStringLiteral("Update Prints Set DefaultTemp=False Where TemplateType=%1;").arg(type));
    db.execute(QStringLiteral("Update Prints Set DefaultTemp=True Where SeqNo=%1;").arg(seqNo));
    transaction.commit();
}

} // namespace tz4
