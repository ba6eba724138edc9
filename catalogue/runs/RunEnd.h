#pragma once
// How a run ends for the window, and the program's exit status after it.

enum class TChangeoverEnd {
    WindowStays, // refused before the backup, or not confirmed: nothing happened
    Done,        // the changes were made: the program ends
    Cancelled,   // the operator cancelled the backup: nothing changed, the program ends
    Failed       // the backup or the changes failed, or their outcome is unknown: the program ends
};

// The program's exit status after a run that ends it: 0 when it did what was asked or
// the operator chose not to go on (cancelled the backup), 1 when it failed.
int exitStatusAfter(TChangeoverEnd end);
