// The list view wrapper: owner-data rows come from the handler only for the
// rows asked for; real items; whole-row scrolling.

#include "platform/TListView.h"

#include <QCoreApplication>
#include <QWidget>
#include <gtest/gtest.h>
#include <set>

namespace {

struct ListFixture {
    QWidget parent;
    TListView list{&parent, 0, 0, 300, 16 * 10 + 24};
    ListFixture() {
        list.AddColumn("A", 70);
        list.AddColumn("B", 70);
        parent.resize(320, 240);
        parent.show();
    }
};

} // namespace

TEST(TListViewTest, OwnerDataAsksTheHandlerOnlyForRowsBelowTheCount) {
    ListFixture f;
    std::set<int> asked;
    f.list.SetOwnerData(true);
    f.list.OnData = [&](TListItem& item) {
        asked.insert(item.Index);
        item.Caption = "r" + std::to_string(item.Index);
        item.SubItems = {"s" + std::to_string(item.Index)};
    };
    for (int i = 1; i <= 1000000; ++i)
        f.list.SetItemCount(i);
    EXPECT_TRUE(asked.empty());
    QCoreApplication::processEvents();
    f.parent.repaint();
    EXPECT_EQ(f.list.ItemCount(), 1000000);
    // Only rows in view were asked for, never a million.
    EXPECT_FALSE(asked.empty());
    EXPECT_LT(asked.size(), 50u);
    EXPECT_LT(*asked.rbegin(), 50);
    EXPECT_EQ(f.list.ItemText(999999, 0), "r999999");
    EXPECT_EQ(f.list.ItemText(999999, 1), "s999999");
    EXPECT_EQ(f.list.ItemText(1000000, 0), "");
    EXPECT_EQ(f.list.ItemText(5, 7), "");
}

TEST(TListViewTest, ClearedOwnerDataListNeverAsksForRowsItNoLongerHas) {
    ListFixture f;
    int bad = 0;
    int limit = 100;
    f.list.SetOwnerData(true);
    f.list.OnData = [&](TListItem& item) {
        if (item.Index >= limit)
            ++bad;
        item.Caption = "x";
    };
    f.list.SetItemCount(100);
    QCoreApplication::processEvents();
    f.parent.repaint();
    f.list.Clear();
    limit = 0;
    f.parent.repaint(); // the view has not caught up yet
    QCoreApplication::processEvents();
    f.parent.repaint();
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(f.list.ItemCount(), 0);
}

TEST(TListViewTest, RealItemsKeepTheirTextsAndScrollingShowsTheNewest) {
    ListFixture f;
    f.list.SetOwnerData(false);
    for (int i = 0; i < 40; ++i) {
        f.list.AddItem(std::to_string(i), {"sub" + std::to_string(i)});
        f.list.Scroll(0, 20);
    }
    f.list.Flush();
    EXPECT_EQ(f.list.ItemCount(), 40);
    EXPECT_EQ(f.list.ItemText(39, 1), "sub39");
    EXPECT_TRUE(f.list.IsRowVisible(39));
    EXPECT_FALSE(f.list.IsRowVisible(0));
}

TEST(TListViewTest, VerticalScrollMovesByTheNearestWholeRows) {
    struct Case {
        int dy, rows;
    };
    const Case cases[] = {{16, 1}, {20, 1}, {10, 1}, {7, 0}, {40, 3}, {-16, -1}};
    for (const Case& c : cases) {
        ListFixture f;
        f.list.SetOwnerData(false);
        for (int i = 0; i < 100; ++i)
            f.list.AddItem(std::to_string(i), {});
        f.list.Flush();
        f.list.Scroll(0, 48); // three rows down first
        f.list.Flush();
        ASSERT_EQ(f.list.TopIndex(), 3);
        f.list.Scroll(0, c.dy);
        f.list.Flush();
        EXPECT_EQ(f.list.TopIndex(), 3 + c.rows) << "dy " << c.dy;
    }
}

TEST(TListViewTest, SwitchingModesDropsTheOldRows) {
    ListFixture f;
    f.list.SetOwnerData(false);
    f.list.AddItem("a", {});
    f.list.SetOwnerData(true);
    EXPECT_EQ(f.list.ItemCount(), 0);
    f.list.AddItem("ignored in owner-data mode", {});
    EXPECT_EQ(f.list.ItemCount(), 0);
}
