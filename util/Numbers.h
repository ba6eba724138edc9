#pragma once
// Amounts and whole numbers written as text and read back.
#include <QString>
#include <QtGlobal>

// An amount in ten-thousandths (13.5 is 135000) written with the default locale's
// separators; exact halves round upwards (negative ones towards zero).
QString FormatAmount(int decimals, bool keepThousands, bool negativesInParentheses, qint64 amount);
// A number written in the default locale's form, "(12.5)" meaning -12.5.
// Empty text gives defaultValue, unreadable text gives 0.
double ParseAmount(const QString &text, double defaultValue);

QString IntToText(qint64 value);
// The decimal integer in the text, or defaultValue when there is none or it is out of range.
qint64 TextToInt64(const QString &text, qint64 defaultValue);
