#include "settings/XMLConfig.h"

#include "util/Errors.h"
#include "util/Fields.h"
#include "util/Files.h"
#include "util/Numbers.h"
#include "util/uUtils.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString lowerAscii(const QString &text)
{
    QString result = text;
    for (QChar &c : result)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + 0x20);
    return result;
}

// The 19 bytes of an empty setup document.
const QByteArray kInitialContent = QByteArrayLiteral("<setup>\r\n</setup>\r\n");

void createInitialFile(const QString &fileName)
{
    if (QFileInfo::exists(fileName))
        return;
    QFile file(fileName);
    // NewOnly: a file another program made meanwhile is never overwritten.
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (file.write(kInitialContent) == kInitialContent.size() && file.flush())
            return;
        const QString error = file.errorString();
        file.remove();
        throw EPosError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, error));
    }
    if (!QFileInfo::exists(fileName))
        throw EPosError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, file.errorString()));
}

} // namespace

TXMLConfig::TXMLConfig() : TXMLConfig(QFileInfo(ModuleFileName()).absolutePath() + QStringLiteral("/Config.xml"))
{
}

TXMLConfig::TXMLConfig(const QString &fileName) : fFileName(fileName)
{
    createInitialFile(fFileName);
}

TXMLConfig::~TXMLConfig()
{
    try {
        Save();
    } catch (...) {
        // a destructor must not throw; nothing sets fModified in this program
    }
}

void TXMLConfig::Load()
{
    if (fLoaded)
        return;
    QFile file(fFileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EPosError(QStringLiteral("Cannot open file \"%1\". %2").arg(fFileName, file.errorString()));
    QString message;
    int line = 0;
    int column = 0;
    if (!fXMLDoc.setContent(file.readAll(), &message, &line, &column))
        throw EPosError(QStringLiteral("%1 (line %2, column %3) in \"%4\"")
                            .arg(message, QString::number(line), QString::number(column), fFileName));
    fLoaded = true;
    fModified = false;
}

void TXMLConfig::Save()
{
    if (!fModified)
        return;
    QSaveFile file(fFileName);
    if (file.open(QIODevice::WriteOnly) && file.write(fXMLDoc.toByteArray(2)) >= 0 && file.commit())
        fModified = false;
}

QString TXMLConfig::ReadValue(const QString &section, const QString &key, const QString &defaultValue, int siteNumber)
{
    Load();
    QString path =
        (section.isEmpty() ? QStringLiteral("general") : lowerAscii(section)) + QLatin1Char('\\') + lowerAscii(key);
    if (siteNumber > 0)
        path = QStringLiteral("site") + PadLeft(IntToText(siteNumber), 5, QLatin1Char('0'), false) + QLatin1Char('\\')
            + path;

    const QString separator = QStringLiteral("\\");
    QDomElement node = fXMLDoc.documentElement();
    const int parts = CountFields(path, separator);
    for (int i = 0; i < parts && !node.isNull(); ++i) {
        const QString part = GetField(i, path, separator);
        // Qt takes an empty name for "any element"; no element has the empty name.
        node = part.isEmpty() ? QDomElement() : node.firstChildElement(part);
    }
    if (node.isNull())
        return defaultValue;

    const QDomNodeList children = node.childNodes();
    if (children.isEmpty())
        return QString();
    if (children.size() == 1 && children.at(0).isText())
        return children.at(0).nodeValue();
    throw EPosError(QStringLiteral("Element \"%1\" does not contain a single text node").arg(node.tagName()));
}

QString ReadXMLSetting(const QString &section, const QString &key, const QString &defaultValue, int siteNumber)
{
    QString value = TXMLConfig().ReadValue(section, key, defaultValue, siteNumber);
    if (value.startsWith(QLatin1String("B64")))
        value = QString::fromUtf8(QByteArray::fromBase64(value.mid(3).toLatin1()));
    return value;
}
