#include "core/DataDirectory.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Failures that the code under test logs go to a Caution.log of its own, never the user's.
class DataDirectoryEnvironment : public ::testing::Environment {
public:
    void SetUp() override { tz4::setDataDirectory(dir_.path()); }

private:
    QTemporaryDir dir_;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new DataDirectoryEnvironment);

} // namespace
