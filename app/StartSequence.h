#pragma once
// Bringing the program up and down in its fixed order.
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QApplication;
class QIcon;
class QWidget;

// A module's start and stop work.
struct TModule
{
    QString name;
    std::function<void()> start;
    std::function<void()> stop;
};

// The program's modules in the order they depend on each other: helpers,
// program folder, settings, log.
std::vector<TModule> ProgramModules();

// Starts the modules in order; stops the started ones in reverse order when
// destroyed, also when a start or anything after it fails.
class TModuleRun
{
public:
    explicit TModuleRun(std::vector<TModule> modules = ProgramModules());
    ~TModuleRun();
    TModuleRun(const TModuleRun &) = delete;
    TModuleRun &operator=(const TModuleRun &) = delete;

private:
    void stopAll();
    std::vector<TModule> fStarted;
};

// "Res/Orvo.ico" beside the program when it exists, else our own built-in icon.
// `programFolder` is the executable's folder when empty.
void ApplyApplicationIcon(const QString &programFolder = {});
// The built-in application icon.
QIcon BuiltInIcon();

// The whole run after the application object exists: modules, icon, style,
// title, main window, event loop, and everything down again in reverse.
// Returns the loop's exit code. An error before the loop (a settings hive
// another program keeps locked, say) stops what had started, is shown in the
// application's error box, and returns 1; the silent abort returns 1 unseen.
int RunStartSequence(QApplication &app, const std::function<std::unique_ptr<QWidget>()> &createMainWindow);
// The same with any run in place of the main window's (a command of the command line):
// its result is the exit code, and what it throws is shown as above.
int RunStartSequence(const std::function<int()> &run);
// A main window that chooses the program's exit status by how the operator's work ended.
class TExitStatusWindow
{
public:
    virtual ~TExitStatusWindow() = default;
    // 0 when the program did what was asked or the operator chose not to go on,
    // non-zero when it was refused or failed.
    virtual int exitStatus() const = 0;
};

// Shows the main window and runs the event loop until it closes; the loop's exit code,
// or, when that is 0, the window's own exit status when it chooses one.
int RunMainWindow(QApplication &app, const std::function<std::unique_ptr<QWidget>()> &createMainWindow);
