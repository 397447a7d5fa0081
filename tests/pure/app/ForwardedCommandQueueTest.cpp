#include <gtest/gtest.h>

#include <string>

#include "app/shell/ForwardedCommandQueue.h"

// Either bound refuses a record and leaves the queue as it was; room that frees up takes records again.
TEST(ForwardedCommandQueue, RefusesWhatWouldPassEitherBound) {
    CForwardedCommandQueue queue;
    const std::u16string line = u"x /calendar", big(CForwardedCommandQueue::kMaxBytes / 2 - line.size(), u'a');
    for (size_t i = 0; i < CForwardedCommandQueue::kMaxLines; ++i) {
        ASSERT_TRUE(queue.Push(line.data(), line.size() * 2));
    }
    EXPECT_FALSE(queue.Push(line.data(), 2));
    EXPECT_EQ(queue.Pop(), L"x /calendar");
    while (queue.Count() > 1) {
        queue.Pop();
    }
    EXPECT_FALSE(queue.Push(big.data(), big.size() * 2 + 2));
    EXPECT_TRUE(queue.Push(big.data(), big.size() * 2));
    EXPECT_EQ(queue.Bytes(), CForwardedCommandQueue::kMaxBytes);
    queue.DropNewest();
    EXPECT_EQ(queue.Bytes(), line.size() * 2);
}
