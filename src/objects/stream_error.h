#pragma once
#include <QString>
#include <stdexcept>

namespace cardora {

// A failure while reading or writing card objects, carrying the message the
// user is shown ("Invalid stream format", "Class TFoo not found", ...).
class EStreamError : public std::runtime_error {
public:
    explicit EStreamError(const QString& message) : std::runtime_error(message.toStdString()), message_(message) {}
    QString Message() const { return message_; }

private:
    QString message_;
};

} // namespace cardora
