#include "engine/GP_FastContainer.h"
#include "engine/GP_StringSet.h"

#include <gtest/gtest.h>

TEST(FastContainer, GrowsInStepsOf128AndKeepsOrder)
{
    CGP_FastContainer<int> numbers;
    EXPECT_EQ(numbers.GetLimit(), 127);
    for (int i = 0; i < 128; ++i)
        numbers.Add(i);
    EXPECT_EQ(numbers.GetLimit(), 127);
    numbers.Add(128);
    EXPECT_EQ(numbers.GetLimit(), 255);
    for (int i = 129; i < 300; ++i)
        numbers.Add(i);
    EXPECT_EQ(numbers.GetLimit(), 383);
    ASSERT_EQ(numbers.GetCount(), 300);
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(numbers[i], i);

    numbers.RemoveAt(0);
    numbers.RemoveAt(1000);
    numbers.RemoveAt(-1);
    ASSERT_EQ(numbers.GetCount(), 299);
    EXPECT_EQ(numbers[0], 1);
    EXPECT_EQ(numbers[298], 299);
    numbers.Clear();
    EXPECT_TRUE(numbers.IsEmpty());
}

TEST(StringSet, SplitsOnBlanksAndLineBreaksAndComparesExactly)
{
    CGP_StringSet set(QStringLiteral("  Close\r\n\r\nMinimize   Title\nclose \rClose"));
    ASSERT_EQ(set.GetCount(), 4);
    EXPECT_EQ(set[0], QStringLiteral("Close"));
    EXPECT_EQ(set[1], QStringLiteral("Minimize"));
    EXPECT_EQ(set[2], QStringLiteral("Title"));
    EXPECT_EQ(set[3], QStringLiteral("close"));
    EXPECT_TRUE(set.Contains(QStringLiteral("Title")));
    EXPECT_FALSE(set.Contains(QStringLiteral("TITLE")));
    EXPECT_FALSE(set.Contains(QStringLiteral("Tit")));

    set.Add(QString());
    set.Add(QStringLiteral("Title"));
    EXPECT_EQ(set.GetCount(), 4);

    set.Remove(QStringLiteral("Minimize"));
    set.Remove(QStringLiteral("absent"));
    ASSERT_EQ(set.GetCount(), 3);
    EXPECT_EQ(set[1], QStringLiteral("Title"));
    EXPECT_FALSE(set.Contains(QStringLiteral("Minimize")));

    EXPECT_EQ(CGP_StringSet(QStringLiteral(" \r\n ")).GetCount(), 0);
    EXPECT_EQ(CGP_StringSet(QString()).GetCount(), 0);
}
