#pragma once
// The program's style engine: validates style files, keeps the registered
// styles by name and activates one for the whole application. Menus are left
// out of styling: they keep the look the application had before any style.
#include "app/StyleFile.h"

#include <QMap>
#include <QPointer>
#include <QStyle>
#include <functional>

class TStyleEngine
{
public:
    using TErrorReporter = std::function<void(const QString &message)>;

    TStyleEngine();

    // The process-wide engine.
    static TStyleEngine &Instance();

    // True and the style's name when the file holds a valid style.
    static bool IsValidStyle(const QString &fileName, QString *styleName = nullptr);

    bool IsStyleRegistered(const QString &name) const;
    // Registers the style of a valid file under its name; false when the file
    // is not valid or a style of that name is registered already.
    bool LoadFromFile(const QString &fileName);

    // Makes the registered style the look of the application. On failure the
    // engine reports its own message and the look stays as it was.
    bool TrySetStyle(const QString &name);
    QString ActiveStyle() const { return fActive; }

    // Where failures are reported; by default a message box.
    void SetErrorReporter(TErrorReporter reporter);

    // Back to the look the application had before the first activation.
    void Reset();

private:
    void rememberDefaultLook();
    void report(const QString &message) const;

    QMap<QString, TStyleFile> fStyles; // by name, case-insensitive key
    QString fActive;
    TErrorReporter fReporter;
    bool fHaveDefault = false;
    QString fDefaultStyleName;
    QPalette fDefaultPalette;
    QString fDefaultSheet;
};
