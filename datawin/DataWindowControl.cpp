#include "datawin/DataWindowControl.h"
#include "datawin/MeasurementControl.h"

#include "core/ErrorLocation.h"
#include "core/ErrorReporter.h"
#include "core/Keys.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "core/OwnTexts.h"
#include "core/RecordParameters.h"
#include "core/Tz4Error.h"
#include "data/FolderContents.h"
#include "data/SuggestRanges.h"

#include <cmath>

namespace tz4 {

namespace {

// Display sets follow the order of the modes, whatever order the records came in.
const QString ModeOrder = QStringLiteral("WCLDT");

} // namespace

DataWindowControl::DataWindowControl(const QString& databasePath, QObject* parent)
    : QObject(parent), databasePath_(databasePath)
{
}

DataWindowControl::~DataWindowControl() = default;

QStringList DataWindowControl::SetStartUp(const QString& keyList)
{
    EnterProcedure here("frmData:SetStartUp");
    QStringList keys = splitKeyList(keyList);
    if (keys.isEmpty() && !keyList.trimmed().isEmpty())
        keys << keyList.trimmed();

    QStringList missing;
    QString modes;
    for (const QString& given : keys) {
        const QString type = GetKeyType(given);
        const qint32 seqNo = GetKeySeq(given);
        if (clsTz4DataSet::kindOfLetter(type) == clsTz4DataSet::KindNone
            || (seqNo > 0 && storedRecordKind(databasePath_, seqNo) != clsTz4DataSet::kindOfLetter(type))) {
            missing << given;
            continue;
        }
        const QString key = makeKey(seqNo, type);
        if (records_.Item(key))
            continue;
        records_.Add(key, databasePath_);
        if (!modes.contains(type))
            modes += type;
    }
    for (const QChar mode : ModeOrder)
        if (modes.contains(mode))
            if (clsTz4GraphDisp* disp = disps_.Add(QString(mode), databasePath_))
                dispsStored_.insert_or_assign(disp->Key(), *disp);

    measurementWindow_ = records_.Count() == 1 && records_.Item(1)->SeqNo() == 0;
    records_.RefreshParam();
    if (records_.Count() > 0) {
        select(records_.Item(1));
        clsTz4DataSet* first = records_.Item(1);
        location_ = measurementWindow_ ? 0 : first->Parameters(param::FolderNumber).toInt();
    }
    records_.RefreshParam();
    emit recordsChanged();
    return missing;
}

void DataWindowControl::select(const clsTz4DataSet* record)
{
    records_.setSelectedItem(record);
    if (record)
        records_.setShownKind(record->Kind());
    if (clsTz4GraphDisp* disp = currentDisp())
        disps_.setSelectedItem(disp);
    emit selectionChanged();
}

clsTz4GraphDisp* DataWindowControl::currentDisp() const
{
    const clsTz4DataSet* record = selected();
    clsTz4GraphDisp* disp = record ? disps_.Item(GetKeyType(record->Key())) : nullptr;
    return disp ? disp : disps_.Item(1);
}

MeasurementControl* DataWindowControl::attachInstrument(MainControl& main)
{
    if (!measurementWindow_ || measurement_)
        return measurement_.get();
    measurement_ = std::make_unique<MeasurementControl>(main, *records_.Item(1));
    measurement_->setLocation(location_);
    measurement_->setDisplayRefresh([this] { pointAppended(); });
    measurement_->setRenewed([this] { recordRenewed(); });
    return measurement_.get();
}

bool DataWindowControl::settingsLocked(const clsTz4DataSet* record) const
{
    return measurement_ && record == &measurement_->record() && measurement_->running();
}

void DataWindowControl::renewMeasurementRecord()
{
    if (measurement_)
        measurement_->RenewRecord();
}

void DataWindowControl::recordRenewed()
{
    clsTz4DataSet& record = measurement_->record();
    records_.Rekey(&record);
    select(&record);
    records_.RefreshParam();
    emit recordsChanged();
}

void DataWindowControl::storeSettings(clsTz4DataSet& record) { writeBack(record); }

void DataWindowControl::storeAnalysis(clsTz4DataSet& record)
{
    // The ranges live in the settings row, the point flags they give in the points' rows; both
    // are among the values a write-back compares.
    writeBack(record);
}

// Only what this window changed is written, and only over values nobody else changed since
// the window read them: a rename, attach or move made meanwhile elsewhere stays.
void DataWindowControl::writeBack(clsTz4DataSet& record)
{
    if (record.SeqNo() < 1)
        return;
    QString detail;
    switch (record.WriteChanges(&detail)) {
    case clsTz4DataSet::WriteBack::Written:
    case clsTz4DataSet::WriteBack::NothingChanged:
        return;
    case clsTz4DataSet::WriteBack::Deleted:
        showCatalogMessage(msg::RecordDeleted, msg::TabData, MessageIcon::Exclamation, MessageButtons::Ok,
                           {record.Key()});
        return;
    case clsTz4DataSet::WriteBack::ChangedElsewhere:
        errorReporter().showMessage(ownText(OwnText::ChangedElsewhere, {record.Key(), detail}), GetRes(msg::TabData),
                                    MessageIcon::Exclamation, MessageButtons::Ok);
        // The window shows what is stored now, not a change that was refused.
        record.ReLoad();
        records_.RefreshParam();
        emit recordsChanged();
        return;
    case clsTz4DataSet::WriteBack::Failed:
        errorReporter().showMessage(ownText(OwnText::NotWrittenBack, {record.Key(), detail}), GetRes(msg::TabData),
                                    MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
}

void DataWindowControl::storeRanges(clsTz4DataSet& record)
{
    if (!showsSeveral())
        storeSettings(record);
}

void DataWindowControl::storeDisplay(clsTz4GraphDisp& disp)
{
    if (showsSeveral())
        return;
    const auto stored = dispsStored_.find(disp.Key());
    if (stored == dispsStored_.end())
        return;
    disp.UpDatesChanged(stored->second);
    stored->second = disp;
}

void DataWindowControl::setLocation(std::optional<qint32> folder)
{
    location_ = folder;
    if (measurement_)
        measurement_->setLocation(folder);
}

const QList<QPair<qint32, QString>>& DataWindowControl::folderChoices()
{
    if (foldersRead_)
        return folders_;
    foldersRead_ = true;
    folders_ = {{0, GetRes(msg::TopLevelFolder)}};
    // Depth first, so each folder stands under its parent, indented by its depth.
    std::function<void(qint32, int)> walk = [&](qint32 folder, int depth) {
        for (const FolderEntry& entry : folderEntries(databasePath_, folder)) {
            if (!entry.isFolder())
                continue;
            const qint32 number = GetKeySeq(entry.key);
            folders_.append({number, QString(depth * 2, QLatin1Char(' ')) + entry.name});
            walk(number, depth + 1);
        }
    };
    try {
        walk(0, 1);
    } catch (const Tz4Error&) {
        // An unreadable folder table leaves the top level to choose from.
    }
    return folders_;
}

void DataWindowControl::setTableSelection(float x1, float x2)
{
    tableX1_ = std::min(x1, x2);
    tableX2_ = std::max(x1, x2);
}

void DataWindowControl::applyRange(int firstParameter)
{
    clsTz4DataSet& record = *selected();
    float x1 = tableX1_, y1 = records_.TotalMinY(), x2 = tableX2_, y2 = records_.TotalMaxY();
    if (popUpFromGraph_) {
        const clsTz4GraphDisp* disp = currentDisp();
        if (!disp)
            return;
        x1 = disp->SelectX1();
        y1 = disp->SelectY1();
        x2 = disp->SelectX2();
        y2 = disp->SelectY2();
    }
    record.setParameters(firstParameter, x1);
    record.setParameters(firstParameter + 1, y1);
    record.setParameters(firstParameter + 2, x2);
    record.setParameters(firstParameter + 3, y2);
}

void DataWindowControl::mnuPopUp1_Click(int index)
{
    EnterProcedure here("frmData:mnuPopUp1_Click");
    clsTz4DataSet* record = selected();
    if (!record || record->Kind() != clsTz4DataSet::KindW)
        return;
    switch (index) {
    case PopUpDataClear:
        for (int number : {param::FitX1, param::FitY1, param::FitX2, param::FitY2, param::GroundX1, param::GroundY1,
                           param::GroundX2, param::GroundY2})
            record->setParameters(number, 0.0f);
        break;
    case PopUpGround: applyRange(param::GroundX1); break;
    case PopUpFit: applyRange(param::FitX1); break;
    case PopUpDifference:
        // The difference record is made from the stored original, which keeps its analysis.
        if (record->Parameters(param::Gradient).toFloat() == 0 || record->SeqNo() < 1) {
            errorReporter().showMessage(ownText(record->SeqNo() < 1 ? OwnText::StoreFirst : OwnText::NoRegressionLine),
                                        GetRes(msg::PopupDifference), MessageIcon::Information, MessageButtons::Ok);
            return;
        }
        storeAnalysis(*record);
        if (!record->CreateWfSubtruct())
            return;
        records_.Rekey(record);
        select(record);
        records_.RefreshParam();
        displayCaption_ = GetRes(msg::DisplayCaption, {record->SeqNo(), record->Parameters(param::SampleName)});
        emit captionChanged(displayCaption_);
        emit recordsChanged();
        break;
    default: return;
    }
    if (index != PopUpDifference) {
        record->RefreshGFlag();
        record->Refresh();
        storeAnalysis(*record);
    }
    changed();
}

QString DataWindowControl::SuggestRanges()
{
    EnterProcedure here("frmData:SuggestRanges");
    clsTz4DataSet* record = selected();
    if (!record || record->Kind() != clsTz4DataSet::KindW)
        return {};
    const SuggestedRanges suggested = tz4::SuggestRanges(*record);
    if (!suggested.found)
        return suggested.refusal;
    ApplyRanges(*record, suggested.ground, suggested.fit);
    storeAnalysis(*record);
    changed();
    return {};
}

namespace {

// 1, 2 or 5 times a power of ten, the first at least `rough`.
float roundStep(double rough)
{
    if (!(rough > 0) || !std::isfinite(rough))
        return 1;
    const double decade = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * decade >= rough * (1 - 1e-6))
            return float(factor * decade);
    return float(10 * decade);
}

} // namespace

void DataWindowControl::FitScaleToData()
{
    EnterProcedure here("frmData:FitScaleToData");
    const clsTz4DataSet* shown = selected();
    if (!shown || records_.MaxDataCount() < 1)
        return;
    records_.RefreshParam();
    const float xMin = records_.TotalMinX(), xMax = records_.TotalMaxX();
    const float yMin = std::min(0.0f, records_.TotalMinY());
    const float yStep = roundStep((double(records_.TotalMaxY()) - yMin) / 10);
    const float yMax = float(std::ceil(records_.TotalMaxY() / yStep) * yStep);
    float xStep = 1;
    switch (shown->Kind()) {
    case clsTz4DataSet::KindW:
    case clsTz4DataSet::KindL: xStep = shown->Parameters(param::EnergyStep).toFloat(); break;
    case clsTz4DataSet::KindC:
    case clsTz4DataSet::KindD: xStep = std::max(1.0f, std::round((xMax - xMin) / 10)); break;
    default: xStep = roundStep((double(xMax) - xMin) / 10); break;
    }
    if (!(xStep > 0))
        xStep = roundStep((double(xMax) - xMin) / 10);
    for (clsTz4DataSet& record : records_) {
        if (!records_.Shows(record))
            continue;
        record.setGraphX(0, xMin);
        record.setGraphX(1, xMax);
        record.setGraphX(2, xStep);
        record.setGraphY(0, yMin);
        record.setGraphY(1, yMax);
        record.setGraphY(2, yStep);
        storeRanges(record);
    }
    changed();
}

bool DataWindowControl::recordMissing(const clsTz4DataSet& record) const
{
    if (record.SeqNo() < 1)
        return false;
    try {
        return storedRecordKind(databasePath_, record.SeqNo()) == clsTz4DataSet::KindNone;
    } catch (const Tz4Error&) {
        return false; // an unreadable database is reported by the save itself
    }
}

bool DataWindowControl::Unload()
{
    EnterProcedure here("frmData:Form_Unload");
    bool saved = true;
    if (records_.Count() == 1) {
        const clsTz4DataSet& record = *records_.Item(1);
        if (recordMissing(record)) {
            showCatalogMessage(msg::RecordDeleted, msg::TabData, MessageIcon::Exclamation, MessageButtons::Ok,
                               {record.Key()});
            saved = false;
        }
    }
    if (showsSeveral()) {
        for (clsTz4GraphDisp& disp : disps_) {
            const auto stored = dispsStored_.find(disp.Key());
            if (stored != dispsStored_.end() && stored->second.OverLayLevel() != disp.OverLayLevel())
                disp.UpDates(2);
        }
    }
    return saved;
}

void DataWindowControl::pointAppended()
{
    const clsTz4DataSet* record = measurement_ ? &measurement_->record() : selected();
    // The common scale grows with the points while the ranges are left to the data.
    records_.RefreshParam();
    emit pointAdded(record ? record->DataCount() - 1 : -1);
}

void DataWindowControl::changed()
{
    records_.RefreshParam();
    emit analysisChanged();
}

void DataWindowControl::afterMeasurement()
{
    if (measurement_) {
        // A record stored by the measurement is found under its new number.
        records_.Rekey(&measurement_->record());
        select(&measurement_->record());
    }
    if (measurement_ && measurement_->record().SeqNo() > 0 && !recordMissing(measurement_->record()))
        measurement_->record().ReLoad();
    records_.RefreshParam();
    emit recordsChanged();
}

} // namespace tz4
