#pragma once
// A style file: a text file that names its style and carries a palette and a
// Qt style sheet.
//
//   ; comment
//   [style]
//   name = Harbour
//   base = Fusion            (optional: the Qt style drawn underneath)
//   [palette]
//   Window = #e9eef4         (any QPalette colour role; group prefixes
//   Disabled.Text = #9aa4ae   Active., Inactive., Disabled. allowed)
//   [sheet]
//   QPushButton { ... }      (everything up to the end of the file)
#include <QPalette>
#include <QString>
#include <optional>

struct TStyleFile
{
    QString name;
    QString base;
    QPalette palette; // only the roles the file sets are resolved
    QString sheet;
};

// The parsed style, or nothing with the reason in `error` when the text is not
// a valid style.
std::optional<TStyleFile> ParseStyleText(const QString &text, QString *error = nullptr);
std::optional<TStyleFile> ReadStyleFile(const QString &fileName, QString *error = nullptr);

// The sheet with every selector left out that could reach a menu or a menu
// bar, so that menus keep the default look under any style.
QString SheetWithoutMenus(const QString &sheet);
