// Frames passed from the composing threads to the encoder in album order. Composers may finish frames
// out of order (two composers take turns); the encoder takes frame n only. A composer waits while its
// frame is too far ahead of the encoder, so at most `capacity` frames are held in memory.
#pragma once

#include <QtGlobal>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>

namespace lumiset {

template <typename Frame> class OrderedFrameQueue {
public:
    explicit OrderedFrameQueue(int capacity) : capacity_(capacity) {}

    // Waits until frame `n` may be held, then holds it. False when the queue was cancelled.
    bool put(qint64 n, Frame frame) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return cancelled_ || n < next_ + capacity_; });
        if (cancelled_)
            return false;
        frames_.emplace(n, std::move(frame));
        changed_.notify_all();
        return true;
    }

    // Waits for frame `next` (the frames are taken in order from 0). Nothing when cancelled.
    std::optional<Frame> take() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return cancelled_ || frames_.contains(next_); });
        if (cancelled_)
            return std::nullopt;
        const auto found = frames_.find(next_++);
        Frame frame = std::move(found->second);
        frames_.erase(found);
        changed_.notify_all();
        return frame;
    }

    // Wakes every waiting side for good: production stopped or failed.
    void cancel() {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
        frames_.clear();
        changed_.notify_all();
    }

private:
    const int capacity_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<qint64, Frame> frames_;
    qint64 next_ = 0;
    bool cancelled_ = false;
};

} // namespace lumiset
