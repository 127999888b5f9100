#pragma once

#include <QVariant>

namespace tz4 {

// What a measurement procedure sees of the record it fills: the record's numbered parameters.
// The measurement record implements it, so neither the instrument nor the database layer needs the other.
// An invalid QVariant means "no value" (a number the record does not answer).
class MeasurementParameters {
public:
    virtual ~MeasurementParameters() = default;
    virtual QVariant parameter(int number) const = 0;
    virtual void setParameter(int number, const QVariant& value) = 0;
};

} // namespace tz4
