#pragma once
// A column's value as the operator reads it.
#include <QString>

class TDbField;

// A column as the user reads it: numbers in the user's number form ("13,5" where the
// decimal separator is a comma), other values as stored, null as empty text.
QString userText(const TDbField &field);
