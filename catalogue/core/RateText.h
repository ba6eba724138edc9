#pragma once
// How a VAT code's rate shows in a department's caption.
#include <QString>

// The rate, given as text in the default locale's number form ("13,5" where the
// decimal separator is a comma), written with exactly two decimals in that form and
// "%" after it: "13.50%" or "13,50%". Empty or unreadable text shows as 0.00%.
QString rateText(const QString &localeRate);

// A number as the database writes it ("13.5", "-0.25") in the default locale's form
// ("13,5"), without thousands separators; any other text is returned as it is.
QString localeNumberText(const QString &plainNumber);
