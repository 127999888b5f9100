#pragma once

#include <QAbstractItemModel>
#include <QAbstractItemModelTester>
#include <QList>
#include <QPointer>

#include <memory>

namespace tz4::test {

// Keeps Qt's model checker on the models of a window for as long as a test drives it: every
// row, column and data change a view is told of is checked at once, and a model that breaks
// the rules views rely on aborts the test with Qt's reason.
class ModelWatch {
public:
    void watch(QAbstractItemModel* model)
    {
        if (model)
            testers_.push_back(std::make_unique<QAbstractItemModelTester>(
                model, QAbstractItemModelTester::FailureReportingMode::Fatal));
    }
    void clear() { testers_.clear(); }

private:
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers_;
};

} // namespace tz4::test
