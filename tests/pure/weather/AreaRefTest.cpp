#include <gtest/gtest.h>

#include <utility>

#include "weather/AreaRef.h"

namespace {

struct CPlace {
    virtual ~CPlace() = default;
};
// Counts the living towns, which the handles know only as places.
struct CTown : CPlace {
    explicit CTown(int& alive) : m_alive(alive) { ++m_alive; }
    ~CTown() override { --m_alive; }
    int& m_alive;
};

TEST(AreaRef, EveryHandleCountsAndTheLastDeletesThroughTheVirtualDestructor) {
    int alive = 0;
    {
        AreaRef<CPlace> first(new CTown(alive));
        AreaRef<CPlace> copy = first;
        AreaRef<CPlace> moved(std::move(copy));
        EXPECT_EQ(copy.UseCount() * 10 + first.UseCount(), 2u);
        EXPECT_EQ(moved.get(), first.get());
        moved = AreaRef<CPlace>(new CTown(alive));
        first = *&first;
        EXPECT_EQ(first.UseCount() * 10 + moved.UseCount(), 11u);
        EXPECT_EQ(alive, 2);
    }
    EXPECT_EQ(alive, 0);
    EXPECT_EQ(AreaRef<CPlace>(nullptr).UseCount(), 0u);
}

} // namespace
