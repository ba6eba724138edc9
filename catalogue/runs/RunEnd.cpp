#include "catalogue/runs/RunEnd.h"

int exitStatusAfter(TChangeoverEnd end)
{
    return end == TChangeoverEnd::Failed ? 1 : 0;
}
