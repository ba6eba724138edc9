#include "dialogs/MessageLayout.h"

#include <algorithm>

namespace messagelayout {

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
    int clientHeight = label.height() + content.buttonHeight + 67;
    if (content.hasCheckBox)
        clientHeight += 32;
    clientHeight = std::max(clientHeight, kStartHeight);

    return {QRect(QPoint(labelLeft, labelTop), label), QRect(iconLeft, iconTop, kIconSize, kIconSize),
            QSize(clientWidth, clientHeight)};
}

QPoint centredOn(const QRect &screen, const QSize &client)
{
    return {screen.x() + (screen.width() - client.width()) / 2, screen.y() + (screen.height() - client.height()) / 2};
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
