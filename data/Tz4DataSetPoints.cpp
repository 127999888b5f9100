#include "data/Tz4DataSet.h"

#include "core/Keys.h"

namespace tz4 {

namespace {

const QString kLetters = QStringLiteral("WCLDT");

template <typename T>
void resizeKeeping(std::vector<T>& values, int count)
{
    values.resize(size_t(count));
}

} // namespace

int clsTz4DataSet::kindOfLetter(const QString& letter)
{
    const QString upper = letter.trimmed().toUpper();
    return upper.size() == 1 ? int(kLetters.indexOf(upper)) : int(KindNone);
}

QString clsTz4DataSet::letterOfKind(int kind)
{
    return kind >= 0 && kind < kLetters.size() ? QString(kLetters[kind]) : QString();
}

clsTz4DataSet::clsTz4DataSet()
{
    setDefaults();
}

void clsTz4DataSet::setDefaults()
{
    parentKey_ = QStringLiteral("1 A");
    folderPath_.clear();
    sampleName_ = QStringLiteral("Sample");
    dataTime_ = QDateTime::currentDateTime();
    startEnergy_ = 3.4f;
    finishEnergy_ = 6.2f;
    stepEnergy_ = 0.05f;
    fixedEnergy_ = 5.9f;
    measLight_ = 0;
    setLight_ = 10;
    powerNumber_ = 0.5f;
    unitLight_ = 0;
    adjustNo_ = 0;
    backGndCps_ = 0;
    measTime_ = 10;
    volts_ = 0;
    tau_ = 0;
    thick_ = 0;
    calibThick_ = -200;
    calibName_.clear();
    measCount_ = 10;
    notes_ = {};
    graphX_ = {};
    graphY_ = {};
}

void clsTz4DataSet::setKey(const QString& key)
{
    key_ = key;
    kind_ = kindOfLetter(GetKeyType(key));
}

qint32 clsTz4DataSet::SeqNo() const
{
    return GetKeySeq(key_);
}

void clsTz4DataSet::resizeArrays(int count)
{
    resizeKeeping(pointKeys_, count);
    resizeKeeping(dataX_, count);
    resizeKeeping(dataY_, count);
    resizeKeeping(plotX_, count);
    resizeKeeping(plotY_, count);
    resizeKeeping(gFlags_, count);
    resizeKeeping(fFlags_, count);
    if (kind_ == KindC || kind_ == KindD)
        resizeKeeping(zValues_, count);
}

void clsTz4DataSet::setDataCount(int count)
{
    if (count < 0)
        return;
    dataCount_ = count;
    dataIndex_ = count - 1;
    if (count > 0)
        resizeArrays(count);
}

void clsTz4DataSet::setDataIndex(int index)
{
    if (index >= 0 && index < dataCount_)
        dataIndex_ = index;
}

void clsTz4DataSet::MoveFirst()
{
    dataIndex_ = 0;
    bof_ = true;
    eof_ = false;
}

void clsTz4DataSet::MoveLast()
{
    dataIndex_ = dataCount_ - 1;
    bof_ = false;
    eof_ = true;
}

void clsTz4DataSet::MoveNext()
{
    if (dataIndex_ < dataCount_ - 1)
        ++dataIndex_;
    if (dataIndex_ == dataCount_ - 1) {
        bof_ = false;
        eof_ = true;
    }
}

int clsTz4DataSet::pointIndex(int index) const
{
    return index >= 0 && index < int(dataX_.size()) ? index : dataIndex_;
}

namespace {

// Out-of-range reads give 0 and out-of-range writes are ignored.
template <typename Values>
typename Values::value_type readAt(const Values& values, int i)
{
    return i >= 0 && i < int(values.size()) ? values[size_t(i)] : typename Values::value_type{};
}

template <typename Values>
void writeAt(Values& values, int i, typename Values::value_type value)
{
    if (i >= 0 && i < int(values.size()))
        values[size_t(i)] = value;
}

} // namespace

float clsTz4DataSet::ValueX(int index) const { return readAt(plotX_, pointIndex(index)); }
void clsTz4DataSet::setValueX(float value, int index) { writeAt(plotX_, pointIndex(index), value); }
float clsTz4DataSet::ValueY(int index) const { return readAt(plotY_, pointIndex(index)); }
void clsTz4DataSet::setValueY(float value, int index) { writeAt(plotY_, pointIndex(index), value); }
float clsTz4DataSet::OrgValueX(int index) const { return readAt(dataX_, pointIndex(index)); }
void clsTz4DataSet::setOrgValueX(float value, int index) { writeAt(dataX_, pointIndex(index), value); }
float clsTz4DataSet::OrgValueY(int index) const { return readAt(dataY_, pointIndex(index)); }
void clsTz4DataSet::setOrgValueY(float value, int index) { writeAt(dataY_, pointIndex(index), value); }
bool clsTz4DataSet::ValueF(int index) const { return readAt(fFlags_, pointIndex(index)) != 0; }
void clsTz4DataSet::setValueF(bool value, int index) { writeAt(fFlags_, pointIndex(index), char(value)); }
bool clsTz4DataSet::ValueG(int index) const { return readAt(gFlags_, pointIndex(index)) != 0; }
void clsTz4DataSet::setValueG(bool value, int index) { writeAt(gFlags_, pointIndex(index), char(value)); }
qint32 clsTz4DataSet::PointKey(int index) const { return readAt(pointKeys_, pointIndex(index)); }

// The second value has its own array, sized only for the kinds that hold one per point.
float clsTz4DataSet::ValueZ(int index) const
{
    const int i = index >= 0 && index < int(zValues_.size()) ? index : dataIndex_;
    return readAt(zValues_, i);
}

void clsTz4DataSet::setValueZ(float value, int index)
{
    const int i = index >= 0 && index < int(zValues_.size()) ? index : dataIndex_;
    writeAt(zValues_, i, value);
}

float clsTz4DataSet::DataX(int type) const { return readAt(rangeX_, type); }
float clsTz4DataSet::DataY(int type) const { return readAt(rangeY_, type); }
float clsTz4DataSet::GraphX(int type) const { return readAt(graphX_, type); }
float clsTz4DataSet::GraphY(int type) const { return readAt(graphY_, type); }
void clsTz4DataSet::setDataX(int type, float value) { writeAt(rangeX_, type, value); }
void clsTz4DataSet::setDataY(int type, float value) { writeAt(rangeY_, type, value); }
void clsTz4DataSet::setGraphX(int type, float value) { writeAt(graphX_, type, value); }
void clsTz4DataSet::setGraphY(int type, float value) { writeAt(graphY_, type, value); }

QString clsTz4DataSet::CalibDatasName(int member) const
{
    return member >= 0 && member < int(members_.size()) ? members_[size_t(member)].second : QString();
}

QString clsTz4DataSet::CalibDatasSeqNo(int member) const
{
    return member >= 0 && member < int(members_.size()) ? QString::number(members_[size_t(member)].first) : QString();
}

} // namespace tz4
