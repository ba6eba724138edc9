#include "app/StartSequence.h"

#include "app/StyleEngine.h"
#include "app/StyleLoading.h"
#include "app/TApplication.h"
#include "dialogs/AdvDialogs.h"
#include "log/uLog.h"
#include "settings/uOrvoReg.h"
#include "settings/uPaths.h"
#include "util/Errors.h"
#include "util/Fields.h"
#include "util/Files.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QWidget>

std::vector<TModule> ProgramModules()
{
    return {
        {QStringLiteral("utilities"), UtilsModuleStart, UtilsModuleStop},
        // Apart from the helpers: its start reads the registry and may fail, and
        // the helpers must still be stopped then.
        {QStringLiteral("program folder"), PathsModuleStart, PathsModuleStop},
        {QStringLiteral("settings"), SettingsModuleStart, SettingsModuleStop},
        {QStringLiteral("log"), LogModuleStart, LogModuleStop},
    };
}

TModuleRun::TModuleRun(std::vector<TModule> modules)
{
    try {
        for (TModule &m : modules) {
            m.start();
            fStarted.push_back(std::move(m));
        }
    } catch (...) {
        stopAll();
        throw;
    }
}

TModuleRun::~TModuleRun()
{
    stopAll();
}

void TModuleRun::stopAll()
{
    while (!fStarted.empty()) {
        TModule m = std::move(fStarted.back());
        fStarted.pop_back();
        m.stop();
    }
}

QIcon BuiltInIcon()
{
    Q_INIT_RESOURCE(app_shell);
    QIcon icon;
    for (int size : {16, 32, 48, 256})
        icon.addFile(QStringLiteral(":/icons/pordane-%1.png").arg(size), QSize(size, size));
    return icon;
}

void ApplyApplicationIcon(const QString &programFolder)
{
    const QString folder = programFolder.isEmpty() ? QFileInfo(ModuleFileName()).absolutePath() : programFolder;
    const QString iconFile = IncludeBackslash(folder, false) + QStringLiteral("Res/Orvo.ico");
    QIcon icon;
    if (QFileInfo::exists(iconFile))
        icon = QIcon(iconFile);
    QApplication::setWindowIcon(icon.isNull() ? BuiltInIcon() : icon);
}

int RunMainWindow(QApplication &app, const std::function<std::unique_ptr<QWidget>()> &createMainWindow)
{
    std::unique_ptr<QWidget> mainWindow = createMainWindow();
    mainWindow->show();
    int exitCode = app.exec();
    if (const auto *chooser = dynamic_cast<const TExitStatusWindow *>(mainWindow.get()); chooser && exitCode == 0)
        exitCode = chooser->exitStatus();
    mainWindow.reset();
    return exitCode;
}

int RunStartSequence(const std::function<int()> &run)
{
    try {
        TModuleRun modules;
        ApplyApplicationIcon();
        LoadVisualStyle(TStyleEngine::Instance());
        SetApplicationTitle(TApplication::kTitle);
        return run();
    } catch (const EAbort &) {
        return 1;
    } catch (const std::exception &e) {
        // Outside the event loop nothing else shows an error. The modules have stopped by now.
        ShowErrorBox(errorText(e));
        return 1;
    }
}

int RunStartSequence(QApplication &app, const std::function<std::unique_ptr<QWidget>()> &createMainWindow)
{
    return RunStartSequence([&] { return RunMainWindow(app, createMainWindow); });
}
