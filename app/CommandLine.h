#pragma once
// What the program is asked to do: show its window (no arguments), or put back what a
// change record lists ("--revert <record>").
#include <QString>
#include <QStringList>
#include <optional>

struct TCommandLine
{
    std::optional<QString> revertRecord;
};

// The arguments after the program's own name. EPosError naming what is wrong and how the
// program is called.
TCommandLine parseCommandLine(const QStringList &arguments);
