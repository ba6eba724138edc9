// pordane-clipboard-text: prints the text on an X display's clipboard; exits with 1
// when there is none. The smoke test of the Windows build reads a message box's text
// this way: Qt's message box copies it on Ctrl+C, and Wine hands Windows' clipboard on
// to X. Usage: pordane-clipboard-text
#include <QClipboard>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QString text = QGuiApplication::clipboard()->text();
    std::fputs(text.toUtf8().constData(), stdout);
    return text.isEmpty() ? 1 : 0;
}
