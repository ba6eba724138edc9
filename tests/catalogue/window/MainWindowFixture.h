#pragma once
// A main window on a real test database: a fresh registry folder pointing the back
// office's last used database at it, and the window shown, which runs the show sequence.
#include "catalogue/window/TfmMain.h"
#include "database/testing/TestDatabase.h"
#include "tests/support/TempRegistry.h"
#include "util/Errors.h"

#include <gtest/gtest.h>
#include <memory>

// The window with the program's default error handler stood in by a note of the error.
class TShownMain : public TfmMain
{
public:
    QString error;

protected:
    void FormShow() override
    {
        try {
            TfmMain::FormShow();
        } catch (const std::exception &e) {
            error = errorText(e);
        }
    }
};

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Registers the database path as the last used one and shows a new window.
    TShownMain &showOn(const QString &databasePath);
    TShownMain &showOn(const TTestDatabase &db) { return showOn(db.path()); }

    // Any splash window still alive.
    static bool splashAlive();

    TempRegistry fRegistry;
    std::unique_ptr<TShownMain> fWindow;
};
