// A style file as the style engine reads it from disk, and the sheet it would hand the
// application. A valid style has a name and a balanced sheet; leaving out what reaches
// menus must leave nothing more to leave out. Anything else aborts.
#include "app/StyleFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Fuzz.style"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        std::abort();
    file.close();

    QString error;
    const std::optional<TStyleFile> style = ReadStyleFile(path, &error);
    if (!style) {
        if (error.isEmpty())
            std::abort(); // refused without a reason
        return 0;
    }
    const QString sheet = SheetWithoutMenus(style->sheet);
    if (style->name.isEmpty() || SheetWithoutMenus(sheet) != sheet)
        std::abort();
    return 0;
}
