#include "util/Fields.h"

#include <QStringList>

namespace {

const QString defaultSeparator = QStringLiteral("@");

// A plain list that always exists, so that a field call before the module starts
// (or after it stops) still finds the default separator instead of nothing.
QStringList &separatorStack()
{
    static QStringList stack;
    return stack;
}

// Pushes a separator for one call and pops it on every path out of the call.
class ScopedSeparator
{
public:
    explicit ScopedSeparator(const QString &separator) { PushSeparator(separator); }
    ~ScopedSeparator() { PopSeparator(); }
    ScopedSeparator(const ScopedSeparator &) = delete;
    ScopedSeparator &operator=(const ScopedSeparator &) = delete;
};

} // namespace

void UtilsModuleStart()
{
    separatorStack().clear();
}

void UtilsModuleStop()
{
    separatorStack().clear();
}

void PushSeparator(const QString &separator)
{
    separatorStack().append(separator);
}

void PopSeparator()
{
    // An unpaired pop leaves the empty stack as it is rather than failing.
    if (!separatorStack().isEmpty())
        separatorStack().removeLast();
}

QString CurrentSeparator()
{
    return separatorStack().isEmpty() ? defaultSeparator : separatorStack().constLast();
}

int CountFieldsCur(const QString &text)
{
    const QString separator = CurrentSeparator();
    // An empty separator occurs nowhere: the whole text is one field.
    if (separator.isEmpty())
        return 1;
    int count = 1;
    // Overlapping occurrences all count, so step one character at a time.
    for (int at = text.indexOf(separator); at >= 0; at = text.indexOf(separator, at + 1))
        ++count;
    return count;
}

QString GetFieldCur(int index, const QString &text)
{
    if (index >= CountFieldsCur(text))
        return QString();
    const QString separator = CurrentSeparator();
    if (separator.isEmpty())
        return text;
    QString rest = text;
    for (int i = 0; i < index; ++i) {
        const int at = rest.indexOf(separator);
        if (at >= 0)
            rest = rest.mid(at + separator.size());
    }
    const int end = rest.indexOf(separator);
    return end >= 0 ? rest.left(end) : rest;
}

int CountFields(const QString &text, const QString &separator)
{
    ScopedSeparator scoped(separator);
    return CountFieldsCur(text);
}

QString GetField(int index, const QString &text, const QString &separator)
{
    ScopedSeparator scoped(separator);
    return GetFieldCur(index, text);
}
