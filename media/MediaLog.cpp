#include "media/MediaLog.h"

extern "C" {
#include <libavutil/log.h>
}

#include <cstdarg>
#include <mutex>

namespace lumiset {

Q_LOGGING_CATEGORY(lcFfmpeg, "lumiset.ffmpeg", QtWarningMsg)

namespace {

std::mutex installMutex;
int liveRedirects = 0; // guarded by installMutex

thread_local MediaLogRedirect* threadRedirect = nullptr;
// FFmpeg hands a line over in pieces; the prefix ("[mp3 @ 0x…] ") goes before the first one only.
thread_local QByteArray pendingLine;
thread_local int printPrefix = 1;

} // namespace

struct MediaLogForwarder {
    static void callback(void* object, int level, const char* format, va_list arguments) {
        if (level > AV_LOG_INFO) // verbose, debug and trace notes: formatting them would only cost time
            return;
        char text[1024];
        av_log_format_line2(object, level, format, arguments, text, sizeof text, &printPrefix);
        pendingLine += text;
        if (!pendingLine.endsWith('\n'))
            return;
        const QString line = QString::fromUtf8(pendingLine).trimmed();
        pendingLine.clear();
        if (line.isEmpty())
            return;
        if (threadRedirect)
            threadRedirect->receive(level, line);
        else
            qCDebug(lcFfmpeg).noquote() << line;
    }
};

MediaLogRedirect::MediaLogRedirect(Handler handler) : handler_(std::move(handler)), outer_(threadRedirect) {
    threadRedirect = this;
    const std::lock_guard lock(installMutex);
    if (liveRedirects++ == 0)
        av_log_set_callback(&MediaLogForwarder::callback);
}

MediaLogRedirect::~MediaLogRedirect() {
    threadRedirect = outer_;
    const std::lock_guard lock(installMutex);
    if (--liveRedirects == 0)
        av_log_set_callback(&av_log_default_callback);
}

void MediaLogRedirect::receive(int level, const QString& line) {
    qCDebug(lcFfmpeg).noquote() << line;
    if (level <= AV_LOG_WARNING) {
        if (problems_.size() < kKeptProblems)
            problems_.append(line);
        else
            ++dropped_;
    }
    if (handler_)
        handler_(level, line);
}

} // namespace lumiset
