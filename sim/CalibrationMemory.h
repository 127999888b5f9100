#pragma once

#include <QByteArray>

#include <array>
#include <optional>

namespace tz4::sim {

class LightModel;

// The light unit's EEPROM: 256 words of four characters behind an address pointer that every
// read or write advances. Numbers wider than one word are stored as two consecutive words.
class CalibrationMemory {
public:
    static constexpr int kWords = 256;
    static constexpr int kDeadTimeAddress = 0;
    static constexpr int kPositionsAddress = 2; // sample, spare, photodiode, spare, carbon, spare, out, spare
    static constexpr int kSpareWordAddress = 12;
    static constexpr int kRangeGainAddress = 16; // ranges 1..9, two words each
    static constexpr int kSensitivityAddress = 64; // 3.40 eV upwards in 0.05 eV steps, two words each
    static constexpr int kSensitivityEntries = 59;

    CalibrationMemory(); // erased: every word reads "FFFF"

    // The contents written at the factory for this light unit and stage.
    static CalibrationMemory factory(const LightModel& light, double deadTime);

    bool setAddress(int address);
    int address() const { return address_; }
    // Word at the pointer, then advance; empty when the pointer has run off the end.
    std::optional<QByteArray> read();
    bool write(const QByteArray& word);

    QByteArray word(int address) const { return words_[address]; }
    void store(int address, const QByteArray& word);
    // Stores an eight-character number in two words.
    void storeNumber(int address, double value);

    // `value` written in exactly eight characters with as many decimals as fit ("0.000050",
    // "25.12000").
    static QByteArray eightCharNumber(double value);

private:
    std::array<QByteArray, kWords> words_;
    int address_ = 0;
};

// The light unit's span memory: fifteen values addressed 00..14 (minimum power of records 0..4,
// maximum power of records 0..4, light range of records 0..4), kept as the text written.
class SpanMemory {
public:
    static constexpr int kSlots = 15;

    SpanMemory(); // all zero, as after a cancelled set-up

    // What a completed light set-up at `energy` leaves behind on this light unit.
    static SpanMemory factory(const LightModel& light, double energy);

    bool select(int slot);
    QByteArray read() const { return slots_[slot_]; }
    void write(const QByteArray& value) { slots_[slot_] = value; }
    QByteArray value(int slot) const { return slots_[slot]; }

private:
    std::array<QByteArray, kSlots> slots_;
    int slot_ = 0;
};

} // namespace tz4::sim
