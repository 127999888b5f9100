#include "mainwin/TaskList.h"

#include <gtest/gtest.h>

#include <memory>

namespace tz4::test {

TEST(TaskList, AnyRemovedWindowFreesItsSlotForTheNext)
{
    TaskList tasks;
    QObject first;
    QObject second;
    QObject third;
    EXPECT_EQ(tasks.AddTask(&first, QStringLiteral("first")), 0);
    EXPECT_EQ(tasks.AddTask(&second, QStringLiteral("second")), 1);

    tasks.RemoveTask(&first);
    EXPECT_EQ(tasks.occupiedSlots(), QList<int>{1}) << "the first window leaves no button behind";
    EXPECT_EQ(tasks.AddTask(&third, QStringLiteral("third")), 0);
    EXPECT_EQ(tasks.SelectedCaption(), QStringLiteral("third"));
    tasks.RemoveTask(&second);
    tasks.RemoveTask(&third);
    EXPECT_TRUE(tasks.occupiedSlots().isEmpty());
}

TEST(TaskList, AClickHighlightsOnlyItsSlotAndReportsIt)
{
    TaskList tasks;
    QObject a;
    QObject b;
    tasks.AddTask(&a, QStringLiteral("a"));
    tasks.AddTask(&b, QStringLiteral("b"));
    QList<int> clicks;
    QObject::connect(&tasks, &TaskList::Click, [&](int index) { clicks << index; });

    tasks.click(0);
    EXPECT_EQ(tasks.Selected(), &a);
    EXPECT_FALSE(tasks.slot(1).active);
    EXPECT_EQ(clicks, QList<int>{0});
    // A free slot has no button to click.
    tasks.click(5);
    EXPECT_EQ(clicks, QList<int>{0});

    const QList<QRect> places = tasks.Layout(QRect(0, 0, 301, 20));
    ASSERT_EQ(places.size(), 2);
    EXPECT_EQ(places[0], QRect(0, 0, 151, 20));
    EXPECT_EQ(places[1], QRect(151, 0, 151, 20));
}

} // namespace tz4::test
