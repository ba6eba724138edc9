// pordane-screen-grab: saves what an X display shows as a PNG, for the README's
// screenshots. Usage: pordane-screen-grab <out.png> [x y width height]
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2 && args.size() != 6) {
        std::fprintf(stderr, "usage: pordane-screen-grab <out.png> [x y width height]\n");
        return 2;
    }
    QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    if (args.size() == 6)
        shot = shot.copy(args[2].toInt(), args[3].toInt(), args[4].toInt(), args[5].toInt());
    if (shot.isNull() || !shot.save(args[1], "PNG")) {
        std::fprintf(stderr, "pordane-screen-grab: could not grab the screen into %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
