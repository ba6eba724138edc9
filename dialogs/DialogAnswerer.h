#pragma once
// Test seam: while an answerer is set, MessageFormDlg shows nothing and returns
// what the answerer returns for the message and dialog type (100 + caption
// position, or 2). An empty function brings the real dialogs back.
#include <QString>
#include <functional>

using TDialogAnswerer = std::function<int(const QString &message, int dialogType)>;

void setDialogAnswerer(TDialogAnswerer answerer);
const TDialogAnswerer &dialogAnswerer();
