#include "tests/media/StderrCapture.h"

#include <cstdio>
#include <stdexcept>
#include <unistd.h>

namespace lumiset::test {

StderrCapture::StderrCapture() {
    if (!file_.open())
        throw std::runtime_error("cannot create the capture file");
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    if (saved_ < 0 || dup2(file_.handle(), STDERR_FILENO) < 0)
        throw std::runtime_error("cannot redirect stderr");
}

StderrCapture::~StderrCapture() {
    finish();
}

QByteArray StderrCapture::finish() {
    if (saved_ >= 0) {
        std::fflush(stderr);
        dup2(saved_, STDERR_FILENO);
        close(saved_);
        saved_ = -1;
    }
    file_.seek(0);
    return file_.readAll();
}

} // namespace lumiset::test
