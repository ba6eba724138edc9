#pragma once
// Sets the default locale for one test and restores the previous one afterwards.
#include <QLocale>

class LocaleGuard
{
public:
    explicit LocaleGuard(const QLocale &locale) : fOld(QLocale()) { QLocale::setDefault(locale); }
    ~LocaleGuard() { QLocale::setDefault(fOld); }
    LocaleGuard(const LocaleGuard &) = delete;
    LocaleGuard &operator=(const LocaleGuard &) = delete;

private:
    QLocale fOld;
};

inline QLocale englishLocale()
{
    return QLocale(QLocale::English, QLocale::Ireland);
}
inline QLocale commaLocale()
{
    return QLocale(QLocale::German, QLocale::Germany);
}
