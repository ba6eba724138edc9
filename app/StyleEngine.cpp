#include "app/StyleEngine.h"

#include <QApplication>
#include <QMessageBox>
#include <QStyleFactory>

namespace {
QString keyOf(const QString &name)
{
    return name.toLower();
}

const char *const kMenuClasses[] = {"QMenu", "QMenuBar"};
} // namespace

TStyleEngine::TStyleEngine()
    : fReporter([](const QString &message) { QMessageBox::critical(nullptr, QStringLiteral("Style"), message); })
{
}

TStyleEngine &TStyleEngine::Instance()
{
    static TStyleEngine engine;
    return engine;
}

bool TStyleEngine::IsValidStyle(const QString &fileName, QString *styleName)
{
    const std::optional<TStyleFile> style = ReadStyleFile(fileName);
    if (style && styleName)
        *styleName = style->name;
    return style.has_value();
}

bool TStyleEngine::IsStyleRegistered(const QString &name) const
{
    return fStyles.contains(keyOf(name));
}

bool TStyleEngine::LoadFromFile(const QString &fileName)
{
    std::optional<TStyleFile> style = ReadStyleFile(fileName);
    if (!style || IsStyleRegistered(style->name))
        return false;
    fStyles.insert(keyOf(style->name), *style);
    return true;
}

void TStyleEngine::SetErrorReporter(TErrorReporter reporter)
{
    fReporter = std::move(reporter);
}

void TStyleEngine::report(const QString &message) const
{
    if (fReporter)
        fReporter(message);
}

void TStyleEngine::rememberDefaultLook()
{
    if (fHaveDefault)
        return;
    fDefaultStyleName = QApplication::style()->name();
    fDefaultPalette = QApplication::palette();
    fDefaultSheet = qApp->styleSheet();
    fHaveDefault = true;
}

bool TStyleEngine::TrySetStyle(const QString &name)
{
    const auto it = fStyles.constFind(keyOf(name));
    if (it == fStyles.constEnd()) {
        report(QStringLiteral("Style \"%1\" not found.").arg(name));
        return false;
    }
    const TStyleFile &style = *it;
    const QString baseName = style.base.isEmpty() ? QStringLiteral("Fusion") : style.base;
    QStyle *base = QStyleFactory::create(baseName);
    if (!base) {
        report(QStringLiteral("Style \"%1\" cannot be activated: its base look \"%2\" is not "
                              "available here (available: %3).")
                   .arg(style.name, baseName, QStyleFactory::keys().join(QStringLiteral(", "))));
        return false;
    }
    rememberDefaultLook();
    QApplication::setStyle(base);
    QPalette palette = style.palette.resolve(base->standardPalette());
    QApplication::setPalette(palette);
    for (const char *menuClass : kMenuClasses)
        QApplication::setPalette(fDefaultPalette, menuClass);
    qApp->setStyleSheet(SheetWithoutMenus(style.sheet));
    fActive = style.name;
    return true;
}

void TStyleEngine::Reset()
{
    if (!fHaveDefault)
        return;
    qApp->setStyleSheet(fDefaultSheet);
    QApplication::setStyle(fDefaultStyleName);
    QApplication::setPalette(fDefaultPalette);
    for (const char *menuClass : kMenuClasses)
        QApplication::setPalette(fDefaultPalette, menuClass);
    fActive.clear();
}
