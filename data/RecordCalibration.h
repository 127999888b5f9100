#pragma once

#include <QString>

#include <utility>
#include <vector>

namespace tz4 {

// What a record takes from the records it is calibrated by: a W scan's light table from its
// adjustment record, a C record's calibration line, and a T record's (a line's) members.
class RecordCalibration {
public:
    // The adjustment record's light intensity per 0.05 eV from 3.4 eV, from its stored points
    // (energy in hundredths of an eV, intensity). No points leave the table as it was.
    void setLightPoints(const std::vector<std::pair<double, float>>& points);
    const std::vector<float>& lightTable() const { return lightTable_; }
    // The intensity at an energy; 0 outside the table, which leaves a point uncorrected.
    float lightAt(float energy) const;

    // A C record's line: thickness against the logarithm of the counting rate, fitted to the
    // line record's fit points (counting rate, thickness). No line is gradient and intercept 0.
    void fitLine(const std::vector<std::pair<float, float>>& points);
    void clearLine() { gradient_ = intercept_ = 0; }
    float lineGradient() const { return gradient_; }
    float lineIntercept() const { return intercept_; }
    // The thickness the line gives for a counting rate; 0 for none.
    float thicknessOf(float cps) const;

    // A T record's members: the records whose thicknesses make the line, numbered from 0.
    void setMembers(std::vector<std::pair<qint32, QString>> members) { members_ = std::move(members); }
    int memberCount() const { return int(members_.size()); }
    // Empty outside the list.
    QString memberName(int member) const;
    QString memberSeqNo(int member) const;

private:
    std::vector<float> lightTable_;
    float gradient_ = 0, intercept_ = 0;
    std::vector<std::pair<qint32, QString>> members_;
};

} // namespace tz4
