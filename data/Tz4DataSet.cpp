#include "data/Tz4DataSet.h"

#include "core/Keys.h"
#include "core/RecordParameters.h"

namespace tz4 {

namespace {

const QString kLetters = QStringLiteral("WCLDT");

// Out-of-range types read 0 and are not written.
float readType(const std::array<float, 3>& values, int type)
{
    return type >= 0 && type < 3 ? values[size_t(type)] : 0.0f;
}

void writeType(std::array<float, 3>& values, int type, float value)
{
    if (type >= 0 && type < 3)
        values[size_t(type)] = value;
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

clsTz4DataSet::clsTz4DataSet() = default;

void clsTz4DataSet::setKey(const QString& key)
{
    key_ = key;
    kind_ = kindOfLetter(GetKeyType(key));
}

qint32 clsTz4DataSet::SeqNo() const
{
    return GetKeySeq(key_);
}

QVariant clsTz4DataSet::Parameters(int number) const
{
    switch (number) {
    case param::RecordNumber: return SeqNo();
    case param::WorkFunction: return analysis_.workFunction();
    case param::Gradient: return analysis_.gradient();
    case param::Intercept: return analysis_.intercept();
    case param::GroundLevel: return analysis_.groundLevel();
    case param::Correlation: return analysis_.correlation();
    case param::CalibrationMembers: return qint32(calibration_.memberCount());
    default: return settings_.value(number);
    }
}

// A value that does not fit the number's rule leaves the setting unchanged.
void clsTz4DataSet::setParameters(int number, const QVariant& value)
{
    if (!settings_.setValue(number, value))
        return;
    if (number >= param::FitX1 && number <= param::FitY2)
        points_.markFit(settings_.fitRect);
    if (RecordSettings::movesPlot(number))
        Refresh();
}

float clsTz4DataSet::ValueX(int index) const { return points_.read(points_.plotX, index); }
void clsTz4DataSet::setValueX(float value, int index) { points_.write(points_.plotX, index, value); }
float clsTz4DataSet::ValueY(int index) const { return points_.read(points_.plotY, index); }
void clsTz4DataSet::setValueY(float value, int index) { points_.write(points_.plotY, index, value); }
float clsTz4DataSet::OrgValueX(int index) const { return points_.read(points_.x, index); }
void clsTz4DataSet::setOrgValueX(float value, int index) { points_.write(points_.x, index, value); }
float clsTz4DataSet::OrgValueY(int index) const { return points_.read(points_.y, index); }
void clsTz4DataSet::setOrgValueY(float value, int index) { points_.write(points_.y, index, value); }
float clsTz4DataSet::ValueZ(int index) const { return points_.readZ(index); }
void clsTz4DataSet::setValueZ(float value, int index) { points_.writeZ(value, index); }
bool clsTz4DataSet::ValueF(int index) const { return points_.read(points_.fit, index) != 0; }
void clsTz4DataSet::setValueF(bool value, int index) { points_.write(points_.fit, index, char(value)); }
bool clsTz4DataSet::ValueG(int index) const { return points_.read(points_.ground, index) != 0; }
void clsTz4DataSet::setValueG(bool value, int index) { points_.write(points_.ground, index, char(value)); }
qint32 clsTz4DataSet::PointKey(int index) const { return points_.read(points_.keys, index); }

float clsTz4DataSet::DataX(int type) const { return readType(points_.rangeX, type); }
float clsTz4DataSet::DataY(int type) const { return readType(points_.rangeY, type); }
float clsTz4DataSet::GraphX(int type) const { return readType(settings_.graphX, type); }
float clsTz4DataSet::GraphY(int type) const { return readType(settings_.graphY, type); }
void clsTz4DataSet::setDataX(int type, float value) { writeType(points_.rangeX, type, value); }
void clsTz4DataSet::setDataY(int type, float value) { writeType(points_.rangeY, type, value); }
void clsTz4DataSet::setGraphX(int type, float value) { writeType(settings_.graphX, type, value); }
void clsTz4DataSet::setGraphY(int type, float value) { writeType(settings_.graphY, type, value); }

QString clsTz4DataSet::CalibDatasName(int member) const { return calibration_.memberName(member); }
QString clsTz4DataSet::CalibDatasSeqNo(int member) const { return calibration_.memberSeqNo(member); }

} // namespace tz4
