#pragma once
// Texts of fields joined by a separator, and the stack of current separators.
#include <QString>

// The separator stack lives from UtilsModuleStart to UtilsModuleStop.
void UtilsModuleStart();
void UtilsModuleStop();

// Separator stack: the top is the current separator, "@" when nothing is pushed.
// Every push is paired with one pop.
void PushSeparator(const QString &separator);
void PopSeparator();
QString CurrentSeparator();

// Fields of a text at the current separator; field indexes start at 0.
int CountFieldsCur(const QString &text);
QString GetFieldCur(int index, const QString &text);
// The same at a given separator (pushed for the call, popped on every path).
int CountFields(const QString &text, const QString &separator);
QString GetField(int index, const QString &text, const QString &separator);
