#pragma once
// A TBackup with the clock fixed, an English locale, answered dialogs, its own log
// folder, and a hand for the host window: it clicks the control's buttons as an
// operator would, and closes a host that hangs so that a test fails instead.
#include "backup/standin/controls/TStowlineControl.h"
#include "backup/uBackup.h"
#include "dialogs/DialogAnswerer.h"
#include "tests/backup/BackupTestSupport.h"
#include "tests/support/ClockGuard.h"
#include "tests/support/LocaleGuard.h"
#include "tests/support/NextDialogs.h"

#include <QApplication>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace backuptest {

struct ShownDialog
{
    QString message;
    int type;
};

class ClientTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setDialogAnswerer([this](const QString &message, int type) {
            dialogs.push_back({message, type});
            return answer;
        });
        // Failures of work that started by itself end at once unless a test waits for Close.
        fFailureWait = TStowlineControl::unattendedFailureWait();
        TStowlineControl::setUnattendedFailureWait(0);
        client = std::make_unique<TBackup>(true);
        fWatchdog.setInterval(60000);
        QObject::connect(&fWatchdog, &QTimer::timeout, [this] {
            if (client->f->isVisible()) {
                ADD_FAILURE() << "the host window was still open after a minute";
                client->f->done(99);
            }
        });
        fWatchdog.start();
    }
    void TearDown() override
    {
        fWatchdog.stop();
        client.reset();
        setDialogAnswerer({});
        TStowlineControl::setUnattendedFailureWait(fFailureWait);
    }

    // For the next host window: once ready() holds, clicks the visible, enabled
    // button with the caption (access-key "&" included).
    NextDialogs::Answer click(const QString &caption, std::function<bool()> ready = {})
    {
        return [this, caption, ready](QWidget *window) {
            if (window != client->f || (ready && !ready()))
                return false;
            for (QPushButton *button : client->f->findChildren<QPushButton *>()) {
                if (button->text() == caption && button->isVisible() && button->isEnabled()) {
                    QTest::mouseClick(button, Qt::LeftButton);
                    return true;
                }
            }
            return false;
        };
    }

    QStringList dialogMessages() const
    {
        QStringList messages;
        for (const ShownDialog &d : dialogs)
            messages << d.message;
        return messages;
    }

    ClockGuard clock{QDateTime(QDate(2023, 9, 1), QTime(8, 15, 30))};
    LocaleGuard locale{QLocale(QLocale::English, QLocale::UnitedStates)};
    LogFolderGuard logs;
    std::unique_ptr<TBackup> client;
    std::vector<ShownDialog> dialogs;
    int answer = 100; // Yes, or OK

private:
    QTimer fWatchdog;
    int fFailureWait = 0;
};

} // namespace backuptest
