#include "database/tools/SiteHive.h"

#include "settings/store/FileRegistryStore.h"
#include "util/Errors.h"

#include <QByteArray>
#include <QDir>

namespace {

std::wstring wide(const QString &text)
{
    return text.toStdWString();
}

// A text value as the registry keeps it: UTF-16LE with its ending NUL.
RegValue textValue(const QString &text)
{
    RegValue value;
    value.type = RegType::Sz;
    for (const QChar c : text + QChar(u'\0')) {
        value.data.push_back(static_cast<std::uint8_t>(c.unicode() & 0xFF));
        value.data.push_back(static_cast<std::uint8_t>(c.unicode() >> 8));
    }
    return value;
}

// The text of a text value, without its ending NUL; empty for any other type.
QString textOf(const RegValue &value)
{
    if (value.type != RegType::Sz && value.type != RegType::ExpandSz)
        return {};
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(value.data.data()),
                                            static_cast<qsizetype>(value.data.size() / 2));
    return text.left(text.indexOf(QChar(u'\0')));
}

void setText(RegistryStore &store, RegRoot root, const QString &path, const QString &name, const QString &text)
{
    std::unique_ptr<RegistryKey> key;
    RegResult result = store.createKey(root, wide(path), RegAccess::All, key);
    if (result == RegResult::Success)
        result = key->writeValue(wide(name), textValue(text));
    if (result != RegResult::Success)
        throw EPosError(QStringLiteral("Cannot write registry value %1\\%2 (error %3)")
                            .arg(path, name)
                            .arg(static_cast<long>(result)));
}

// The store finds its hives through the environment: point it at the folder for one call only.
struct TRegistryDirFor
{
    QByteArray previous = qgetenv("PORDANE_REGISTRY_DIR");
    bool wasSet = qEnvironmentVariableIsSet("PORDANE_REGISTRY_DIR");
    explicit TRegistryDirFor(const QString &dir)
    {
        qputenv("PORDANE_REGISTRY_DIR", QDir(dir).absolutePath().toLocal8Bit());
    }
    ~TRegistryDirFor() { wasSet ? qputenv("PORDANE_REGISTRY_DIR", previous) : qunsetenv("PORDANE_REGISTRY_DIR"); }
};

const QString kDatabaseKey = QStringLiteral("SOFTWARE\\Tollvane\\Orvo\\Database");

QString entryKeyOf(const QString &entry)
{
    return kDatabaseKey + QStringLiteral("\\List\\") + entry;
}

} // namespace

QStringList siteEntryPaths(const QString &folder, const QString &entry)
{
    TRegistryDirFor registryDir(folder);
    try {
        FileRegistryStore store;
        QStringList paths;
        for (RegRoot root : {RegRoot::LocalMachine, RegRoot::CurrentUser}) {
            std::unique_ptr<RegistryKey> key;
            if (store.openKey(root, wide(entryKeyOf(entry)), RegAccess::Read, key) != RegResult::Success)
                continue;
            for (const wchar_t *name : {L"LocalPath", L"ServerPath"}) {
                RegValue value;
                const QString path = key->readValue(name, value) == RegResult::Success ? textOf(value) : QString();
                if (!path.isEmpty() && !paths.contains(path))
                    paths.append(path);
            }
        }
        return paths;
    } catch (const RegistryStoreError &e) {
        throw EPosError(QString::fromStdString(e.what()));
    }
}

void writeUserSkin(const QString &folder, const QString &skin)
{
    TRegistryDirFor registryDir(folder);
    try {
        FileRegistryStore store;
        setText(store, RegRoot::CurrentUser, QStringLiteral("SOFTWARE\\Tollvane\\Orvo"), QStringLiteral("Skin"), skin);
    } catch (const RegistryStoreError &e) {
        throw EPosError(QString::fromStdString(e.what()));
    }
}

void writeSiteHive(const QString &folder, const QString &entry, const QString &localPath, const QString &serverPath)
{
    TRegistryDirFor registryDir(folder);

    try {
        FileRegistryStore store;
        const QString entryKey = entryKeyOf(entry);
        for (RegRoot root : {RegRoot::LocalMachine, RegRoot::CurrentUser}) {
            setText(store, root, kDatabaseKey, QStringLiteral("DefaultDatabase"), entry);
            setText(store, root, entryKey, QStringLiteral("LocalPath"), localPath);
            setText(store, root, entryKey, QStringLiteral("ServerPath"), serverPath);
        }
    } catch (const RegistryStoreError &e) {
        throw EPosError(QString::fromStdString(e.what()));
    }
}
