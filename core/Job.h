// One run of a long task (import, matching, thumbnails, preparation, production): progress, a stop
// request checked inside the loop, and the texts the user sees. A window shows it modally; the command
// line prints it. Thread-safe for one worker and one observer.
#pragma once

#include <QString>
#include <atomic>
#include <functional>

namespace lumiset {

class Job {
public:
    using ProgressHandler = std::function<void(int position, int maximum, const QString& text)>;

    Job() = default;
    explicit Job(ProgressHandler handler) : handler_(std::move(handler)) {}

    void report(int position, int maximum, const QString& text = {}) const {
        if (handler_)
            handler_(position, maximum, text);
    }
    void requestStop() { stop_.store(true); }
    bool stopRequested() const { return stop_.load(); }

private:
    ProgressHandler handler_;
    std::atomic<bool> stop_{false};
};

} // namespace lumiset
