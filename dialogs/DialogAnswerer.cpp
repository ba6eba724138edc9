#include "dialogs/DialogAnswerer.h"

namespace {
TDialogAnswerer &answererSlot()
{
    static TDialogAnswerer answerer;
    return answerer;
}
} // namespace

void setDialogAnswerer(TDialogAnswerer answerer)
{
    answererSlot() = std::move(answerer);
}

const TDialogAnswerer &dialogAnswerer()
{
    return answererSlot();
}
