#include "app/StyleLoading.h"

#include "app/StyleEngine.h"
#include "settings/uOrvoReg.h"
#include "util/Files.h"

#include <QFileInfo>

namespace {
const QString kStylesFolder = QStringLiteral("Res/styles/");

// Style names may come from a Windows installation with "\" between folders.
QString withSlashes(QString path)
{
    return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
}
} // namespace

QString StyleCandidateBesideProgram(const QString &programFolder, const QString &skin)
{
    return IncludeBackslash(programFolder, false) + kStylesFolder + withSlashes(skin);
}

QString StyleCandidateInSuite(const QString &suiteFolder, const QString &firstCandidate)
{
    const qsizetype cut =
        std::max(firstCandidate.lastIndexOf(QLatin1Char('/')), firstCandidate.lastIndexOf(QLatin1Char(':')));
    return IncludeBackslash(suiteFolder, false) + kStylesFolder + firstCandidate.mid(cut + 1);
}

void LoadVisualStyle(TStyleEngine &engine, const QString &programFolder)
{
    const QString skin = ReadUserSetting(QStringLiteral("Skin"), QString(), QString());
    if (skin.isEmpty())
        return;
    const QString folder = programFolder.isEmpty() ? QFileInfo(ModuleFileName()).absolutePath() : programFolder;
    QString candidate = StyleCandidateBesideProgram(folder, skin);
    if (!QFileInfo::exists(candidate)) {
        const QString suite = ReadSetting(QStringLiteral("ProgramFolder"), QString(), QString());
        candidate = StyleCandidateInSuite(suite, candidate);
    }
    QString styleName;
    if (!QFileInfo(candidate).isFile() || !TStyleEngine::IsValidStyle(candidate, &styleName))
        return;
    if (!engine.IsStyleRegistered(styleName))
        engine.LoadFromFile(candidate);
    engine.TrySetStyle(styleName);
}
