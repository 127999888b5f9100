#include "print/PrintControl.h"

#include "core/ErrorLocation.h"
#include "core/Keys.h"
#include "data/FolderContents.h"

#include <cmath>

namespace tz4 {

namespace {

// Axis label formats by kind: energies, point numbers, logarithms of counting rates.
QString scaleXFormatOf(int kind)
{
    switch (kind) {
    case clsTz4DataSet::KindW:
    case clsTz4DataSet::KindL: return QStringLiteral("#0.00");
    case clsTz4DataSet::KindT: return QStringLiteral("#0.000");
    default: return QStringLiteral("#0");
    }
}

// Where a new label appears: inside the margins every printer can print.
constexpr float kNewLabelMM = 20;

float toTenth(double mm)
{
    return float(std::round(mm * 10) / 10);
}

} // namespace

PrintControl::PrintControl(const QString& databasePath, QObject* parent)
    : QObject(parent), databasePath_(databasePath), page_(tmpl_, records_, graph_)
{
    graph_.setDataItems(&records_);
    graph_.setDispItems(&disps_);
}

PrintControl::~PrintControl() = default;

QStringList PrintControl::SetUpGraph(const QStringList& keys)
{
    EnterProcedure here("frmPrint:SetUpGraph");
    QStringList missing;
    for (const QString& given : keys) {
        const QString type = GetKeyType(given);
        const qint32 seqNo = GetKeySeq(given);
        const int kind = clsTz4DataSet::kindOfLetter(type);
        if (kind == clsTz4DataSet::KindNone || seqNo < 1 || storedRecordKind(databasePath_, seqNo) != kind) {
            missing << given;
            continue;
        }
        const QString key = makeKey(seqNo, type);
        if (!records_.Item(key))
            records_.Add(key, databasePath_);
    }
    if (clsTz4DataSet* first = records_.Item(1)) {
        records_.setSelectedItem(first);
        records_.setShownKind(first->Kind());
        disps_.Add(clsTz4DataSet::letterOfKind(first->Kind()), databasePath_);
        graph_.setScaleXFormat(scaleXFormatOf(first->Kind()));
    }
    records_.RefreshParam();
    return missing;
}

int PrintControl::kind() const
{
    const clsTz4DataSet* record = selected();
    return record ? record->Kind() : clsTz4DataSet::KindNone;
}

TemplateChoice PrintControl::SetUpTemplate(qint32 requested)
{
    EnterProcedure here("frmPrint:SetUpData");
    const int templateType = kind();
    TemplateChoice choice;
    if (templateType != clsTz4DataSet::KindNone)
        choice = ChooseTemplate(databasePath_, templateType, requested);
    std::optional<PrintTemplate> loaded;
    if (choice.seqNo >= 0)
        loaded = PrintTemplate::load(databasePath_, choice.seqNo);
    tmpl_ = loaded ? std::move(*loaded) : PrintTemplate::blank(std::max(0, templateType));
    if (!loaded)
        choice.seqNo = -1;
    page_.RefreshBindingCaption();
    page_.MakeTableCol();
    emit templateChanged();
    emit selectionChanged();
    emit pageChanged(PrintPage::All);
    return choice;
}

void PrintControl::selectLabel(clsTz4PrintLabel* label)
{
    if (tmpl_.Labels.SelectedItem() == label)
        return;
    tmpl_.Labels.setSelectedItem(label);
    emit selectionChanged();
}

clsTz4PrintLabel* PrintControl::selectLabelAt(QPointF mm)
{
    clsTz4PrintLabel* label = page_.LabelHitTest(mm);
    selectLabel(label);
    return label;
}

void PrintControl::moveSelectedLabel(QPointF mm)
{
    clsTz4PrintLabel* label = selectedLabel();
    if (!label)
        return;
    const float left = toTenth(mm.x());
    const float top = toTenth(mm.y());
    if (left == label->mmLeft() && top == label->mmTop())
        return;
    label->setMmLeft(left);
    label->setMmTop(top);
    emit pageChanged(PrintPage::LabelLayer);
}

clsTz4PrintLabel* PrintControl::NewLabel()
{
    clsTz4PrintLabel* label = tmpl_.Labels.Add();
    label->setMmLeft(kNewLabelMM);
    label->setMmTop(kNewLabelMM);
    tmpl_.Labels.setSelectedItem(label);
    emit selectionChanged();
    emit pageChanged(PrintPage::LabelLayer);
    return label;
}

void PrintControl::DeleteSelectedLabel()
{
    if (!selectedLabel())
        return;
    tmpl_.Labels.Remove(selectedLabel());
    emit selectionChanged();
    emit pageChanged(PrintPage::LabelLayer);
}

TemplateSaved PrintControl::Save()
{
    const TemplateSaved saved = UpDate(databasePath_, tmpl_, std::max(0, kind()));
    if (saved != TemplateSaved::Failed)
        emit templateChanged();
    return saved;
}

void PrintControl::changed(int layers)
{
    if (layers & PrintPage::LabelLayer)
        page_.RefreshBindingCaption();
    if (layers & PrintPage::TableLayer)
        page_.MakeTableCol();
    emit pageChanged(layers);
}

} // namespace tz4
