// Pordane 2023 Hospitality: moves a point-of-sale database from the 9 % VAT
// code to the 13.5 % one; with "--revert <record>" it puts back what a change
// record lists.
#include "app/CommandLine.h"
#include "app/StartSequence.h"
#include "app/TApplication.h"
#include "catalogue/runs/RevertRun.h"
#include "catalogue/window/TfmMain.h"
#include "log/uLog.h"

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    return RunStartSequence([&app] {
        const TCommandLine command = parseCommandLine(app.arguments().mid(1));
        for (const QString &argument : command.ignored)
            DebugLog(
                QStringLiteral("The argument \"%1\" is not one of this program's; it is left aside.").arg(argument), 0);
        if (command.revertRecord)
            return TRevertRun(*command.revertRecord).run();
        return RunMainWindow(app, [] { return std::make_unique<TfmMain>(); });
    });
}
