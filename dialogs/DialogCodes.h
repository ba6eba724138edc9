#pragma once
// The numbers the dialogs speak in: what kind of dialog it is and what it answered.

// Dialog types: select the icon and the sound.
enum TMsgDlgType : int {
    mtNone = 0,
    mtError = 16,
    mtQuestion = 32,
    mtWarning = 48,
    mtInformation = 64,
};

// What the short dialogs return: OK, Yes or No.
constexpr int mrOk = 1;
constexpr int mrYes = 6;
constexpr int mrNo = 7;
// Result numbers besides the buttons' own (100 + caption position).
constexpr int mrCancel = 2;
constexpr int mrFirstButton = 100;
