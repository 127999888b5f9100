#include "core/DataDirectory.h"
#include "core/SystemParam.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Failures that the code under test logs go to a Caution.log of its own, never the user's;
// system parameters start from their defaults.
class DataDirectoryEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        tz4::setDataDirectory(dir_.path());
        tz4::InitSystemParam(); // the program's date pattern, as records write it
    }

private:
    QTemporaryDir dir_;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new DataDirectoryEnvironment);

} // namespace
