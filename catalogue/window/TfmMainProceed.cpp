// The Proceed button: the changeover run over what the window holds.
#include "catalogue/runs/ChangeoverRun.h"
#include "catalogue/window/TfmMain.h"

void TfmMain::ProceedClick()
{
    TChangeoverRun run({conx, q1, *fSelection, newVID, fSiteID, fRefusal});
    const TChangeoverEnd end = run.run();
    if (end == TChangeoverEnd::WindowStays)
        return;
    fExitStatus = exitStatusAfter(end);
    close();
}
