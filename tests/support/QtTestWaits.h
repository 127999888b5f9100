#pragma once

// Qt Test's QTRY_ macros report a condition that never came true to Qt Test's own log and
// return, which a GoogleTest test does not notice: it passes. Here they wait the same way and
// then fail the test, printing what was waited for. Included first in every widget test.

#include <QTest>

#include <gtest/gtest.h>

#undef QTRY_VERIFY_WITH_TIMEOUT
#define QTRY_VERIFY_WITH_TIMEOUT(expr, timeout)                                                                  \
    do {                                                                                                      \
        if (!QTest::qWaitFor([&]() { return bool(expr); }, timeout)) {                                        \
            ADD_FAILURE() << "waited " << (timeout) << " ms for " #expr;                                      \
            return;                                                                                           \
        }                                                                                                     \
    } while (false)

#undef QTRY_VERIFY
#define QTRY_VERIFY(expr) QTRY_VERIFY_WITH_TIMEOUT(expr, 5000)

#undef QTRY_COMPARE_WITH_TIMEOUT
#define QTRY_COMPARE_WITH_TIMEOUT(expr, expected, timeout)                                                       \
    do {                                                                                                      \
        (void)QTest::qWaitFor([&]() { return (expr) == (expected); }, timeout);                               \
        ASSERT_EQ(expr, expected) << "waited " << (timeout) << " ms";                                         \
    } while (false)

#undef QTRY_COMPARE
#define QTRY_COMPARE(expr, expected) QTRY_COMPARE_WITH_TIMEOUT(expr, expected, 5000)
