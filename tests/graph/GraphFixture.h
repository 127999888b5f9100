#pragma once

#include "data/Tz4DataSets.h"
#include "graph/GraphColor.h"
#include "graph/PlotFile.h"
#include "graph/Tz4Graph.h"

#include <QImage>

#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

namespace tz4::test {

// A graph over records whose points the test chooses, painted into 96-dpi images
// (15 twips to the pixel).
class GraphFixture : public ::testing::Test {
protected:
    static constexpr double kTwipsPerPixel = 15;

    void SetUp() override
    {
        graph.setDataItems(&items);
        graph.setDispItems(&disps);
        disp = disps.Add(QStringLiteral("W"), QString());
    }

    // A W record plotted as given: raw values, no stored range unless set.
    clsTz4DataSet* addRecord(const QString& key, const std::vector<std::pair<float, float>>& points)
    {
        clsTz4DataSet* record = items.Add(key, QString());
        record->setExpLog(false);
        record->setDataCount(int(points.size()));
        for (size_t i = 0; i < points.size(); ++i) {
            record->setOrgValueX(points[i].first, int(i));
            record->setOrgValueY(points[i].second, int(i));
        }
        for (int type = 0; type < 3; ++type) {
            record->setGraphX(type, 0);
            record->setGraphY(type, 0);
        }
        record->Refresh();
        items.RefreshParam();
        return record;
    }

    void setRange(clsTz4DataSet* record, std::array<float, 3> x, std::array<float, 3> y)
    {
        for (int type = 0; type < 3; ++type) {
            record->setGraphX(type, x[size_t(type)]);
            record->setGraphY(type, y[size_t(type)]);
        }
        items.RefreshParam();
    }

    QImage render(QSize size = QSize(960, 600)) { return renderPlotImage(graph, size); }

    // The pixel under a surface position in twips.
    static QColor at(const QImage& image, double xTwips, double yTwips)
    {
        return image.pixelColor(int(xTwips / kTwipsPerPixel), int(yTwips / kTwipsPerPixel));
    }

    // True when the colour lies on the pixel under a position or on one next to it (a thin
    // line may be rasterised one pixel aside).
    static bool near(const QImage& image, double xTwips, double yTwips, const QColor& c)
    {
        const int px = int(xTwips / kTwipsPerPixel);
        const int py = int(yTwips / kTwipsPerPixel);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (image.valid(px + dx, py + dy) && image.pixelColor(px + dx, py + dy) == c)
                    return true;
        return false;
    }

    static QColor color(qint32 bgr) { return colorFromBgr(bgr); }

    // Pixels of a colour inside (or outside) a rectangle given in twips.
    static int countColor(const QImage& image, const QColor& c, const QRectF& twips, bool inside)
    {
        const QRect r(int(twips.left() / kTwipsPerPixel), int(twips.top() / kTwipsPerPixel),
                      int(twips.width() / kTwipsPerPixel), int(twips.height() / kTwipsPerPixel));
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (r.contains(x, y) == inside && image.pixelColor(x, y) == c)
                    ++n;
        return n;
    }

    clsTz4DataSets items;
    clsTz4GraphDisps disps;
    clsTz4GraphDisp* disp = nullptr;
    uclTz4Graph graph;
};

} // namespace tz4::test
