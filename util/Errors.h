#pragma once
// Error types of the program. Failures travel as exceptions carrying a message;
// the application's top-level handler shows `EPosError` (and any std::exception)
// in a message box and passes `EAbort` over without a word.
#include <QString>
#include <stdexcept>

class EPosError : public std::runtime_error
{
public:
    explicit EPosError(const QString &message) : std::runtime_error(message.toStdString()), fMessage(message) {}
    QString message() const { return fMessage; }

private:
    QString fMessage;
};

// The silent abort error: unwinds like any other error, never shown.
class EAbort : public std::exception
{
public:
    const char *what() const noexcept override { return "Operation aborted"; }
};

// The text of any error, for showing it to the operator.
inline QString errorText(const std::exception &e)
{
    if (auto *pos = dynamic_cast<const EPosError *>(&e))
        return pos->message();
    return QString::fromUtf8(e.what());
}
