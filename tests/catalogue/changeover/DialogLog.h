#pragma once
// Stands in for the operator at the program's dialogs: notes every dialog as
// "<kind>: <message>" and answers questions from a list (No once the list is used up).
#include "dialogs/AdvDialogs.h"
#include "dialogs/DialogAnswerer.h"

#include <QStringList>

namespace changeover {

enum Answer { Yes = mrFirstButton, No = mrFirstButton + 1 };

class TDialogLog
{
public:
    explicit TDialogLog(QList<Answer> answers = {}) : fAnswers(std::move(answers))
    {
        setDialogAnswerer([this](const QString &message, int type) {
            seen << kind(type) + QStringLiteral(": ") + message;
            if (type != mtQuestion)
                return int(mrFirstButton);
            return int(fAnswers.isEmpty() ? No : fAnswers.takeFirst());
        });
    }
    ~TDialogLog() { setDialogAnswerer({}); }
    TDialogLog(const TDialogLog &) = delete;
    TDialogLog &operator=(const TDialogLog &) = delete;

    void answer(QList<Answer> answers) { fAnswers = std::move(answers); }

    QStringList seen;

private:
    static QString kind(int type)
    {
        switch (type) {
        case mtQuestion:
            return QStringLiteral("Question");
        case mtError:
            return QStringLiteral("Error");
        case mtInformation:
            return QStringLiteral("Information");
        case mtWarning:
            return QStringLiteral("Warning");
        default:
            return QStringLiteral("Message");
        }
    }

    QList<Answer> fAnswers;
};

// The texts of the run, as the operator reads them.
inline const QString kTooEarly = QStringLiteral("Error: This tool can only be run from 00:00:00 on 01 Sep 2023");
inline const QString kBackupFailed = QStringLiteral("Information: Backup failed");
// The question, its last line counting what is ticked.
inline QString confirmWith(const QString &ticked)
{
    return QStringLiteral("Question: All checked departments and all checked products\r\nwill change sales/purchases "
                          "VAT from 9% to 13.5%.\r\n\r\nDo you wish to proceed?\r\n\r\n")
        + ticked;
}
inline const QString kNothingTicked = QStringLiteral("Nothing is ticked: only the backup will be made.");
// Bar ticked by its image on the small site, which ticks everything below it.
inline const QString kBarTicked =
    QStringLiteral("Ticked: 1 department, 2 sub-departments, 1 third-level department, 5 products.");
// The report, its last line naming the record written beside the backup.
inline QString doneWith(int rows, const QString &backupFile)
{
    return QStringLiteral("Information: Done.\r\n\r\nPlease check that the your vat rates are now correct\r\nand "
                          "then send full product file to the till\r\n\r\n%1 %2 changed; their record is "
                          "\"%3.changes.csv\".")
        .arg(rows)
        .arg(rows == 1 ? "row" : "rows", backupFile);
}

} // namespace changeover
