#include "samples/SampleGridModel.h"

#include "core/ErrorReporter.h"
#include "core/Formats.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "core/RecordParameters.h"
#include "core/SystemParam.h"
#include "data/Tz4DataSet.h"
#include "samples/SampleListModel.h"
#include "samples/SampleTexts.h"

#include <QDate>

namespace tz4 {

namespace {

QString titled(int textId, const QString& unit = {})
{
    return unit.isEmpty() ? GetRes(textId) : GetRes(textId) + QStringLiteral(" [") + unit + QLatin1Char(']');
}

QString number(const QVariant& value, const char* picture)
{
    return formatNumber(value.toDouble(), QLatin1String(picture));
}

// A date typed as 2026-12-31 (or given by a date editor); invalid for anything else.
QDate typedDate(const QVariant& value)
{
    if (value.metaType().id() == QMetaType::QDate)
        return value.toDate();
    if (value.metaType().id() == QMetaType::QDateTime)
        return value.toDateTime().date();
    return QDate::fromString(value.toString().trimmed(), Qt::ISODate);
}

QString dateText(const QDateTime& when) { return when.isValid() ? when.date().toString(Qt::ISODate) : QString(); }

} // namespace

SampleGridModel::SampleGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void SampleGridModel::setRows(Mode mode, QList<Row> rows)
{
    beginResetModel();
    mode_ = mode;
    rows_ = std::move(rows);
    endResetModel();
}

void SampleGridModel::clear()
{
    recordKey_.clear();
    setRows(Mode::Empty, {});
}

bool SampleGridModel::showRecord(const QString& databasePath, const QString& key)
{
    clsTz4DataSet record;
    record.setDataBaseName(databasePath);
    record.setKey(key);
    if (record.Kind() == clsTz4DataSet::KindNone || record.SeqNo() < 1) {
        clear();
        return false;
    }
    record.ReLoad();
    if (!record.LoadFailure().isEmpty()) {
        clear();
        return false;
    }
    const auto value = [&record](int n) { return record.Parameters(n); };
    const int kind = record.Kind();
    QList<Row> rows;
    const auto add = [&rows](const QString& rowKey, const QString& title, const QString& shown) {
        rows.append({rowKey, title, shown, Edit::ReadOnly, {}, 0});
    };
    add(QStringLiteral("SampleName"), titled(msg::GridSampleName), value(param::SampleName).toString());
    add(QStringLiteral("Kind"), sampleText(SampleText::RecordKind), SampleListModel::recordTypeText(kind));
    add(QStringLiteral("MeasDate"), titled(msg::GridMeasureDate),
        formatDate(value(param::MeasurementDate).toDateTime(), SystemParam().DateTimeFormat));
    add(QStringLiteral("Folder"), sampleText(SampleText::FolderPath), value(param::FolderPath).toString());
    add(QStringLiteral("MeasLight"), titled(msg::GridMeasuredLight, QStringLiteral("nW")), number(value(param::MeasuredLight), "###0.0"));
    if (kind != clsTz4DataSet::KindT)
        add(QStringLiteral("SetLight"), titled(msg::GridTargetLight, QStringLiteral("nW")), number(value(param::TargetLight), "###0.0"));
    if (kind == clsTz4DataSet::KindW || kind == clsTz4DataSet::KindC) {
        const int title = kind == clsTz4DataSet::KindW ? msg::GridLightCoefficientName : msg::GridCalibrationLineName;
        add(QStringLiteral("AdjustName"), titled(title), value(param::CalibrationName).toString());
    }
    if (kind != clsTz4DataSet::KindT) {
        add(QStringLiteral("MeasTime"), titled(msg::GridCountingTime, QStringLiteral("sec")), number(value(param::CountingTime), "##0"));
        add(QStringLiteral("AnodeVolts"), titled(msg::GridAnodeVoltage, QStringLiteral("V")), number(value(param::AnodeVoltage), "###0"));
    }
    if (kind == clsTz4DataSet::KindW || kind == clsTz4DataSet::KindL) {
        add(QStringLiteral("StartEng"), titled(msg::GridStartEnergy, QStringLiteral("eV")), number(value(param::StartEnergy), "0.00"));
        add(QStringLiteral("FinishEng"), titled(msg::GridFinishEnergy, QStringLiteral("eV")), number(value(param::FinishEnergy), "0.00"));
        add(QStringLiteral("StepEng"), titled(msg::GridStep, QStringLiteral("eV")), number(value(param::EnergyStep), "0.00"));
    }
    if (kind == clsTz4DataSet::KindW) {
        add(QStringLiteral("PowerNumber"), titled(msg::GridPowerNumber), number(value(param::PowerNumber), "0.00"));
        add(QStringLiteral("WowkFunc"), titled(msg::GridWorkFunction, QStringLiteral("eV")), number(record.WorkFunction(), "0.00"));
    }
    if (kind == clsTz4DataSet::KindC || kind == clsTz4DataSet::KindD) {
        add(QStringLiteral("MeasEng"), titled(msg::GridMeasureEnergy, QStringLiteral("eV")), number(value(param::FixedEnergy), "0.00"));
        add(QStringLiteral("MeasCount"), titled(msg::GridCountingCount), number(value(param::MeasureCount), "##0"));
        add(QStringLiteral("CpsAvr"), titled(msg::GridCpsAvr), number(value(param::StatisticsFirst), "###0.0"));
    }
    if (kind == clsTz4DataSet::KindT) {
        add(QStringLiteral("Angle"), titled(msg::GridCalibGradient), number(record.Gradient(), "####0.000"));
        add(QStringLiteral("Offset"), titled(msg::GridCalibOffset), number(record.Intercept(), "###0.0"));
        const int members = value(param::CalibrationMembers).toInt();
        for (int i = 0; i < members; ++i) {
            rows.append({QStringLiteral("CalibData%1").arg(i), sampleText(SampleText::CalibrationMember, {i + 1}),
                         record.CalibDatasName(i), Edit::ReadOnly, {}, record.CalibDatasSeqNo(i).toInt()});
        }
    }
    add(QStringLiteral("Notes1"), titled(msg::GridDataNotes1), value(param::Notes1).toString());
    add(QStringLiteral("Notes2"), titled(msg::GridDataNotes2), value(param::Notes2).toString());
    add(QStringLiteral("Notes3"), titled(msg::GridDataNotes3), value(param::Notes3).toString());
    recordKey_ = record.Key();
    setRows(Mode::Record, std::move(rows));
    return true;
}

QList<SampleGridModel::Row> SampleGridModel::searchRows() const
{
    const SearchConditions& c = conditions_;
    const QStringList limits{sampleText(SampleText::SearchNoLimit), sampleText(SampleText::SearchRange),
                             sampleText(SampleText::SearchMonths), sampleText(SampleText::SearchDays)};
    QStringList kinds{sampleText(SampleText::SearchAllKinds)};
    for (int kind = clsTz4DataSet::KindW; kind <= clsTz4DataSet::KindT; ++kind)
        kinds << SampleListModel::recordTypeText(kind);
    return {
        {QStringLiteral("QuerySample"), titled(msg::GridSampleName), c.sampleName, Edit::Text, {}, 0},
        {QStringLiteral("QueryNotes"), titled(msg::GridDataNotes1), c.notes, Edit::Text, {}, 0},
        {QStringLiteral("QueryDate"), sampleText(SampleText::SearchDateLimit), limits.value(dateLimit_), Edit::Choice, limits, 0},
        {QStringLiteral("QueryStart"), sampleText(SampleText::SearchFrom), dateText(c.from), Edit::Date, {}, 0},
        {QStringLiteral("QueryFinish"), sampleText(SampleText::SearchTo), dateText(c.to), Edit::Date, {}, 0},
        {QStringLiteral("QueryMonth"), sampleText(SampleText::SearchPastMonths),
         c.pastMonths > 0 ? QString::number(c.pastMonths) : QString(), Edit::Whole, {}, 0},
        {QStringLiteral("QueryDays"), sampleText(SampleText::SearchPastDays),
         c.pastDays > 0 ? QString::number(c.pastDays) : QString(), Edit::Whole, {}, 0},
        {QStringLiteral("QueryDisp"), sampleText(SampleText::SearchKind), kinds.value(c.kindChoice), Edit::Choice, kinds, 0},
        {QStringLiteral("GoQuery"), QString(), captionText(msg::MenuSearch), Edit::Button, {}, 0},
    };
}

void SampleGridModel::showSearch()
{
    recordKey_.clear();
    setRows(Mode::Search, searchRows());
}

SearchConditions SampleGridModel::conditions() const
{
    SearchConditions c = conditions_;
    // Only the chosen way of limiting the date counts.
    if (dateLimit_ != DateRange)
        c.from = c.to = QDateTime();
    if (dateLimit_ != PastMonths)
        c.pastMonths = 0;
    if (dateLimit_ != PastDays)
        c.pastDays = 0;
    return c;
}

void SampleGridModel::setConditions(const SearchConditions& conditions)
{
    conditions_ = conditions;
    dateLimit_ = conditions.from.isValid() || conditions.to.isValid() ? DateRange
        : conditions.pastMonths > 0                                    ? PastMonths
        : conditions.pastDays > 0                                      ? PastDays
                                                                       : NoDateLimit;
    if (mode_ == Mode::Search)
        showSearch();
}

bool SampleGridModel::writeSearch(const QString& key, const QVariant& value)
{
    SearchConditions& c = conditions_;
    const QString text = value.toString();
    if (key == QLatin1String("QuerySample")) {
        c.sampleName = text;
    } else if (key == QLatin1String("QueryNotes")) {
        c.notes = text;
    } else if (key == QLatin1String("QueryDate") || key == QLatin1String("QueryDisp")) {
        bool ok = false;
        const int choice = value.toInt(&ok);
        const int count = key == QLatin1String("QueryDate") ? PastDays + 1 : clsTz4DataSet::KindT + 2;
        if (!ok || choice < 0 || choice >= count)
            return false;
        (key == QLatin1String("QueryDate") ? dateLimit_ : c.kindChoice) = choice;
    } else if (key == QLatin1String("QueryStart") || key == QLatin1String("QueryFinish")) {
        const bool start = key == QLatin1String("QueryStart");
        QDateTime& field = start ? c.from : c.to;
        if (text.trimmed().isEmpty() && value.metaType().id() != QMetaType::QDate) {
            field = QDateTime();
        } else {
            const QDate date = typedDate(value);
            if (!date.isValid()) {
                errorReporter().showMessage(sampleText(SampleText::NotADate, {text}), GetRes(msg::SearchConditionsTitle),
                                            MessageIcon::Exclamation, MessageButtons::Ok);
                return false;
            }
            // The end day counts whole.
            field = start ? QDateTime(date, QTime(0, 0)) : QDateTime(date, QTime(23, 59, 59));
        }
        dateLimit_ = DateRange;
    } else if (key == QLatin1String("QueryMonth") || key == QLatin1String("QueryDays")) {
        bool ok = true;
        const int count = text.trimmed().isEmpty() ? 0 : text.trimmed().toInt(&ok);
        if (!ok || count < 0) {
            errorReporter().showMessage(sampleText(SampleText::NotAWholeNumber, {text}), GetRes(msg::SearchConditionsTitle),
                                        MessageIcon::Exclamation, MessageButtons::Ok);
            return false;
        }
        const bool months = key == QLatin1String("QueryMonth");
        (months ? c.pastMonths : c.pastDays) = count;
        if (count > 0)
            dateLimit_ = months ? PastMonths : PastDays;
    } else {
        return false;
    }
    return true;
}

int SampleGridModel::rowOf(const QString& key) const
{
    for (qsizetype i = 0; i < rows_.size(); ++i)
        if (rows_.at(i).key == key)
            return int(i);
    return -1;
}

QString SampleGridModel::keyOf(int row) const { return row >= 0 && row < rows_.size() ? rows_.at(row).key : QString(); }

int SampleGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

int SampleGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant SampleGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_.size())
        return {};
    const Row& row = rows_.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == 0 ? row.title : row.shown;
    case Qt::EditRole:
        if (index.column() == 1 && row.edit == Edit::Choice)
            return int(row.choices.indexOf(row.shown));
        return index.column() == 0 ? row.title : row.shown;
    case RowKeyRole:
        return row.key;
    case EditRole:
        return int(row.edit);
    case ChoicesRole:
        return row.choices;
    case MemberRole:
        return row.member;
    default:
        return {};
    }
}

bool SampleGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    if (!writeSearch(rows_.at(index.row()).key, value))
        return false;
    // A choice or a date can change other rows' meaning: all rows are shown again.
    const QList<Row> rows = searchRows();
    for (qsizetype i = 0; i < rows.size() && i < rows_.size(); ++i)
        rows_[i].shown = rows.at(i).shown;
    emit dataChanged(this->index(0, 1), this->index(int(rows_.size()) - 1, 1));
    return true;
}

Qt::ItemFlags SampleGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const Edit edit = rows_.at(index.row()).edit;
    if (index.column() == 1 && edit != Edit::ReadOnly && edit != Edit::Button)
        f |= Qt::ItemIsEditable;
    return f;
}

} // namespace tz4
