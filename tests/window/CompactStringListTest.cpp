#include "app/CompactStringList.h"

#include <gtest/gtest.h>

TEST(CompactStringListTest, KeepsEveryTextIncludingEmptyAndMultiByteOnes) {
    CompactStringList list;
    const std::vector<std::string> texts = {"1", "", "大当たり", "-2147483648", "XXX", ""};
    for (const auto& t : texts)
        list.Append(t);
    ASSERT_EQ(list.Size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(list[i], texts[i]) << i;
    list.Clear();
    EXPECT_TRUE(list.Empty());
    list.Append("again");
    EXPECT_EQ(list[0], "again");
}

TEST(CompactStringListTest, AMillionShortTextsStayWithinAFewBytesEach) {
    CompactStringList list;
    for (int i = 0; i < 1000000; ++i)
        list.Append(std::to_string(i));
    EXPECT_EQ(list[999999], "999999");
    EXPECT_EQ(list[123456], "123456");
    // 6 to 7 characters plus a 4-byte offset each, with vector growth slack.
    EXPECT_LT(list.CapacityBytes(), 1000000u * 24u);
}
