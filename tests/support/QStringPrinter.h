#pragma once
// Lets failing expectations show texts and bytes as text.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList &texts, std::ostream *os)
{
    *os << '{';
    for (const QString &text : texts)
        *os << "\n  \"" << text.toStdString() << '"';
    *os << " }";
}

inline void PrintTo(const QByteArray &bytes, std::ostream *os)
{
    *os << '"' << bytes.toStdString() << '"';
}
