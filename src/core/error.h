// The program's own failures: a Polish (or otherwise user-facing) message
// kept as text, so nothing has to decode what() to show it.
#pragma once

#include <QString>

#include <stdexcept>

namespace pylomir::core {

class Error : public std::runtime_error {
public:
    explicit Error(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    // The text for the user, intact.
    const QString& message() const { return message_; }

private:
    QString message_;
};

} // namespace pylomir::core
