// Pordane 2023 Hospitality: moves a point-of-sale database from the 9 % VAT
// code to the 13.5 % one. Takes no command-line arguments.
#include "app/StartSequence.h"
#include "app/TApplication.h"
#include "catalogue/window/TfmMain.h"

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    return RunStartSequence(app, [] { return std::make_unique<TfmMain>(); });
}
