#include "dialogs/MessageForm.h"

#include "dialogs/DialogCodes.h"
#include "dialogs/MessageLayout.h"
#include "dialogs/MessageText.h"
#include "dialogs/WindowDrag.h"
#include "util/Errors.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>

using namespace messagelayout;
using namespace messagetext;

namespace {

const QColor kPanelColour(66, 69, 66); // 4343106 as 0x00BBGGRR

// The most lines measured when a message is cut to fit the screen: no screen shows more.
constexpr qsizetype kMostLinesMeasured = 1000;

// The message as the label shows it, and its size.
struct TShownMessage
{
    QString text;
    QSize size;
};

// Wrapped, with break chances in words too wide, once its widest line is beyond the limit.
TShownMessage fitToWidth(const QFont &font, const QString &text, int widthLimit)
{
    TShownMessage shown{text, naturalTextSize(font, text)};
    if (widthLimit < shown.size.width()) {
        shown.size.setWidth(widthLimit - 32);
        shown.text = breakableLongWords(font, text, shown.size.width());
        shown.size.setHeight(wrappedTextHeight(font, shown.text, shown.size.width()));
    }
    return shown;
}

// As many of the message's first lines as fit `heightLimit`, then how many more it has; a
// single line too tall is cut off at the limit.
TShownMessage fitToHeight(const QFont &font, const QString &text, int widthLimit, int heightLimit)
{
    TShownMessage shown = fitToWidth(font, text, widthLimit);
    const qsizetype lineCount = text.count(QLatin1Char('\n')) + 1;
    if (shown.size.height() > heightLimit && lineCount > 1) {
        qsizetype fits = 0;
        qsizetype most = std::min(lineCount - 1, kMostLinesMeasured);
        while (fits < most) {
            const qsizetype tried = (fits + most + 1) / 2;
            if (fitToWidth(font, firstLines(text, tried), widthLimit).size.height() <= heightLimit)
                fits = tried;
            else
                most = tried - 1;
        }
        shown = fitToWidth(font, firstLines(text, fits), widthLimit);
    }
    shown.size.setHeight(std::min(shown.size.height(), heightLimit));
    return shown;
}

QWidget *makePanel(QWidget *parent, const QColor &colour, const char *name)
{
    auto *panel = new QWidget(parent);
    panel->setObjectName(QString::fromLatin1(name));
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, colour);
    panel->setPalette(pal);
    panel->setAutoFillBackground(true);
    return panel;
}

QFont dialogFont()
{
    QFont font(QStringLiteral("Segoe UI"));
    font.setPixelSize(13);
    return font;
}

QStyle::StandardPixmap iconOfType(int dlgType)
{
    switch (dlgType) {
    case mtError:
        return QStyle::SP_MessageBoxCritical;
    case mtQuestion:
        return QStyle::SP_MessageBoxQuestion;
    case mtWarning:
        return QStyle::SP_MessageBoxWarning;
    case mtInformation:
        return QStyle::SP_MessageBoxInformation;
    default:
        return QStyle::SP_CustomBase;
    }
}

// The letter after "&" in a caption, the button's access key.
QChar accessKey(const QString &caption)
{
    for (int i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] != QLatin1Char('&'))
            return caption[i + 1].toUpper();
        ++i;
    }
    return {};
}

} // namespace

TMessageForm::TMessageForm(QWidget *parent) : QDialog(parent)
{
    setFont(dialogFont());
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kPanelColour);
    setPalette(pal);
    setAutoFillBackground(true);

    pnBack = makePanel(this, Qt::white, "pnBack");
    pnMain = makePanel(pnBack, kPanelColour, "pnMain");
    pnButtons = makePanel(pnBack, kPanelColour, "pnButtons");

    image = new QLabel(pnMain);
    image->setObjectName(QStringLiteral("image"));
    image->setGeometry(QRect(kIconStart, QSize(kIconSize, kIconSize)));
    image->hide();

    MsgLabel = new QLabel(pnMain);
    MsgLabel->setObjectName(QStringLiteral("MsgLabel"));
    MsgLabel->setTextFormat(Qt::PlainText);
    MsgLabel->setWordWrap(true);
    MsgLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    MsgLabel->setFont(dialogFont());
    QPalette labelPal = MsgLabel->palette();
    labelPal.setColor(QPalette::WindowText, Qt::white);
    MsgLabel->setPalette(labelPal);

    auto *drag = new TWindowDrag(this, Qt::LeftButton);
    drag->attach(pnMain);
    drag->attach(pnButtons);
    drag->attach(MsgLabel);

    resize(kStartWidth, kStartHeight);
    layoutPanels();
}

void TMessageForm::setKeySwitches(bool escapeCancels, bool altF4Allowed)
{
    fEscapeCancels = escapeCancels;
    fAltF4Allowed = altF4Allowed;
}

void TMessageForm::layoutPanels()
{
    const TPanels panels = panelsOf(size());
    pnBack->setGeometry(panels.back);
    pnButtons->setGeometry(panels.buttons);
    pnMain->setGeometry(panels.main);

    // Buttons keep their distance from the right edge, the last caption rightmost.
    const int count = int(fButtons.size());
    for (int k = 0; k < count; ++k) {
        QPushButton *button = fButtons[k];
        button->move(buttonLeft(pnButtons->width(), button->width(), k, count), 10);
    }
    if (fCheckBox)
        fCheckBox->setGeometry(checkBoxPlace(pnMain->geometry(), fCheckBox->x(), fCheckBox->height()));
}

void TMessageForm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    layoutPanels();
}

// Seen before the controls (installed on each of them as well as on the form).
bool TMessageForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched != this)
        return handleKey(static_cast<QKeyEvent *>(event));
    return QDialog::eventFilter(watched, event);
}

void TMessageForm::keyPressEvent(QKeyEvent *event)
{
    if (!handleKey(event))
        QDialog::keyPressEvent(event);
}

// Escape, Alt+F4, Ctrl+C and the buttons' access keys; true when the key was used up.
bool TMessageForm::handleKey(QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Escape && mods == Qt::NoModifier) {
        if (fEscapeCancels)
            done(mrCancel);
        return true;
    }
    if (event->key() == Qt::Key_F4 && mods == Qt::AltModifier) {
        if (fAltF4Allowed)
            done(mrCancel);
        return true;
    }
    // As every message box on Windows: Ctrl+C copies the message, so that an operator
    // can paste it into a mail to support.
    if (event->matches(QKeySequence::Copy)) {
        QGuiApplication::clipboard()->setText(MsgLabel->text());
        return true;
    }
    if (mods != Qt::NoModifier && mods != Qt::AltModifier)
        return false;
    const QString typed = event->text().toUpper();
    for (QPushButton *button : std::as_const(fButtons)) {
        const QChar key = accessKey(button->text());
        if (!key.isNull() && typed == QString(key)) {
            button->click();
            return true;
        }
    }
    return false;
}

// A close request from outside (the window system's close command) counts as
// Alt+F4: refused unless that was allowed.
void TMessageForm::closeEvent(QCloseEvent *event)
{
    if (fAltF4Allowed)
        done(mrCancel);
    event->ignore();
}

class TMessageFormBuilder
{
public:
    static std::unique_ptr<TMessageForm> build(const QString &message, const QStringList &captions, int dlgType,
                                               const QString &caption, int buttonHeight, bool systemMenu,
                                               bool escapeCancels, bool altF4Allowed, const QString &cbCaption,
                                               const QString &cbSection, const QString &cbKey, int cbValue);
};

std::unique_ptr<TMessageForm> TMessageFormBuilder::build(const QString &message, const QStringList &captions,
                                                         int dlgType, const QString &caption, int buttonHeight,
                                                         bool systemMenu, bool escapeCancels, bool altF4Allowed,
                                                         const QString &cbCaption, const QString &cbSection,
                                                         const QString &cbKey, int cbValue)
{
    // Without a button (and Escape refused) the window could never be closed.
    if (captions.isEmpty())
        throw EPosError(QStringLiteral("A message dialog needs at least one button."));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const int widthLimit = messageWidthLimit(screen);

    auto form = std::make_unique<TMessageForm>();
    form->setKeySwitches(escapeCancels, altF4Allowed);
    form->setWindowTitle(caption);
    Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
    if (systemMenu)
        flags |= Qt::WindowSystemMenuHint;
    form->setWindowFlags(flags);

    // Message and icon: the message's long names cut, and cut to the lines the screen has room for.
    QLabel *label = form->MsgLabel;
    const QFont labelFont = label->font();
    const TShownMessage shown = fitToHeight(labelFont, shortenedNames(shownText(message)), widthLimit,
                                            labelHeightLimit(available, buttonHeight, !cbCaption.isEmpty()));
    label->setText(shown.text);
    const QSize labelSize = shown.size;
    const bool hasIcon = dlgType != mtNone;
    if (hasIcon) {
        form->image->setPixmap(form->style()->standardIcon(iconOfType(dlgType), nullptr, form.get()).pixmap(kIconSize));
        form->image->show();
    }

    // Buttons, all as wide as the widest caption needs.
    const QFontMetrics buttonMetrics(form->font());
    QList<int> captionAdvances;
    for (const QString &c : captions)
        captionAdvances.append(buttonMetrics.horizontalAdvance(c));
    const int buttonW = buttonWidth(captionAdvances);

    const TContentPlaces places =
        placeContent({labelSize, naturalTextSize(labelFont, QStringLiteral("X")).height(), hasIcon,
                      int(captions.size()), buttonW, buttonHeight, !cbCaption.isEmpty()});
    form->image->setGeometry(places.icon);
    label->setGeometry(places.label);

    for (int k = 0; k < captions.size(); ++k) {
        auto *button = new QPushButton(captions[k], form->pnButtons);
        button->setObjectName(QStringLiteral("button%1").arg(k));
        button->resize(buttonW, buttonHeight);
        button->setCursor(Qt::PointingHandCursor);
        button->setAutoDefault(true);
        const int result = mrFirstButton + k;
        QObject::connect(button, &QPushButton::clicked, form.get(), [f = form.get(), result] { f->done(result); });
        button->installEventFilter(form.get());
        form->fButtons.append(button);
    }
    // With buttons the outer 1-pixel frame shows in the button-face colour.
    QPalette pal = form->palette();
    pal.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    form->setPalette(pal);
    for (int k = 1; k < form->fButtons.size(); ++k)
        QWidget::setTabOrder(form->fButtons[k - 1], form->fButtons[k]);

    // Check box.
    if (!cbCaption.isEmpty()) {
        form->pbCbRegSection = cbSection;
        form->pbCbRegKey = cbKey;
        form->pbCbRegValue = cbValue;
        auto *box = new QCheckBox(cbCaption, form->pnMain);
        box->setObjectName(QStringLiteral("checkBox"));
        QPalette boxPal = box->palette();
        boxPal.setColor(QPalette::WindowText, Qt::white);
        box->setPalette(boxPal);
        const int left = places.label.left();
        box->setGeometry(left, 0, kStartWidth - left, box->sizeHint().height());
        box->lower();
        box->installEventFilter(form.get());
        form->fCheckBox = box;
        if (!form->fButtons.isEmpty())
            QWidget::setTabOrder(box, form->fButtons.first());
    }

    form->resize(places.client);
    form->layoutPanels();
    form->move(keptWithin(available, centredOn(screen, places.client), places.client));

    QWidget *first = form->fCheckBox ? static_cast<QWidget *>(form->fCheckBox)
                                     : (form->fButtons.isEmpty() ? nullptr : form->fButtons.first());
    if (first)
        first->setFocus();
    return form;
}

std::unique_ptr<TMessageForm> CreateMessageForm(const QString &message, const QStringList &captions, int dlgType,
                                                const QString &caption, int buttonHeight, bool systemMenu,
                                                bool escapeCancels, bool altF4Allowed, const QString &cbCaption,
                                                const QString &cbSection, const QString &cbKey, int cbValue)
{
    return TMessageFormBuilder::build(message, captions, dlgType, caption, buttonHeight, systemMenu, escapeCancels,
                                      altF4Allowed, cbCaption, cbSection, cbKey, cbValue);
}
