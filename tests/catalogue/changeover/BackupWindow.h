#pragma once
// The operator at the backup's window: presses its Cancel while the backup runs, or its
// Close once the backup has failed.
#include "tests/support/NextDialogs.h"

#include <QPushButton>

namespace changeover {

namespace detail {

inline QPushButton *liveButton(QWidget *window, const QString &caption)
{
    for (QPushButton *button : window->findChildren<QPushButton *>())
        if (button->text() == caption && button->isEnabled())
            return button;
    return nullptr;
}

} // namespace detail

// Presses Cancel once the backup's work has begun (Start greyed, Cancel live), so that it
// stops half-way.
inline NextDialogs::Answer cancelRunningBackup()
{
    return [](QWidget *window) {
        QPushButton *cancel = detail::liveButton(window, QStringLiteral("&Cancel"));
        if (!cancel || detail::liveButton(window, QStringLiteral("&Start")))
            return false;
        cancel->click();
        return true;
    };
}

// Presses Close once the backup has failed and says why.
inline NextDialogs::Answer closeFailedBackup()
{
    return [](QWidget *window) {
        QPushButton *close = detail::liveButton(window, QStringLiteral("&Close"));
        if (!close)
            return false;
        close->click();
        return true;
    };
}

// The message after a cancelled backup, as the dialog log notes it.
inline const QString kBackupCancelled =
    QStringLiteral("Information: The backup was cancelled; no VAT code was changed.");

} // namespace changeover
