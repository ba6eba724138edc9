#pragma once
// Text stored without a declared encoding by programs that predate Unicode: Windows-1252
// on the back-office PCs, unless the bytes are valid UTF-8.
#include <QByteArrayView>
#include <QString>

// Every byte one character; 0x80-0x9F as Windows maps them (0x80 "€", 0x9C "œ"), the five
// it leaves undefined to the same code points as Latin-1.
QString fromWindows1252(QByteArrayView bytes);
// UTF-8 when the bytes are valid UTF-8, Windows-1252 otherwise.
QString fromUtf8OrWindows1252(QByteArrayView bytes);
