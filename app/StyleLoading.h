#pragma once
// Applies the style the user chose for the back-office suite ("Skin"), looked
// for below the program's own "Res/styles" and then below the suite's program
// folder. A missing or invalid style file leaves the default look, silently.
#include <QString>

class TStyleEngine;

// The two places a style named `skin` is looked for, in order.
QString StyleCandidateBesideProgram(const QString &programFolder, const QString &skin);
QString StyleCandidateInSuite(const QString &suiteFolder, const QString &firstCandidate);

// `programFolder` is the running executable's folder when empty.
void LoadVisualStyle(TStyleEngine &engine, const QString &programFolder = {});
