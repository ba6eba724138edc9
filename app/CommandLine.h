#pragma once
// What the program is asked to do: show its window (no arguments), or put back what a
// change record lists ("--revert <record>").
#include <QString>
#include <QStringList>
#include <optional>

struct TCommandLine
{
    std::optional<QString> revertRecord;
    // Arguments the program does not know: launchers may pass their own, and the program
    // was long started with none it read, so they are logged and left aside.
    QStringList ignored;
};

// The arguments after the program's own name. EPosError naming what is wrong with a
// --revert and how the program is called.
TCommandLine parseCommandLine(const QStringList &arguments);
