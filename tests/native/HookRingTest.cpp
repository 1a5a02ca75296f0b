#include "hook/HookRing.h"

#include <gtest/gtest.h>

#include <memory>

namespace gw {
namespace {

class HookRingTest : public ::testing::Test {
protected:
    HookRingTest() : area_(std::make_unique<SharedArea>()) {
        InitialiseSharedAreaHeader(area_->header);
    }

    static HookEvent Event(std::uint32_t n) {
        HookEvent event;
        event.window = 0x10000 + n;
        event.message = hookmsg::kChar;
        event.wParam = n;
        event.caretX = static_cast<std::int32_t>(n);
        return event;
    }
    // Writes count events numbered from first; how many were written.
    std::uint32_t Write(std::uint32_t count, std::uint32_t first = 0) {
        std::uint32_t written = 0;
        for (std::uint32_t i = 0; i < count; ++i)
            written += WriteHookEvent(*area_, Event(first + i)) ? 1 : 0;
        return written;
    }
    SharedAreaHeader& Header() { return area_->header; }

    std::unique_ptr<SharedArea> area_;
};

TEST(HookRecordedMessages, OnlyTheListedMessagesAreRecorded) {
    struct Case {
        std::uint32_t message;
        std::uintptr_t wParam;
        bool recorded;
    };
    const Case cases[] = {
        {0x0007, 0, true},       {0x0020, 0, true},  {0x0100, 0x41, true},  {0x0101, 0x41, true},
        {0x0102, 'a', true},     {0x0114, 0, true},  {0x0115, 0, true},     {0x0202, 0, true},
        {0x0205, 0, true},       {0x0208, 0, true},  {0x020A, 0, true},     {0x0112, 0xF140, true},
        {0x0112, 0xF142, true},  // the low four bits of a system command are the system's own
        {0x0112, 0xF020, false}, // SC_MINIMIZE
        {0x0201, 0, false},      {0x0203, 0, false}, {0x0204, 0, false},    // down, double
        {0x0200, 0, false},      {0x000F, 0, false}, {0x0104, 0x12, false}, // move, paint, sys key
        {0x036A, 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsRecordedMessage(c.message, c.wParam), c.recorded)
            << std::hex << c.message << " " << c.wParam;
}

TEST_F(HookRingTest, EventsComeOutInOrderAndTheRingIsThenEmpty) {
    ASSERT_EQ(Write(3), 3u);
    EXPECT_FALSE(RingLooksEmpty(Header()));
    HookEvent event;
    for (std::uint32_t i = 0; i < 3; ++i) {
        ASSERT_EQ(ReadHookEvent(*area_, event), RingRead::kEvent);
        EXPECT_EQ(event.wParam, i);
        EXPECT_EQ(event.window, 0x10000 + i);
    }
    EXPECT_EQ(ReadHookEvent(*area_, event), RingRead::kEmpty);
    EXPECT_TRUE(RingLooksEmpty(Header()));
}

TEST_F(HookRingTest, TheWriteIndexWrapsToTheFirstRecord) {
    Header().readIndex = kHookRingCapacity - 1;
    Header().writeIndex = kHookRingCapacity - 1;
    ASSERT_EQ(Write(2, 7), 2u);
    EXPECT_EQ(Header().writeIndex, 1u);
    EXPECT_EQ(area_->records[kHookRingCapacity - 1].wParam, 7u);
    EXPECT_EQ(area_->records[0].wParam, 8u); // at offset 28, right after the header
    HookEvent event;
    ASSERT_EQ(ReadHookEvent(*area_, event), RingRead::kEvent);
    ASSERT_EQ(ReadHookEvent(*area_, event), RingRead::kEvent);
    EXPECT_EQ(event.wParam, 8u);
    EXPECT_EQ(Header().readIndex, 1u);
}

TEST_F(HookRingTest, SeveralEventsComeOutAtOnceInOrderAcrossTheWrap) {
    Header().readIndex = kHookRingCapacity - 2;
    Header().writeIndex = kHookRingCapacity - 2;
    ASSERT_EQ(Write(5, 10), 5u);
    HookEvent events[3];
    std::size_t count = 0;
    ASSERT_EQ(ReadHookEvents(*area_, events, 3, count), RingRead::kEvent);
    ASSERT_EQ(count, 3u);
    EXPECT_EQ(events[0].wParam, 10u);
    EXPECT_EQ(events[2].wParam, 12u); // from record 0, after the wrap
    ASSERT_EQ(ReadHookEvents(*area_, events, 3, count), RingRead::kEvent);
    ASSERT_EQ(count, 2u);
    EXPECT_EQ(events[1].wParam, 14u);
    EXPECT_EQ(ReadHookEvents(*area_, events, 3, count), RingRead::kEmpty);
    EXPECT_EQ(count, 0u);
}

TEST_F(HookRingTest, AFullRingOverflowsIsDiscardedWholeAndStartsAgain) {
    EXPECT_EQ(Write(kHookRingCapacity + 10), kHookRingCapacity);
    EXPECT_EQ(Header().overflow, 1u);
    EXPECT_FALSE(RingLooksEmpty(Header()));

    HookEvent event;
    event.wParam = 12345;
    EXPECT_EQ(ReadHookEvent(*area_, event), RingRead::kDiscarded);
    EXPECT_EQ(event.wParam, 12345u); // nothing handed out
    EXPECT_EQ(Header().readIndex, 0u);
    EXPECT_EQ(Header().writeIndex, 0u);
    EXPECT_EQ(Header().overflow, 0u);
    EXPECT_EQ(ReadHookEvent(*area_, event), RingRead::kEmpty);

    ASSERT_EQ(Write(1, 99), 1u);
    ASSERT_EQ(ReadHookEvent(*area_, event), RingRead::kEvent);
    EXPECT_EQ(event.wParam, 99u);
}

TEST_F(HookRingTest, OneLessThanTheCapacityFitsWithoutOverflow) {
    EXPECT_EQ(Write(kHookRingCapacity - 1), kHookRingCapacity - 1);
    EXPECT_EQ(Header().overflow, 0u);
    HookEvent event;
    ASSERT_EQ(ReadHookEvent(*area_, event), RingRead::kEvent);
    EXPECT_EQ(event.wParam, 0u);
}

TEST_F(HookRingTest, IndicesOutOfRangeEmptyTheRingOnEitherSide) {
    struct Case {
        std::uint32_t read;
        std::uint32_t write;
    };
    const Case hostile[] = {
        {kHookRingCapacity, 0}, {0, kHookRingCapacity}, {0xFFFFFFFF, 5}, {3, 0x80000000}};
    for (const Case& c : hostile) {
        // The reader empties the ring.
        InitialiseSharedAreaHeader(Header());
        Header().readIndex = c.read;
        Header().writeIndex = c.write;
        HookEvent event;
        EXPECT_EQ(ReadHookEvent(*area_, event), RingRead::kDiscarded);
        EXPECT_EQ(Header().readIndex, 0u);
        EXPECT_EQ(Header().writeIndex, 0u);
        EXPECT_EQ(Header().overflow, 0u);

        // A writer writes nothing and leaves the ring for the reader to empty.
        Header().readIndex = c.read;
        Header().writeIndex = c.write;
        EXPECT_EQ(Write(1), 0u);
        EXPECT_EQ(Header().overflow, 1u);
        EXPECT_EQ(ReadHookEvent(*area_, event), RingRead::kDiscarded);
        EXPECT_EQ(ReadHookEvent(*area_, event), RingRead::kEmpty);
    }
}

} // namespace
} // namespace gw
