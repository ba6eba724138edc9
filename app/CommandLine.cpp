#include "app/CommandLine.h"

#include "util/Errors.h"

namespace {

const QString kUsage = QStringLiteral("Start the program without arguments, or with --revert <change record> to put "
                                      "back what a changeover changed.");

[[noreturn]] void refuse(const QString &what)
{
    throw EPosError(what + QStringLiteral("\r\n\r\n") + kUsage);
}

} // namespace

TCommandLine parseCommandLine(const QStringList &arguments)
{
    TCommandLine command;
    const QString revert = QStringLiteral("--revert");
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        QString record;
        if (argument == revert) {
            if (i + 1 >= arguments.size())
                refuse(QStringLiteral("--revert needs the change record to put back."));
            record = arguments[++i];
        } else if (argument.startsWith(revert + QLatin1Char('='))) {
            record = argument.mid(revert.size() + 1);
        } else {
            command.ignored << argument;
            continue;
        }
        if (record.isEmpty())
            refuse(QStringLiteral("--revert needs the change record to put back."));
        if (command.revertRecord)
            refuse(QStringLiteral("Only one change record can be put back at a time."));
        command.revertRecord = record;
    }
    return command;
}
