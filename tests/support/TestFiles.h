#pragma once
// Files as the tests check them: a whole file's bytes, a file written in one go,
// and the files below a folder.
#include <QByteArray>
#include <QString>
#include <QStringList>

// The file's bytes; empty when it cannot be read.
QByteArray fileBytes(const QString &path);

// Replaces the file's content; a file that cannot be written fails the test.
void writeFile(const QString &path, const QByteArray &content);

// Every file below the folder, at any depth, relative to it and sorted.
QStringList filesBelow(const QString &folder);
