#pragma once
// A queue of compressed packets from the demuxing thread to one decoding thread. Besides
// packets it carries two markers: Flush (a seek happened: drop the decoder's state and land on
// the item's target) and End (no more packets until the next seek: drain the decoder).
// Thread-safe; one producer, one consumer.

#include "AvPtr.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

namespace engine::player {

struct QueueItem {
    enum Kind { Packet, Flush, End };
    Kind kind = Packet;
    int serial = 0;       // the seek this item belongs to
    PacketPtr packet;     // Packet only
    int64_t targetUs = 0; // Flush only: where to land
    bool exact = true;    // Flush only: land on the frame at the target, not on the keyframe
};

class PacketQueue {
public:
    void push(QueueItem item);
    // Waits for an item; nothing once abort() was called.
    std::optional<QueueItem> pop();
    // Like pop, but gives up after `timeoutMs` (0: only looks).
    std::optional<QueueItem> tryPop(int timeoutMs);
    void clear(); // drops everything queued (the next item pushed is a Flush)
    void abort(); // wakes the consumer for good

    int packetCount() const;
    int64_t byteCount() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<QueueItem> m_items;
    int m_packets = 0;
    int64_t m_bytes = 0;
    bool m_aborted = false;

    QueueItem takeFront(); // with m_mutex held and m_items not empty
};

} // namespace engine::player
