// The program's arguments, one per NUL-separated part of the input. Every argument is
// either the change record to put back, what names it, or left aside; a refusal says
// why. Anything else aborts.
#include "app/CommandLine.h"
#include "util/Errors.h"

#include <cstdlib>

namespace {

const QString kRevert = QStringLiteral("--revert");

// Whether the command accounts for every argument, each once, in order.
bool accountsForAll(const QStringList &arguments, const TCommandLine &command)
{
    QStringList ignored;
    bool named = false;
    for (int i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == kRevert && i + 1 < arguments.size() && arguments[i + 1] == command.revertRecord) {
            named = true;
            ++i;
        } else if (arguments[i] == kRevert + QLatin1Char('=') + command.revertRecord.value_or(QString())) {
            named = true;
        } else {
            ignored << arguments[i];
        }
    }
    return ignored == command.ignored && named == command.revertRecord.has_value();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QStringList arguments =
        QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)).split(QChar(u'\0'));
    TCommandLine command;
    try {
        command = parseCommandLine(arguments);
    } catch (const EPosError &refusal) {
        if (refusal.message().isEmpty())
            std::abort();
        return 0;
    }
    if ((command.revertRecord && command.revertRecord->isEmpty()) || !accountsForAll(arguments, command))
        std::abort();
    return 0;
}
