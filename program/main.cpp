// Pordane 2023 Hospitality: moves a point-of-sale database from the 9 % VAT
// code to the 13.5 % one. Takes no command-line arguments.
#include "app/StartSequence.h"
#include "app/TApplication.h"
#include "catalogue/window/TfmMain.h"
#include "util/Errors.h"

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    try {
        return RunStartSequence(app, [] { return std::make_unique<TfmMain>(); });
    } catch (const EAbort &) {
        return 1;
    } catch (const std::exception &e) {
        // A failure while starting (before the event loop) still gets the error box.
        ShowErrorBox(errorText(e));
        return 1;
    }
}
