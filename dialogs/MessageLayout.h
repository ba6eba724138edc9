#pragma once
// Where the parts of the message dialog go, as arithmetic on what was measured: the
// form measures its text and captions, these say the sizes and places.
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace messagelayout {

// The form before it is fitted to its content, and its fixed parts.
constexpr int kStartWidth = 220;
constexpr int kStartHeight = 140;
constexpr int kButtonPanelHeight = 64;
constexpr int kIconSize = 32;
// Where the icon sits before the content places it.
constexpr QPoint kIconStart(12, 12);

// The widest a message is shown on one line; a wider one wraps at 32 less.
int messageWidthLimit(const QRect &screen);

// Every button is as wide as the widest caption needs (its advance + 8), 100 at least.
int buttonWidth(const QList<int> &captionAdvances);

// What was measured of one dialog's content.
struct TContent
{
    QSize label;    // the message as shown, wrapped if it had to be
    int lineHeight; // one line of the message's font
    bool hasIcon;
    int buttonCount;
    int buttonWidth;
    int buttonHeight;
    bool hasCheckBox;
};

struct TContentPlaces
{
    QRect label;
    QRect icon; // kept in step with the label even while no icon shows
    QSize client;
};

// A short message is centred on the line 34 pixels down, a taller one starts at 18;
// the window is as wide as the text or the buttons need, 220 × 140 at least.
TContentPlaces placeContent(const TContent &content);

// The tallest the message may be for the window to fit within the screen's available
// height (placeContent's window is this much taller than its message).
int labelHeightLimit(const QRect &available, int buttonHeight, bool hasCheckBox);

// The top left corner that centres a window of this size on the screen.
QPoint centredOn(const QRect &screen, const QSize &client);
// The top left corner moved as little as needed for the window to lie within the
// screen's available area (its top left corner when the window is larger).
QPoint keptWithin(const QRect &available, const QPoint &topLeft, const QSize &client);

// The 1-pixel frame, the button panel at the bottom and the message panel above it.
struct TPanels
{
    QRect back;
    QRect main;
    QRect buttons;
};
TPanels panelsOf(const QSize &form);

// The left edge of button `index` of `count`, the last one rightmost, 16 from the edge.
int buttonLeft(int panelWidth, int buttonWidth, int index, int count);
// The check box keeps its left edge and sits 8 above the message panel's bottom.
QRect checkBoxPlace(const QRect &mainPanel, int left, int height);

} // namespace messagelayout
