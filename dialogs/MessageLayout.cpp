#include "dialogs/MessageLayout.h"

#include <algorithm>

namespace messagelayout {

namespace {

// The window's height apart from its message's.
int heightBesideLabel(int buttonHeight, bool hasCheckBox)
{
    return buttonHeight + 67 + (hasCheckBox ? 32 : 0);
}

} // namespace

int messageWidthLimit(const QRect &screen)
{
    return screen.width() / 2 + 100;
}

int buttonWidth(const QList<int> &captionAdvances)
{
    int width = 100;
    for (int advance : captionAdvances)
        width = std::max(width, advance + 8);
    return width;
}

TContentPlaces placeContent(const TContent &content)
{
    const int iconW = content.hasIcon ? kIconSize : 0;
    const int iconH = iconW;
    const QSize label = content.label;

    int labelTop;
    int iconTop;
    if (label.height() >= 33) {
        labelTop = 18;
        iconTop = labelTop;
    } else {
        labelTop = 34 - label.height() / 2;
        iconTop = 2 * content.lineHeight > label.height() ? 34 - iconH / 2 : labelTop;
    }
    const int labelLeft = content.hasIcon ? iconW + 31 : 16;
    const int iconLeft = content.hasIcon ? 16 : kIconStart.x();

    const int textNeed = content.hasIcon ? iconW + label.width() + 55 : label.width() + 40;
    const int buttonNeed = content.buttonCount * (content.buttonWidth + 7) + 31;
    const int clientWidth =
        (textNeed <= kStartWidth && buttonNeed <= kStartWidth) ? kStartWidth : std::max(textNeed, buttonNeed);
    int clientHeight = label.height() + heightBesideLabel(content.buttonHeight, content.hasCheckBox);
    clientHeight = std::max(clientHeight, kStartHeight);

    return {QRect(QPoint(labelLeft, labelTop), label), QRect(iconLeft, iconTop, kIconSize, kIconSize),
            QSize(clientWidth, clientHeight)};
}

int labelHeightLimit(const QRect &available, int buttonHeight, bool hasCheckBox)
{
    return std::max(0, available.height() - heightBesideLabel(buttonHeight, hasCheckBox));
}

QPoint centredOn(const QRect &screen, const QSize &client)
{
    return {screen.x() + (screen.width() - client.width()) / 2, screen.y() + (screen.height() - client.height()) / 2};
}

QPoint keptWithin(const QRect &available, const QPoint &topLeft, const QSize &client)
{
    const auto within = [](int start, int size, int areaStart, int areaSize) {
        return std::max(areaStart, std::min(start, areaStart + areaSize - size));
    };
    return {within(topLeft.x(), client.width(), available.x(), available.width()),
            within(topLeft.y(), client.height(), available.y(), available.height())};
}

TPanels panelsOf(const QSize &form)
{
    const QRect back(1, 1, form.width() - 2, form.height() - 2);
    const int inner = back.width() - 2;
    const QRect buttons(1, back.height() - 1 - kButtonPanelHeight, inner, kButtonPanelHeight);
    return {back, QRect(1, 1, inner, buttons.y() - 1), buttons};
}

int buttonLeft(int panelWidth, int buttonWidth, int index, int count)
{
    const int fromRight = count - 1 - index;
    return panelWidth - 16 - buttonWidth - (buttonWidth + 7) * fromRight;
}

QRect checkBoxPlace(const QRect &mainPanel, int left, int height)
{
    return {left, mainPanel.height() - 8 - height, std::max(0, mainPanel.width() - left), height};
}

} // namespace messagelayout
