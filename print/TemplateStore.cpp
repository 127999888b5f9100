#include "print/TemplateStore.h"

#include "core/ErrorLocation.h"
#include "core/ErrorReporter.h"
#include "core/ErrorTrap.h"
#include "core/MessageIds.h"

#include <QDate>

namespace tz4 {

TemplateChoice ChooseTemplate(const QString& databasePath, int templateType, qint32 requested)
{
    TemplateChoice choice;
    if (requested >= 0) {
        if (PrintTemplateRows::templateOfType(databasePath, templateType, requested)) {
            choice.seqNo = requested;
            return choice;
        }
        choice.wrongKind = PrintTemplateRows::templateType(databasePath, requested).has_value();
        choice.missing = !choice.wrongKind;
    }
    if (const std::optional<qint32> fallback = PrintTemplateRows::defaultTemplate(databasePath, templateType))
        choice.seqNo = *fallback;
    return choice;
}

TemplateSaved UpDate(const QString& databasePath, PrintTemplate& tmpl, int templateType)
{
    EnterProcedure here("frmPrint:UpDate");
    bool asNew = tmpl.SeqNo < 1;
    if (!asNew && tmpl.NameEdited)
        asNew = showCatalogMessage(msg::TemplateNameChanged, msg::TemplateTitle, MessageIcon::Question,
                                   MessageButtons::YesNo)
            == MessageAnswer::Yes;
    ErrorTrap trap;
    const bool stored = trap.run([&] {
        if (!asNew) {
            PrintTemplateRows::rewrite(databasePath, tmpl, tmpl.labelRows());
            return;
        }
        PrintsRow row = tmpl;
        row.TemplateType = templateType;
        const qint32 seqNo = PrintTemplateRows::insert(databasePath, row, tmpl.labelRows());
        tmpl.SeqNo = seqNo;
        tmpl.TemplateType = templateType;
        tmpl.TemplateDate = QDate::currentDate().startOfDay();
        tmpl.DefaultTemp = false;
    });
    if (!stored) {
        // Whatever its class, a template that was not stored is said: the user asked for it.
        showCatalogMessage(msg::TemplateNotSaved, msg::TemplateTitle, MessageIcon::Critical, MessageButtons::Ok,
                           {trap.error()->description()});
        trap.finish();
        return TemplateSaved::Failed;
    }
    tmpl.NameEdited = false;
    return asNew ? TemplateSaved::AsNew : TemplateSaved::Rewritten;
}

} // namespace tz4
