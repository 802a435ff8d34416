// The bit set of enumeration values against std::set: the same members, order and comparisons
// after any sequence of changes.
#include "EnumSet.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

namespace {

enum TItem { i0, i1, i2, i3, i4, i5, i6, i7, i8, i9, i10, i11, i12, i13, i14, i15, i40 = 40, i63 = 63 };
const std::vector<TItem> AllItems{i0, i1, i2, i3, i5, i8, i13, i15, i40, i63};

std::vector<TItem> Members(const TEnumSet<TItem>& S) {
    return std::vector<TItem>(S.begin(), S.end());
}
std::vector<TItem> Members(const std::set<TItem>& S) {
    return std::vector<TItem>(S.begin(), S.end());
}

} // namespace

TEST(EnumSet, FollowsStdSetThroughRandomChanges) {
    std::mt19937 rng(7);
    TEnumSet<TItem> a, b;
    std::set<TItem> sa, sb;
    for (int step = 0; step < 4000; ++step) {
        const TItem v = AllItems[rng() % AllItems.size()];
        const bool first = rng() & 1;
        TEnumSet<TItem>& s = first ? a : b;
        std::set<TItem>& r = first ? sa : sb;
        switch (rng() % 5) {
            case 0:
            case 1: {
                const auto got = s.insert(v);
                const auto want = r.insert(v);
                EXPECT_EQ(got.second, want.second);
                EXPECT_EQ(*got.first, v);
                break;
            }
            case 2: EXPECT_EQ(s.erase(v), r.erase(v)); break;
            case 3: {
                // Erasing through an iterator gives the next member.
                auto it = s.find(v);
                auto rit = r.find(v);
                ASSERT_EQ(it == s.end(), rit == r.end());
                if (rit != r.end()) {
                    auto next = s.erase(it);
                    auto rnext = r.erase(rit);
                    ASSERT_EQ(next == s.end(), rnext == r.end());
                    if (rnext != r.end()) {
                        EXPECT_EQ(*next, *rnext);
                    }
                }
                break;
            }
            default:
                if (rng() % 8 == 0) {
                    s.clear();
                    r.clear();
                }
                break;
        }
        ASSERT_EQ(Members(a), Members(sa)) << "step " << step;
        ASSERT_EQ(Members(b), Members(sb)) << "step " << step;
        EXPECT_EQ(a.size(), sa.size());
        EXPECT_EQ(a.empty(), sa.empty());
        EXPECT_EQ(a.count(v), sa.count(v));
        EXPECT_EQ(a == b, sa == sb);
        EXPECT_EQ(a < b, sa < sb) << "step " << step;
        EXPECT_EQ(b < a, sb < sa) << "step " << step;
    }
}

TEST(EnumSet, BuildsFromListsAndRangesAndFindsFromAMemberUp) {
    const TEnumSet<TItem> s{i63, i2, i40, i2};
    EXPECT_EQ(Members(s), (std::vector<TItem>{i2, i40, i63}));
    const std::set<TItem> other{i1, i40};
    TEnumSet<TItem> t(other.begin(), other.end());
    t.insert({i0, i63});
    EXPECT_EQ(Members(t), (std::vector<TItem>{i0, i1, i40, i63}));
    // find walks on from the member found; a missing member is end().
    EXPECT_EQ(std::vector<TItem>(s.find(i40), s.end()), (std::vector<TItem>{i40, i63}));
    EXPECT_TRUE(s.find(i3) == s.end());
    EXPECT_TRUE(TEnumSet<TItem>().begin() == TEnumSet<TItem>().end());
}
