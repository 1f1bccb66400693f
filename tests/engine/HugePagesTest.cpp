// Room for large arrays: whole huge pages with the allocator's header, never
// less than asked for; small arrays exactly as asked.

#include "engine/HugePages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

TEST(HugePages, RoomFillsWholeHugePagesWithTheHeader) {
    constexpr std::size_t Huge = std::size_t{1} << 21;
    const struct {
        std::size_t count, size;
    } cases[] = {{1000000, 4},  {10000000, 4},     {10000000, 8},
                 {Huge / 4, 4}, {Huge / 4 + 7, 4}, {Huge / 8 + 1, 8}};
    for (const auto& c : cases) {
        const std::size_t room = HugeRoom(c.count, c.size);
        SCOPED_TRACE(testing::Message() << c.count << " x " << c.size);
        EXPECT_GE(room, c.count);
        EXPECT_EQ((room * c.size + 32) % Huge, 0u);
        EXPECT_LT(room * c.size, c.count * c.size + Huge);
    }
    for (const std::size_t small : {std::size_t{0}, std::size_t{1000}, Huge / 4 - 8})
        EXPECT_EQ(HugeRoom(small, 4), small);
}

TEST(HugePages, ReserveKeepsWhatIsThereAndGivesRoomOtherwise) {
    std::vector<std::int32_t> v{1, 2, 3};
    ReserveHuge(v, 2000000);
    EXPECT_EQ(v, (std::vector<std::int32_t>{1, 2, 3}));
    EXPECT_EQ(v.capacity(), HugeRoom(2000000, 4));
    const std::int32_t* before = v.data();
    ReserveHuge(v, 1000);
    EXPECT_EQ(v.data(), before);
    v.assign(2000000, 7); // the advised block takes every value
    EXPECT_EQ(v[1999999], 7);
}
