// One search over one scan, longer than most files: its running sums and fits serve only the
// search below them and read best beside it.
#include "data/SuggestRanges.h"

#include "core/RecordParameters.h"
#include "data/Tz4DataSet.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>
#include <optional>
#include <vector>

namespace tz4 {

namespace {

constexpr int MinimumPoints = 8;
constexpr int MinimumGround = 3;
constexpr int MinimumFit = 5;
constexpr int Iterations = 6;
// The ground stops this many steps short of the threshold, clear of its foot.
constexpr double GroundMargin = 2;
// A fit line must rise this many standard errors of its gradient to count as a threshold.
constexpr double RiseSignificance = 5;
// The curvature of the plotted yield is measured over this much energy above the threshold.
constexpr double CurvatureSpan = 1.0;
// ... and counts only when it stands this many standard errors clear of the noise.
constexpr double CurvatureSignificance = 3;

struct Window {
    int first = 0;
    int last = 0;
    double workFunction = 0;
    double score = std::numeric_limits<double>::max();
};

// Running sums over the points in energy order, so that any contiguous stretch is fitted and
// judged in constant time.
class Sums {
public:
    Sums(const std::vector<double>& x, const std::vector<double>& y, const std::vector<double>& variance)
        : rows_(x.size() + 1)
    {
        for (size_t k = 0; k < x.size(); ++k) {
            // Unusable points (infinite variance) never lie inside a stretch; keep the sums finite.
            const bool usable = std::isfinite(variance[k]);
            const double w = usable ? 1 / variance[k] : 0, v = usable ? variance[k] : 0;
            const Row add{1, x[k], x[k] * x[k], y[k], x[k] * y[k], w, w * x[k], w * x[k] * x[k], w * y[k],
                          w * x[k] * y[k], w * y[k] * y[k], v, v * x[k], v * x[k] * x[k]};
            for (size_t c = 0; c < Columns; ++c)
                rows_[k + 1][c] = rows_[k][c] + add[c];
        }
    }
    enum { N, X, XX, Y, XY, W, WX, WXX, WY, WXY, WYY, V, VX, VXX, Columns };
    double of(int column, int first, int last) const
    {
        return rows_[size_t(last) + 1][size_t(column)] - rows_[size_t(first)][size_t(column)];
    }

private:
    using Row = std::array<double, Columns>;
    std::vector<Row> rows_;
};

struct Quadratic {
    std::array<double, 3> c{};  // y = c0 + c1 u + c2 u^2
    double c2Error = 0;         // standard error of c2 from the scatter about the curve
};

// Least squares, or nothing for a singular set or one too small to judge its scatter.
std::optional<Quadratic> quadratic(const std::vector<double>& u, const std::vector<double>& y)
{
    if (u.size() < 4)
        return std::nullopt;
    double s[5] = {}, t[3] = {};
    for (size_t k = 0; k < u.size(); ++k) {
        double p = 1;
        for (int e = 0; e < 5; ++e, p *= u[k])
            s[e] += p;
        t[0] += y[k];
        t[1] += u[k] * y[k];
        t[2] += u[k] * u[k] * y[k];
    }
    const double a[3][3] = {{s[0], s[1], s[2]}, {s[1], s[2], s[3]}, {s[2], s[3], s[4]}};
    auto det = [](const double m[3][3]) {
        return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
               m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    };
    const double d = det(a);
    if (!(std::abs(d) > 0))
        return std::nullopt;
    std::array<double, 3> c{};
    for (int col = 0; col < 3; ++col) {
        double m[3][3];
        for (int r = 0; r < 3; ++r)
            for (int k = 0; k < 3; ++k)
                m[r][k] = k == col ? t[r] : a[r][k];
        c[size_t(col)] = det(m) / d;
    }
    double squares = 0;
    for (size_t k = 0; k < u.size(); ++k) {
        const double r = y[k] - c[0] - c[1] * u[k] - c[2] * u[k] * u[k];
        squares += r * r;
    }
    const double scatter = squares / double(u.size() - 3);
    return Quadratic{c, std::sqrt(scatter * (s[0] * s[2] - s[1] * s[1]) / d)};
}

class Search {
public:
    explicit Search(const clsTz4DataSet& source) : record_(source)
    {
        const int count = source.DataCount();
        order_.resize(size_t(count));
        std::iota(order_.begin(), order_.end(), 0);
        std::stable_sort(order_.begin(), order_.end(),
                         [&](int a, int b) { return source.OrgValueX(a) < source.OrgValueX(b); });
        for (int index : order_)
            energy_.push_back(source.OrgValueX(index));
        step_ = count >= 2 ? (energy_.back() - energy_.front()) / (count - 1) : 0;
        power_ = source.Parameters(param::PowerNumber).toDouble();
        powered_ = source.ExpLog() && power_ > 0 && power_ < 2;
        readings_ = int(std::lround(source.Parameters(param::CountingTime).toDouble()));
        background_ = std::max(0.0, source.Parameters(param::BackgroundCps).toDouble());
    }

    SuggestedRanges run()
    {
        SuggestedRanges out;
        const int count = int(energy_.size());
        if (record_.Kind() != clsTz4DataSet::KindW) {
            out.refusal = QStringLiteral("ranges are suggested for work-function records only");
            return out;
        }
        if (count < MinimumPoints) {
            out.refusal = QStringLiteral("the record has %1 points; suggesting ranges needs at least %2")
                              .arg(count)
                              .arg(MinimumPoints);
            return out;
        }
        if (!(step_ > 0)) {
            out.refusal = QStringLiteral("all points lie at one energy");
            return out;
        }

        int groundEnd = MinimumGround - 1;
        std::optional<double> threshold;
        Window best;
        for (int round = 0; round < Iterations; ++round) {
            prepare(groundEnd, threshold);
            const auto window = bestWindow(groundEnd + 1, threshold);
            if (!window) {
                out.refusal = QStringLiteral("no threshold in the scanned range: the yield never rises above the ground "
                                             "as a straight line");
                return out;
            }
            best = *window;
            int newEnd = -1;
            while (newEnd + 1 < best.first && energy_[size_t(newEnd + 1)] < best.workFunction - GroundMargin * step_)
                ++newEnd;
            if (newEnd + 1 < MinimumGround) {
                out.refusal = QStringLiteral("no ground in the scanned range: the yield already rises at the first "
                                             "points; start the scan lower");
                return out;
            }
            threshold = best.workFunction;
            if (newEnd == groundEnd && round > 0)
                break;
            groundEnd = newEnd;
        }

        out.ground = {float(energy_.front()), float(energy_[size_t(groundEnd)])};
        out.fit = {float(energy_[size_t(best.first)]), float(energy_[size_t(best.last)])};
        ApplyRanges(record_, out.ground, out.fit);
        const QString missing = MissingForResult(record_);
        if (!missing.isEmpty()) {
            out.refusal = missing;
            return out;
        }
        out.found = true;
        out.workFunction = record_.WorkFunction();
        out.uncertainty = record_.WorkFunctionUncertainty();
        return out;
    }

private:
    // Plotted values and their counting noise with the ground range ending at `groundEnd`.
    void prepare(int groundEnd, std::optional<double> threshold)
    {
        ApplyRanges(record_, {float(energy_.front()), float(energy_[size_t(groundEnd)])}, {});
        const size_t count = energy_.size();
        const double level = record_.GroundLevel();
        groundPlotted_ = record_.GndDown() ? 0.0 : level;
        const double ground = record_.GndDown() && level > 0 ? (powered_ ? std::pow(level, 1 / power_) : level) : 0.0;

        // Without a counting time, the scatter of the ground points stands for the background noise.
        double groundVariance = 0;
        if (readings_ < 2) {
            double sum = 0, squares = 0;
            for (int k = 0; k <= groundEnd; ++k) {
                const double y = record_.OrgValueY(order_[size_t(k)]);
                sum += y;
                squares += y * y;
            }
            const int m = groundEnd + 1;
            groundVariance = std::max(1.0, (squares - sum * sum / m) / std::max(1, m - 1));
        }

        x_.assign(count, 0);
        y_.assign(count, 0);
        variance_.assign(count, std::numeric_limits<double>::infinity());
        for (size_t k = 0; k < count; ++k) {
            const int index = order_[k];
            x_[k] = energy_[k] - energy_.front();
            y_[k] = record_.ValueY(index);
            const double net = record_.OrgValueY(index);
            const double linear = powered_ ? (y_[k] > 0 ? std::pow(y_[k], 1 / power_) : 0.0) : y_[k];
            if (!(linear > 0))
                continue;
            const double correction = net > 0 ? (linear + ground) / net : 1.0;
            const double counts = readings_ >= 2 ? (std::max(net, 0.0) + 2 * background_) / (readings_ - 1)
                                                 : groundVariance + std::max(net, 0.0);
            const double sigma = correction * std::sqrt(std::max(counts, 1e-12));
            const double slope = powered_ ? power_ * std::pow(linear, power_ - 1) : 1.0;
            variance_[k] = slope * slope * sigma * sigma;
        }

        // How the plotted yield bends over the first electronvolt above the threshold: a line fitted
        // to a bent stretch misses the threshold by an amount that grows with the stretch.
        curvature_ = 0;
        if (threshold) {
            std::vector<double> u, y;
            for (size_t k = 0; k < count; ++k) {
                const double above = energy_[k] - *threshold;
                if (above >= 0 && above <= CurvatureSpan && y_[k] > 0 && std::sqrt(variance_[k]) < 0.2 * y_[k]) {
                    u.push_back(above);
                    y.push_back(y_[k]);
                }
            }
            if (u.size() >= 6) {
                // A bend the noise could make is no bend: penalising it would only shorten the fit.
                const auto q = quadratic(u, y);
                if (q && q->c[1] > 0 && std::abs(q->c[2]) > CurvatureSignificance * q->c2Error)
                    curvature_ = q->c[2] / q->c[1];
            }
        }
    }

    // The stretch above `from` with the smallest expected error among those whose scatter the
    // counting noise explains and that rise clearly.
    std::optional<Window> bestWindow(int from, std::optional<double> threshold) const
    {
        const int count = int(x_.size());
        const Sums sums(x_, y_, variance_);
        std::optional<Window> best;
        for (int i = from; i < count; ++i) {
            if (!std::isfinite(variance_[size_t(i)]))
                continue;
            for (int j = i + 1; j < count && std::isfinite(variance_[size_t(j)]); ++j) {
                const int m = j - i + 1;
                if (m < MinimumFit)
                    continue;
                const double sx = sums.of(Sums::X, i, j), sxx = sums.of(Sums::XX, i, j);
                const double sy = sums.of(Sums::Y, i, j), sxy = sums.of(Sums::XY, i, j);
                const double d = m * sxx - sx * sx;
                if (!(d > 0))
                    continue;
                const double b = (m * sxy - sy * sx) / d;
                const double a = (sy * sxx - sxy * sx) / d;
                if (!(b > 0))
                    continue;
                const double chi2 = sums.of(Sums::WYY, i, j) - 2 * a * sums.of(Sums::WY, i, j) -
                                    2 * b * sums.of(Sums::WXY, i, j) + a * a * sums.of(Sums::W, i, j) +
                                    2 * a * b * sums.of(Sums::WX, i, j) + b * b * sums.of(Sums::WXX, i, j);
                const int dof = m - 2;
                if (chi2 > dof + 2 * std::sqrt(2.0 * dof))
                    continue;
                const double v0 = sums.of(Sums::V, i, j), v1 = sums.of(Sums::VX, i, j), v2 = sums.of(Sums::VXX, i, j);
                const double gradientVariance = (m * m * v2 - 2 * m * sx * v1 + sx * sx * v0) / (d * d);
                if (b * b < RiseSignificance * RiseSignificance * gradientVariance)
                    continue;
                const double phi = (groundPlotted_ - a) / b;
                // d(phi)/d(y_k) = c0 + c1 x_k for every point of the stretch.
                const double c0 = -(sxx - phi * sx) / (d * b), c1 = -(phi * m - sx) / (d * b);
                double score = c0 * c0 * v0 + 2 * c0 * c1 * v1 + c1 * c1 * v2;
                if (threshold && curvature_ != 0) {
                    const double lo = energy_[size_t(i)] - *threshold, hi = energy_[size_t(j)] - *threshold;
                    const double stretch = 1 + curvature_ * (lo + hi);
                    if (stretch > 0.1) {
                        const double bias = curvature_ * (lo * lo + 4 * lo * hi + hi * hi) / 6 / stretch;
                        score += bias * bias;
                    }
                }
                if (!best || score < best->score)
                    best = Window{i, j, phi + energy_.front(), score};
            }
        }
        return best;
    }

    clsTz4DataSet record_;
    std::vector<int> order_;
    std::vector<double> energy_;
    double step_ = 0;
    double power_ = 1;
    bool powered_ = false;
    int readings_ = 0;
    double background_ = 0;
    double groundPlotted_ = 0;
    double curvature_ = 0;
    std::vector<double> x_, y_, variance_;
};

} // namespace

SuggestedRanges SuggestRanges(const clsTz4DataSet& record)
{
    return Search(record).run();
}

} // namespace tz4
