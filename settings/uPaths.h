#pragma once
// The back-office program folder and the mapping of server database paths to local ones.
#include <QString>

// Settles the program folder from the "ProgramFolder" setting; run once at start,
// after UtilsModuleStart.
void PathsModuleStart();
void PathsModuleStop();

// The program folder settled at start, with a trailing separator.
QString GetProgramFolder();

// The rule PathsModuleStart applies: the registry folder when it holds the
// back-office program, else the executable's folder when it holds it, else the
// executable's parent folder. Made with create; ends in a separator.
QString SettleProgramFolder(const QString &registryFolder, const QString &executableFile);

// The local path of the registered database whose server path is serverPath; a
// path that is already local comes back as it is; empty when nothing matches.
QString ServerToLocalPath(const QString &serverPath);
