#include "app/StyleFile.h"

#include <QFile>
#include <QMetaEnum>
#include <QRegularExpression>
#include <QStringList>

namespace {

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

bool setPaletteEntry(QPalette &palette, const QString &key, const QString &value, QString *error)
{
    QPalette::ColorGroup group = QPalette::All;
    QString roleName = key;
    const int dot = key.indexOf(QLatin1Char('.'));
    if (dot >= 0) {
        const QString groupName = key.left(dot);
        roleName = key.mid(dot + 1);
        if (groupName == QLatin1String("Active"))
            group = QPalette::Active;
        else if (groupName == QLatin1String("Inactive"))
            group = QPalette::Inactive;
        else if (groupName == QLatin1String("Disabled"))
            group = QPalette::Disabled;
        else
            return fail(error, QStringLiteral("unknown colour group \"%1\"").arg(groupName));
    }
    const QMetaEnum roles = QMetaEnum::fromType<QPalette::ColorRole>();
    bool known = false;
    const int role = roles.keyToValue(roleName.toLatin1().constData(), &known);
    if (!known || role == QPalette::NColorRoles)
        return fail(error, QStringLiteral("unknown colour role \"%1\"").arg(roleName));
    const QColor colour = QColor::fromString(value);
    if (!colour.isValid())
        return fail(error, QStringLiteral("\"%1\" is not a colour").arg(value));
    palette.setColor(group, QPalette::ColorRole(role), colour);
    return true;
}

bool bracesBalance(const QString &sheet)
{
    int depth = 0;
    for (QChar c : sheet) {
        if (c == QLatin1Char('{'))
            ++depth;
        else if (c == QLatin1Char('}') && --depth < 0)
            return false;
    }
    return depth == 0;
}

} // namespace

std::optional<TStyleFile> ParseStyleText(const QString &text, QString *error)
{
    TStyleFile style;
    QString section;
    bool sawStyle = false;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        const QString where = QStringLiteral("line %1: ").arg(n + 1);
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed().toLower();
            if (section == QLatin1String("sheet")) {
                style.sheet = lines.mid(n + 1).join(QLatin1Char('\n'));
                break;
            }
            if (section == QLatin1String("style"))
                sawStyle = true;
            else if (section != QLatin1String("palette")) {
                fail(error, where + QStringLiteral("unknown section [%1]").arg(section));
                return std::nullopt;
            }
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (section.isEmpty() || eq <= 0) {
            fail(error, where + QStringLiteral("expected \"name = value\" inside a section"));
            return std::nullopt;
        }
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (section == QLatin1String("style")) {
            if (key.compare(QLatin1String("name"), Qt::CaseInsensitive) == 0)
                style.name = value;
            else if (key.compare(QLatin1String("base"), Qt::CaseInsensitive) == 0)
                style.base = value;
            else {
                fail(error, where + QStringLiteral("unknown style entry \"%1\"").arg(key));
                return std::nullopt;
            }
        } else if (!setPaletteEntry(style.palette, key, value, error)) {
            if (error)
                *error = where + *error;
            return std::nullopt;
        }
    }
    if (!sawStyle || style.name.isEmpty()) {
        fail(error, QStringLiteral("no style name ([style] name = ...)"));
        return std::nullopt;
    }
    if (!bracesBalance(style.sheet)) {
        fail(error, QStringLiteral("the style sheet's braces do not balance"));
        return std::nullopt;
    }
    return style;
}

std::optional<TStyleFile> ReadStyleFile(const QString &fileName, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        fail(error, QStringLiteral("cannot read \"%1\"").arg(fileName));
        return std::nullopt;
    }
    return ParseStyleText(QString::fromUtf8(file.readAll()), error);
}

namespace {

// True when the selector's subject (its last compound) could be a menu: it names
// no type, the universal type, a class a menu derives from (QObject, QWidget) or
// a menu class, and carries no #id.
bool selectorReachesMenus(const QString &selector)
{
    static const QRegularExpression combinators(QStringLiteral("[\\s>+~]+"));
    const QStringList compounds = selector.trimmed().split(combinators, Qt::SkipEmptyParts);
    if (compounds.isEmpty())
        return false;
    const QString subject = compounds.last();
    if (subject.contains(QLatin1Char('#')))
        return false;
    static const QRegularExpression typeName(QStringLiteral("^\\.?([A-Za-z_][A-Za-z0-9_]*|\\*)?"));
    const QString type = typeName.match(subject).captured(1);
    return type.isEmpty() || type == QLatin1String("*") || type == QLatin1String("QObject")
        || type == QLatin1String("QWidget") || type == QLatin1String("QMenu") || type == QLatin1String("QMenuBar");
}

// Again until none is left: the text around a comment taken out can join into a new one
// ("//**/*b*/"), which Qt would read as a comment hiding what follows from this filter.
QString withoutComments(QString sheet)
{
    static const QRegularExpression comment(QStringLiteral("/\\*.*?\\*/"),
                                            QRegularExpression::DotMatchesEverythingOption);
    while (sheet.contains(comment))
        sheet.remove(comment);
    return sheet;
}

} // namespace

QString SheetWithoutMenus(const QString &sheet)
{
    const QString text = withoutComments(sheet);
    QString out;
    int pos = 0;
    while (pos < text.size()) {
        const int open = text.indexOf(QLatin1Char('{'), pos);
        if (open < 0)
            break;
        const int close = text.indexOf(QLatin1Char('}'), open);
        if (close < 0)
            break;
        QStringList kept;
        const QStringList selectors = text.mid(pos, open - pos).split(QLatin1Char(','));
        for (const QString &s : selectors)
            if (!s.trimmed().isEmpty() && !selectorReachesMenus(s))
                kept.append(s.trimmed());
        if (!kept.isEmpty())
            out += kept.join(QStringLiteral(", ")) + QStringLiteral(" ") + text.mid(open, close - open + 1)
                + QLatin1Char('\n');
        pos = close + 1;
    }
    return out;
}
