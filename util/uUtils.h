#pragma once
// Text, number, flag, folder and file helpers used throughout the program.
#include <QChar>
#include <QString>
#include <QtGlobal>

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

// Fill a text to a width; cut keeps only the first width characters of a longer text.
// PadRight fills with a blank when given the character of code 0.
QString PadRight(const QString &text, int width, QChar fill = QLatin1Char(' '), bool cut = false);
QString PadLeft(const QString &text, int width, QChar fill = QLatin1Char(' '), bool cut = false);

// An amount in ten-thousandths (13.5 is 135000) written with the default locale's
// separators; exact halves round upwards (negative ones towards zero).
QString FormatAmount(int decimals, bool keepThousands, bool negativesInParentheses, qint64 amount);
// A number written in the default locale's form, "(12.5)" meaning -12.5.
// Empty text gives defaultValue, unreadable text gives 0.
double ParseAmount(const QString &text, double defaultValue);

QString IntToText(qint64 value);
// The decimal integer in the text, or defaultValue when there is none or it is out of range.
qint64 TextToInt64(const QString &text, qint64 defaultValue);

QString BoolToYN(bool flag);
// True exactly for "Y" and "y".
bool YNToBool(const QString &text);
// Equal ignoring the case of ASCII letters only.
bool SameTextAscii(const QString &a, const QString &b);

// The folder with the platform's separator at its end; with create, the folder is
// made together with its parents (a failure shows only when the folder is used).
QString IncludeBackslash(const QString &folder, bool create);
// Full path of the running program's file.
QString ModuleFileName();
// Size of the first entry matching the path (wildcards allowed) as a signed 32-bit
// number, -1 when nothing matches.
qint32 FileSizeOf(const QString &path);
