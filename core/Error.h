// The one error type of the program: a message for the user and, where the window that shows it has
// one, the caption of its message box. Caught at the boundary of an operation (a window shows it in a
// message box, the command line prints it on stderr, a job turns it into a failed outcome).
#pragma once

#include <QString>
#include <stdexcept>

namespace lumiset {

class Error : public std::runtime_error {
public:
    explicit Error(const QString& message, const QString& caption = {})
        : std::runtime_error(message.toStdString()), message_(message), caption_(caption) {}
    const QString& message() const { return message_; }
    // Empty when the message needs no caption of its own.
    const QString& caption() const { return caption_; }

private:
    QString message_;
    QString caption_;
};

} // namespace lumiset
