#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/shell/ForwardedCommandQueue.h"

namespace {

// A record as a later instance sends it: UTF-16 units.
std::vector<char16_t> Record(size_t units, char16_t fill = u'a') {
    return std::vector<char16_t>(units, fill);
}

} // namespace

// Lines come out in order; a record refused for either bound leaves the queue as it was, and room that
// frees up takes records again.
TEST(ForwardedCommandQueue, RefusesWhatWouldPassEitherBoundAndNothingElse) {
    const size_t maxUnits = CForwardedCommandQueue::kMaxBytes / 2;
    const struct {
        size_t queuedUnits; // each line already waiting
        size_t queuedLines;
        size_t newUnits;
        bool taken;
    } rows[] = {
        {10, 0, maxUnits, true},
        {10, 1, maxUnits - 10, true},
        {10, 1, maxUnits - 9, false},
        {maxUnits / 2, 2, 1, false},
        {1, CForwardedCommandQueue::kMaxLines - 1, 1, true},
        {1, CForwardedCommandQueue::kMaxLines, 1, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.queuedLines << " x " << row.queuedUnits << " + " << row.newUnits);
        CForwardedCommandQueue queue;
        for (size_t i = 0; i < row.queuedLines; ++i) {
            const auto waiting = Record(row.queuedUnits, static_cast<char16_t>(u'a' + i % 26));
            ASSERT_TRUE(queue.Push(waiting.data(), waiting.size() * 2));
        }
        const size_t bytesBefore = queue.Bytes();
        const auto record = Record(row.newUnits, u'z');
        EXPECT_EQ(queue.Push(record.data(), record.size() * 2), row.taken);
        EXPECT_EQ(queue.Count(), row.queuedLines + (row.taken ? 1 : 0));
        EXPECT_EQ(queue.Bytes(), bytesBefore + (row.taken ? record.size() * 2 : 0));
        if (row.queuedLines > 0) {
            EXPECT_EQ(queue.Pop(), std::wstring(row.queuedUnits, L'a'));
        }
    }
}

TEST(ForwardedCommandQueue, PopsOldestFirstAndDropNewestTakesBackTheLastLine) {
    CForwardedCommandQueue queue;
    const std::u16string first = u"one /calendar", second = u"two /exit";
    ASSERT_TRUE(queue.Push(first.data(), first.size() * 2));
    ASSERT_TRUE(queue.Push(second.data(), second.size() * 2));
    queue.DropNewest();
    EXPECT_EQ(queue.Bytes(), first.size() * 2);
    EXPECT_EQ(queue.Pop(), L"one /calendar");
    EXPECT_EQ(queue.Pop(), std::nullopt);
    EXPECT_EQ(queue.Bytes(), 0u);
}
