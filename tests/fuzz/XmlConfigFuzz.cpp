// "Config.xml" as the settings read it: the lookups the program's kind of keys make, below
// the root and below a site. A file that is not XML, or a value that is not one text, is
// refused with its reason; a lookup never changes the file.
#include "settings/XMLConfig.h"
#include "util/Errors.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Config.xml"));
    const QByteArray content(reinterpret_cast<const char *>(data), qsizetype(size));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        std::abort();
    file.close();

    const struct
    {
        const char *section, *key;
        int site;
    } lookups[] = {{"", "ProgramFolder", 0}, {"POS\\Till", "Printer", 0}, {"", "ProgramFolder", 7}, {"pos\\", "b", 0}};
    for (const auto &lookup : lookups) {
        try {
            TXMLConfig(path).ReadValue(QString::fromLatin1(lookup.section), QString::fromLatin1(lookup.key),
                                       QStringLiteral("default"), lookup.site);
        } catch (const EPosError &) {
            // not XML, or not one text where the value belongs: refused, named
        }
    }
    if (bytesOf(path) != content)
        std::abort();
    return 0;
}
