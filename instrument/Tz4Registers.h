#pragma once

#include <QString>

#include <optional>

namespace tz4 {

class Tz4Link;
struct Register;

// The values last read from or written to the instrument's registers.
struct RegisterValues {
    qint16 measTime = 10;
    qint16 eyeris = 0;
    qint16 lightRange = 0;
    bool airChack = false;
    qint16 cpsValue = 0;
    bool elBalve = false;
    bool gridVolts = false;
    qint16 led = 0; // both units' LEDs share it
    qint16 fan = 0;
    float airValue = 0;
    float diodeVolts = 0;
    float lightWave = 0;
    float qlVolts = 0;
    float qhVolts = 0;
    float shVolts = 0;
    float stageTenths = 0;
    qint16 hvVolts = 0;
    qint16 filter = 0;
    bool door = false;
};

// The register file: each property reads or writes one row of the register table over the
// link and holds the value; a read-once register asks the instrument only the first time.
class Tz4Registers {
public:
    explicit Tz4Registers(Tz4Link& link) : link_(link) {}

    // The held values; the sequences correct them after a move.
    RegisterValues& held() { return held_; }
    const RegisterValues& held() const { return held_; }

    qint16 MeasTime();
    void setMeasTime(qint16 seconds);
    qint16 Eyeris();
    void setEyeris(qint16 value);
    qint16 LightRange();
    void setLightRange(qint16 value);
    bool AirChack();
    void setAirChack(bool on);
    // Waits ten seconds per second of counting unless the time-out in force allows more.
    qint16 CpsValue();
    bool ElBalve();
    void setElBalve(bool on);
    bool GridVolts();
    void setGridVolts(bool on);
    qint16 Led(qint16 Bodys);
    void setLed(qint16 Bodys, qint16 value);
    qint16 Fan(qint16 Bodys);
    float AirValue();
    void setAirValue(float value);
    float DiodeVolts();
    float LightWave();
    // The grating is always approached from above.
    void setLightWave(float nm);
    float QL_Volts();
    float QH_Volts();
    float SH_Volts();
    float StageX();
    void setStageX(float position);
    qint16 HV_Volts();
    void setHV_Volts(qint16 volts);
    qint16 Filter();
    void setFilter(qint16 position);
    bool Door();
    // The photon energy of the held wavelength; 0 before any is known.
    float Energen() const;
    void setEnergen(float eV);
    // The held values as a crash report lists them.
    QString ClushParameter() const;

private:
    std::optional<double> ask(const Register& r);
    template <typename T>
    T read(const Register& r, T& held, bool& alreadyRead);
    template <typename T>
    T read(const Register& r, T& held);
    template <typename T>
    void write(const Register& r, T& held, T value);

    struct ReadOnce {
        bool measTime = false, eyeris = false, lightRange = false, airChack = false,
             elBalve = false, gridVolts = false, led = false, airValue = false, stageX = false,
             hvVolts = false;
    };

    Tz4Link& link_;
    RegisterValues held_;
    ReadOnce once_;
};

} // namespace tz4
