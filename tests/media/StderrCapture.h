// Catches what the process writes to its standard error (file descriptor 2, where FFmpeg's default
// log goes) while the object lives.
#pragma once

#include <QByteArray>
#include <QTemporaryFile>

namespace lumiset::test {

class StderrCapture {
public:
    StderrCapture();
    ~StderrCapture();
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    // Ends the capture (standard error goes where it went before) and returns what was written.
    QByteArray finish();

private:
    QTemporaryFile file_;
    int saved_ = -1;
};

} // namespace lumiset::test
