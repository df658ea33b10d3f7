// FFmpeg reports notes and complaints through av_log, which writes to stderr unless told otherwise: a
// damaged MP3 would print dozens of decoder lines before our own message. While a MediaLogRedirect
// lives, FFmpeg's lines logged on its thread go to it instead, and lines of other threads (FFmpeg's
// own worker threads among them) go to the "lumiset.ffmpeg" logging category, which is silent unless
// QT_LOGGING_RULES turns it on. Every use of FFmpeg in the program runs inside one.
#pragma once

#include <QLoggingCategory>
#include <QString>
#include <QStringList>
#include <functional>

namespace lumiset {

Q_DECLARE_LOGGING_CATEGORY(lcFfmpeg)

class MediaLogRedirect {
public:
    // Called with the AV_LOG_* level and the text of each line (without its line end).
    using Handler = std::function<void(int level, const QString& line)>;

    // The first redirect alive in the process installs our log callback; the last one to end puts
    // FFmpeg's default back (FFmpeg cannot tell which callback was set before, and nothing else in
    // the program sets one). Redirects nest: the innermost of a thread receives its lines. A redirect
    // ends on the thread that made it.
    explicit MediaLogRedirect(Handler handler = {});
    ~MediaLogRedirect();
    MediaLogRedirect(const MediaLogRedirect&) = delete;
    MediaLogRedirect& operator=(const MediaLogRedirect&) = delete;

    // Warnings and errors logged on this thread while the redirect lived, at most kKeptProblems of
    // them; the rest are only counted.
    static constexpr int kKeptProblems = 50;
    const QStringList& problems() const { return problems_; }
    int droppedProblems() const { return dropped_; }

private:
    friend struct MediaLogForwarder;
    void receive(int level, const QString& line);

    Handler handler_;
    MediaLogRedirect* outer_;
    QStringList problems_;
    int dropped_ = 0;
};

} // namespace lumiset
