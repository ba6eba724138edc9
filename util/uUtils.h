#pragma once
// Text and flag helpers used throughout the program: padding, Y/N flags,
// comparing without regard to ASCII case.
#include <QChar>
#include <QString>

// Fill a text to a width; cut keeps only the first width characters of a longer text.
// PadRight fills with a blank when given the character of code 0.
QString PadRight(const QString &text, int width, QChar fill = QLatin1Char(' '), bool cut = false);
QString PadLeft(const QString &text, int width, QChar fill = QLatin1Char(' '), bool cut = false);

QString BoolToYN(bool flag);
// True exactly for "Y" and "y".
bool YNToBool(const QString &text);
// Equal ignoring the case of ASCII letters only.
bool SameTextAscii(const QString &a, const QString &b);
