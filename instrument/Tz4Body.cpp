#include "instrument/Tz4Body.h"

#include "instrument/ReadOnlyProperty.h"

#include "core/ErrorLocation.h"
#include "core/Formats.h"

namespace tz4 {

uclTz4Body::uclTz4Body(Clock& clock, SerialLine& line, QObject* parent)
    : QObject(parent),
      link_(clock, line),
      registers_(link_),
      sequences_(link_, registers_, calibration_),
      light_(link_, registers_, sequences_, calibration_),
      lightProcedures_(link_, registers_, sequences_, light_, datas_, forward(&uclTz4Body::ProcSetLight),
                       forward(&uclTz4Body::ProcBase)),
      anodeVoltage_(link_, registers_, sequences_, light_, datas_, forward(&uclTz4Body::ProcVolts)),
      procedures_(link_, registers_, sequences_, light_, datas_,
                  {forward(&uclTz4Body::ProcWork), forward(&uclTz4Body::ProcLight), forward(&uclTz4Body::ProcCps),
                   forward(&uclTz4Body::ProcThick)})
{
    link_.setHandlers([this](const QString& text) { emit ReceiveData(text); },
                      [this](qint32 style, qint32 number) { emit ReceiveError(style, number); },
                      [this] { sequences_.countDownWarmUp(); });
}

uclTz4Body::~uclTz4Body() = default;

ProcEvent uclTz4Body::forward(void (uclTz4Body::*signal)(qint32, const QVariant&, const QVariant&))
{
    return [this, signal](qint32 type, const QVariant& value1, const QVariant& value2) {
        emit(this->*signal)(type, value1, value2);
    };
}

QString uclTz4Body::ChkPointDelim(const QString& text) const
{
    EnterProcedure here("uclTz4Body:ChkPointDelim");
    return chkPointDelim(text);
}

QString uclTz4Body::UncheckPointDelim(const QString& text) const
{
    EnterProcedure here("uclTz4Body:UncheckPointDelim");
    return uncheckPointDelim(text);
}

// clang-format off
qint16 uclTz4Body::MeasTime() { return registers_.MeasTime(); }
void uclTz4Body::setMeasTime(qint16 seconds) { registers_.setMeasTime(seconds); }
qint16 uclTz4Body::Eyeris() { return registers_.Eyeris(); }
void uclTz4Body::setEyeris(qint16 value) { registers_.setEyeris(value); }
qint16 uclTz4Body::LightRange() { return registers_.LightRange(); }
void uclTz4Body::setLightRange(qint16 value) { registers_.setLightRange(value); }
bool uclTz4Body::AirChack() { return registers_.AirChack(); }
void uclTz4Body::setAirChack(bool on) { registers_.setAirChack(on); }
qint16 uclTz4Body::CpsValue() { return registers_.CpsValue(); }
void uclTz4Body::setCpsValue(qint16) { readOnly("uclTz4Body:CpsValue(Let)"); }
bool uclTz4Body::ElBalve() { return registers_.ElBalve(); }
void uclTz4Body::setElBalve(bool on) { registers_.setElBalve(on); }
bool uclTz4Body::GridVolts() { return registers_.GridVolts(); }
void uclTz4Body::setGridVolts(bool on) { registers_.setGridVolts(on); }
qint16 uclTz4Body::Led(qint16 Bodys) { return registers_.Led(Bodys); }
void uclTz4Body::setLed(qint16 Bodys, qint16 value) { registers_.setLed(Bodys, value); }
qint16 uclTz4Body::Fan(qint16 Bodys) { return registers_.Fan(Bodys); }
void uclTz4Body::setFan(qint16, qint16) { readOnly("uclTz4Body:Fan(Let)"); }
float uclTz4Body::AirValue() { return registers_.AirValue(); }
void uclTz4Body::setAirValue(float value) { registers_.setAirValue(value); }
float uclTz4Body::DiodeVolts() { return registers_.DiodeVolts(); }
void uclTz4Body::setDiodeVolts(float) { readOnly("uclTz4Body:DiodeVolts(Let)"); }
float uclTz4Body::LightWave() { return registers_.LightWave(); }
void uclTz4Body::setLightWave(float nm) { registers_.setLightWave(nm); }
float uclTz4Body::QL_Volts() { return registers_.QL_Volts(); }
void uclTz4Body::setQL_Volts(float) { readOnly("uclTz4Body:QL_Volts(Let)"); }
float uclTz4Body::QH_Volts() { return registers_.QH_Volts(); }
void uclTz4Body::setQH_Volts(float) { readOnly("uclTz4Body:QH_Volts(Let)"); }
float uclTz4Body::SH_Volts() { return registers_.SH_Volts(); }
void uclTz4Body::setSH_Volts(float) { readOnly("uclTz4Body:SH_Volts(Let)"); }
float uclTz4Body::StageX() { return registers_.StageX(); }
void uclTz4Body::setStageX(float position) { registers_.setStageX(position); }
qint16 uclTz4Body::HV_Volts() { return registers_.HV_Volts(); }
void uclTz4Body::setHV_Volts(qint16 volts) { registers_.setHV_Volts(volts); }
qint16 uclTz4Body::Filter() { return registers_.Filter(); }
void uclTz4Body::setFilter(qint16 position) { registers_.setFilter(position); }
bool uclTz4Body::Door() { return registers_.Door(); }
void uclTz4Body::setDoor(bool) { readOnly("uclTz4Body:Door(Let)"); }
float uclTz4Body::Energen() const { return registers_.Energen(); }
void uclTz4Body::setEnergen(float eV) { registers_.setEnergen(eV); }
void uclTz4Body::setSumLost(float tau) { sequences_.setSumLost(tau); }
float uclTz4Body::LightRangeAdjust(qint16 Range) const { return light_.LightRangeAdjust(Range); }
void uclTz4Body::setLightRangeAdjust(qint16, float) { readOnly("uclTz4Body:LightRangeAdjust(Let)"); }
float uclTz4Body::PhotoDiodeAdjust(float Eng) const { return light_.PhotoDiodeAdjust(Eng); }
void uclTz4Body::setPhotoDiodeAdjust(float, float) { readOnly("uclTz4Body:PhotoDiodeAdjust(Let)"); }
QString uclTz4Body::ClushParameter() const { return registers_.ClushParameter(); }
bool uclTz4Body::Connected() { return sequences_.Connected(); }
void uclTz4Body::setConnected(bool) { readOnly("uclTz4Body:Connected(Let)"); }
QString uclTz4Body::Diag(qint16 Body) { return sequences_.Diag(Body); }
void uclTz4Body::InitBody() { sequences_.InitBody(); }
void uclTz4Body::Refresh() { sequences_.Refresh(); }
qint16 uclTz4Body::WarmUpTime() const { return sequences_.WarmUpTime(); }
void uclTz4Body::setWarmUpTime(qint16) { readOnly("uclTz4Body:WarmUpTime(Let)"); }
void uclTz4Body::InitEyeris() { sequences_.InitEyeris(); }
void uclTz4Body::LimitEyeris() { sequences_.LimitEyeris(); }
void uclTz4Body::InitFilter() { sequences_.InitFilter(); }
void uclTz4Body::InitLight() { sequences_.InitLight(); }
void uclTz4Body::InitStageX() { sequences_.InitStageX(); }
void uclTz4Body::LimitStageX() { sequences_.LimitStageX(); }
void uclTz4Body::StageToPhotoDiode() { sequences_.StageToPhotoDiode(); }
void uclTz4Body::StageToCerbon() { sequences_.StageToCerbon(); }
void uclTz4Body::StageToSample(float Offsets) { sequences_.StageToSample(Offsets); }
void uclTz4Body::StageToSampleOut() { sequences_.StageToSampleOut(); }
float uclTz4Body::LightWatt(float diode, float dark) { return light_.LightWatt(diode, dark); }
qint16 uclTz4Body::CalcLightRange(double power) { return Tz4LightModel::CalcLightRange(power); }
qint16 uclTz4Body::CalcFilter(double power) const { return light_.CalcFilter(power); }
void uclTz4Body::LightRangeToPower(double power) { light_.LightRangeToPower(power); }
void uclTz4Body::FilterToPower(double power) { light_.FilterToPower(power); }
float uclTz4Body::BackLight() { return light_.BackLight(); }
void uclTz4Body::setBackLight(float) { readOnly("uclTz4Body:BackLight(Let)"); }
float uclTz4Body::GetLightPower() { return light_.GetLightPower(); }
void uclTz4Body::SetLightPower(float Target) { lightProcedures_.SetLightPower(Target); }
void uclTz4Body::MakeLightBase(float SetUpEng) { lightProcedures_.MakeLightBase(SetUpEng); }
float uclTz4Body::SetLightMin() const { return light_.SetLightMin(); }
float uclTz4Body::SetLightMax() const { return light_.SetLightMax(); }
float uclTz4Body::SetLightSpanMin(qint16 Numbers) const { return light_.SetLightSpanMin(Numbers); }
void uclTz4Body::setSetLightSpanMin(qint16 Numbers, float power) { light_.setSetLightSpanMin(Numbers, power); }
float uclTz4Body::SetLightSpanMax(qint16 Numbers) const { return light_.SetLightSpanMax(Numbers); }
void uclTz4Body::setSetLightSpanMax(qint16 Numbers, float power) { light_.setSetLightSpanMax(Numbers, power); }
qint16 uclTz4Body::SetLightSpanRange(qint16 Numbers) const { return light_.SetLightSpanRange(Numbers); }
void uclTz4Body::setSetLightSpanRange(qint16 Numbers, qint16 range) { light_.setSetLightSpanRange(Numbers, range); }
float uclTz4Body::GetCpsAvarage(qint16 count) { return procedures_.GetCpsAvarage(count); }
void uclTz4Body::MeasCps() { procedures_.MeasCps(); }
void uclTz4Body::MeasWork() { procedures_.MeasWork(); }
void uclTz4Body::MeasAdjLight() { procedures_.MeasAdjLight(); }
void uclTz4Body::MeasThickAdjust() { procedures_.MeasThickAdjust(); }
qint16 uclTz4Body::HvSet() { return anodeVoltage_.HvSet(); }
bool uclTz4Body::EngSetStatus() const { return procedures_.EngSetStatus(); }
// clang-format on

} // namespace tz4
