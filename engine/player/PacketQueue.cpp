#include "PacketQueue.h"

#include <chrono>

namespace engine::player {

void PacketQueue::push(QueueItem item) {
    {
        std::lock_guard lock(m_mutex);
        if (m_aborted)
            return;
        if (item.kind == QueueItem::Packet && item.packet) {
            ++m_packets;
            m_bytes += item.packet->size;
        }
        m_items.push_back(std::move(item));
    }
    m_ready.notify_one();
}

QueueItem PacketQueue::takeFront() {
    QueueItem item = std::move(m_items.front());
    m_items.pop_front();
    if (item.kind == QueueItem::Packet && item.packet) {
        --m_packets;
        m_bytes -= item.packet->size;
    }
    return item;
}

std::optional<QueueItem> PacketQueue::pop() {
    std::unique_lock lock(m_mutex);
    m_ready.wait(lock, [this] { return m_aborted || !m_items.empty(); });
    if (m_aborted)
        return std::nullopt;
    return takeFront();
}

std::optional<QueueItem> PacketQueue::tryPop(int timeoutMs) {
    std::unique_lock lock(m_mutex);
    m_ready.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                     [this] { return m_aborted || !m_items.empty(); });
    if (m_aborted || m_items.empty())
        return std::nullopt;
    return takeFront();
}

void PacketQueue::clear() {
    std::lock_guard lock(m_mutex);
    m_items.clear();
    m_packets = 0;
    m_bytes = 0;
}

void PacketQueue::abort() {
    {
        std::lock_guard lock(m_mutex);
        m_aborted = true;
        m_items.clear();
        m_packets = 0;
        m_bytes = 0;
    }
    m_ready.notify_all();
}

int PacketQueue::packetCount() const {
    std::lock_guard lock(m_mutex);
    return m_packets;
}

int64_t PacketQueue::byteCount() const {
    std::lock_guard lock(m_mutex);
    return m_bytes;
}

} // namespace engine::player
