// The one error type of the core: a message for the user, caught at the boundary of an operation
// (a window shows it in a message box, the command line prints it on stderr).
#pragma once

#include <QString>
#include <stdexcept>

namespace lumiset {

class Error : public std::runtime_error {
public:
    explicit Error(const QString& message) : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

} // namespace lumiset
