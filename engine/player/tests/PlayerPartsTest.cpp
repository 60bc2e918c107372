// The player's parts that can be judged without playing: where the picture goes on the
// screen, the library check's message, and the packet queue's waking.

#include "PacketQueue.h"
#include "QtPrinters.h"
#include "VideoSurface.h"

#include <QRect>
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

using namespace engine::player;

namespace {

struct FitCase {
    const char* name;
    QRect widget;
    QSize area;
    double aspect;
    QRect expected;
};

class PictureRectTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(PictureRectTest, KeepsTheAspectInTheMiddle) {
    const FitCase& c = GetParam();
    const QRect r = VideoSurface::pictureRect(c.widget, c.area, c.aspect);
    EXPECT_EQ(r, c.expected);
    EXPECT_TRUE(c.widget.contains(r) || c.area.width() > c.widget.width());
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, PictureRectTest,
    ::testing::Values(
        // 4:3 into the 200x124 screen: bars left and right.
        FitCase{"FourByThree", {0, 0, 200, 124}, {}, 4.0 / 3.0, {17, 0, 165, 124}},
        // 16:9: bars above and below.
        FitCase{"Wide", {0, 0, 200, 124}, {}, 16.0 / 9.0, {0, 5, 200, 113}},
        // Exactly the screen's shape: no bars.
        FitCase{"SameShape", {0, 0, 200, 124}, {}, 200.0 / 124.0, {0, 0, 200, 124}},
        // Tall picture (9:16 phone video).
        FitCase{"Tall", {0, 0, 200, 124}, {}, 9.0 / 16.0, {65, 0, 70, 124}},
        // An answered area smaller than the screen, centred.
        FitCase{"AnsweredArea", {0, 0, 200, 124}, {100, 100}, 1.0, {50, 12, 100, 100}},
        // No aspect known: the whole area.
        FitCase{"NoAspect", {0, 0, 200, 124}, {}, 0.0, {0, 0, 200, 124}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(PacketQueueTest, KeepsOrderCountsPacketsAndWakesAWaitingReaderOnAbort) {
    PacketQueue queue;
    for (int i = 0; i < 3; ++i) {
        QueueItem item;
        item.serial = i;
        item.packet = engine::makePacket();
        ASSERT_EQ(av_new_packet(item.packet.get(), 100 + i), 0);
        queue.push(std::move(item));
    }
    QueueItem end;
    end.kind = QueueItem::End;
    queue.push(std::move(end));
    EXPECT_EQ(queue.packetCount(), 3);
    EXPECT_EQ(queue.byteCount(), 303);
    EXPECT_EQ(queue.pop()->serial, 0);
    EXPECT_EQ(queue.byteCount(), 203);
    queue.clear();
    EXPECT_EQ(queue.packetCount(), 0);
    EXPECT_FALSE(queue.tryPop(0).has_value());

    // A reader blocked on the empty queue comes back empty-handed when the queue is aborted.
    auto reader = std::async(std::launch::async, [&] { return queue.pop().has_value(); });
    EXPECT_EQ(reader.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    queue.abort();
    ASSERT_EQ(reader.wait_for(std::chrono::seconds(2)), std::future_status::ready);
    EXPECT_FALSE(reader.get());
    QueueItem late;
    queue.push(std::move(late)); // ignored after abort
    EXPECT_FALSE(queue.tryPop(0).has_value());
}

} // namespace
