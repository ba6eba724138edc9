#include "dialogs/AdvDialogs.h"

#include "dialogs/DialogAnswerer.h"
#include "dialogs/WindowDrag.h"
#include "util/Errors.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextBoundaryFinder>
#include <QWindow>

#include <algorithm>
#include <climits>

namespace {

const QColor kPanelColour(66, 69, 66); // 4343106 as 0x00BBGGRR
constexpr int kStartWidth = 220;
constexpr int kStartHeight = 140;
constexpr int kButtonPanelHeight = 64;
constexpr int kIconSize = 32;

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

// Line breaks as the message may carry them (CR LF, LF or a lone CR), as one.
QString normalisedBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs;

// Size of the text drawn unwrapped (width of the longest line, height of all lines).
QSize naturalTextSize(const QFont &font, const QString &text)
{
    const QRect r = QFontMetrics(font).boundingRect(QRect(0, 0, INT_MAX / 4, INT_MAX / 4),
                                                    kTextFlags, text);
    return r.size();
}

// Height of the text wrapped at word boundaries within `width`.
int wrappedTextHeight(const QFont &font, const QString &text, int width)
{
    return QFontMetrics(font)
        .boundingRect(QRect(0, 0, width, INT_MAX / 4), kTextFlags | Qt::TextWordWrap, text)
        .height();
}

// The text with break chances (zero-width spaces) between the characters of every
// word wider than `width`, which word wrapping would otherwise cut off at the
// label's edge (a long file name in an error, for instance). Other words stay whole.
QString breakableLongWords(const QFont &font, const QString &text, int width)
{
    const QFontMetrics metrics(font);
    QString out;
    out.reserve(text.size());
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && !text.at(end).isSpace())
            ++end;
        const QString word = text.mid(start, end - start);
        if (metrics.horizontalAdvance(word) > width) {
            QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, word);
            qsizetype from = 0;
            for (qsizetype to = graphemes.toNextBoundary(); to > 0; to = graphemes.toNextBoundary()) {
                if (from > 0)
                    out += QChar(0x200B);
                out += word.mid(from, to - from);
                from = to;
            }
        } else {
            out += word;
        }
        while (end < text.size() && text.at(end).isSpace())
            out += text.at(end++);
        start = end;
    }
    return out;
}

QStyle::StandardPixmap iconOfType(int dlgType)
{
    switch (dlgType) {
    case mtError: return QStyle::SP_MessageBoxCritical;
    case mtQuestion: return QStyle::SP_MessageBoxQuestion;
    case mtWarning: return QStyle::SP_MessageBoxWarning;
    case mtInformation: return QStyle::SP_MessageBoxInformation;
    default: return QStyle::SP_CustomBase;
    }
}

// The dialog is topmost; other topmost windows of the application step back
// for its time so they cannot cover it.
class TTopmostsNormalised
{
public:
    explicit TTopmostsNormalised(const QWidget *dialog)
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            QWindow *handle = w->windowHandle();
            if (w == dialog || !w->isVisible() || !handle
                || !(handle->flags() & Qt::WindowStaysOnTopHint))
                continue;
            handle->setFlags(handle->flags() & ~Qt::WindowStaysOnTopHint);
            fWindows.append(handle);
        }
    }
    ~TTopmostsNormalised()
    {
        for (QWindow *handle : std::as_const(fWindows))
            if (handle)
                handle->setFlags(handle->flags() | Qt::WindowStaysOnTopHint);
    }

private:
    QList<QPointer<QWindow>> fWindows;
};

// The busy pointer over the whole application while a dialog is up; taken
// back on every way out, an escaping error included.
class TBusyPointer
{
public:
    TBusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyPointer() { QApplication::restoreOverrideCursor(); }
    TBusyPointer(const TBusyPointer &) = delete;
    TBusyPointer &operator=(const TBusyPointer &) = delete;
};

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
    image->setGeometry(12, 12, kIconSize, kIconSize);
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
    pnBack->setGeometry(1, 1, width() - 2, height() - 2);
    const int inner = pnBack->width() - 2;
    pnButtons->setGeometry(1, pnBack->height() - 1 - kButtonPanelHeight, inner, kButtonPanelHeight);
    pnMain->setGeometry(1, 1, inner, pnButtons->y() - 1);

    // Buttons keep their distance from the right edge, the last caption rightmost.
    const int count = int(fButtons.size());
    for (int k = 0; k < count; ++k) {
        QPushButton *button = fButtons[k];
        const int i = count - 1 - k;
        const int w = button->width();
        button->move(pnButtons->width() - 16 - w - (w + 7) * i, 10);
    }
    if (fCheckBox) {
        const int left = fCheckBox->x();
        fCheckBox->setGeometry(left, pnMain->height() - 8 - fCheckBox->height(),
                               std::max(0, pnMain->width() - left), fCheckBox->height());
    }
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

// Escape, Alt+F4 and the buttons' access keys; true when the key was used up.
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
    static std::unique_ptr<TMessageForm> build(const QString &message, const QStringList &captions,
                                               int dlgType, const QString &caption,
                                               int buttonHeight, bool systemMenu,
                                               bool escapeCancels, bool altF4Allowed,
                                               const QString &cbCaption, const QString &cbSection,
                                               const QString &cbKey, int cbValue);
};

std::unique_ptr<TMessageForm> TMessageFormBuilder::build(
    const QString &message, const QStringList &captions, int dlgType, const QString &caption,
    int buttonHeight, bool systemMenu, bool escapeCancels, bool altF4Allowed,
    const QString &cbCaption, const QString &cbSection, const QString &cbKey, int cbValue)
{
    // Without a button (and Escape refused) the window could never be closed.
    if (captions.isEmpty())
        throw EPosError(QStringLiteral("A message dialog needs at least one button."));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const int widthLimit = screen.width() / 2 + 100;

    QString text = message;
    if (text.size() >= 2 && text[text.size() - 2] == QLatin1Char('\r'))
        text.chop(2);
    text = normalisedBreaks(text);

    auto form = std::make_unique<TMessageForm>();
    form->setKeySwitches(escapeCancels, altF4Allowed);
    form->setWindowTitle(caption);
    Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
    if (systemMenu)
        flags |= Qt::WindowSystemMenuHint;
    form->setWindowFlags(flags);

    // Message and icon.
    QLabel *label = form->MsgLabel;
    const QFont labelFont = label->font();
    label->setText(text);
    QSize labelSize = naturalTextSize(labelFont, text);

    QLabel *image = form->image;
    int iconW = 0;
    int iconH = 0;
    if (dlgType != mtNone) {
        const QPixmap pix =
            form->style()->standardIcon(iconOfType(dlgType), nullptr, form.get()).pixmap(kIconSize);
        iconW = kIconSize;
        iconH = kIconSize;
        image->setPixmap(pix);
        image->setGeometry(16, image->y(), iconW, iconH);
        image->show();
    }
    if (widthLimit < labelSize.width()) {
        labelSize.setWidth(widthLimit - 32);
        const QString wrapped = breakableLongWords(labelFont, text, labelSize.width());
        label->setText(wrapped);
        labelSize.setHeight(wrappedTextHeight(labelFont, wrapped, labelSize.width()));
    }
    int labelTop;
    if (labelSize.height() >= 33) {
        labelTop = 18;
        image->move(image->x(), labelTop);
    } else {
        labelTop = 34 - labelSize.height() / 2;
        const int oneLine = naturalTextSize(labelFont, QStringLiteral("X")).height();
        if (2 * oneLine > labelSize.height())
            image->move(image->x(), 34 - iconH / 2);
        else
            image->move(image->x(), labelTop);
    }
    const int labelLeft = dlgType != mtNone ? iconW + 31 : 16;
    label->setGeometry(labelLeft, labelTop, labelSize.width(), labelSize.height());

    // Buttons, all as wide as the widest caption needs.
    const QFontMetrics buttonMetrics(form->font());
    int buttonWidth = 100;
    for (const QString &c : captions)
        buttonWidth = std::max(buttonWidth, buttonMetrics.horizontalAdvance(c) + 8);
    for (int k = 0; k < captions.size(); ++k) {
        auto *button = new QPushButton(captions[k], form->pnButtons);
        button->setObjectName(QStringLiteral("button%1").arg(k));
        button->resize(buttonWidth, buttonHeight);
        button->setCursor(Qt::PointingHandCursor);
        button->setAutoDefault(true);
        const int result = mrFirstButton + k;
        QObject::connect(button, &QPushButton::clicked, form.get(),
                         [f = form.get(), result] { f->done(result); });
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
        box->setGeometry(labelLeft, 0, kStartWidth - labelLeft, box->sizeHint().height());
        box->lower();
        box->installEventFilter(form.get());
        form->fCheckBox = box;
        if (!form->fButtons.isEmpty())
            QWidget::setTabOrder(box, form->fButtons.first());
    }

    // Client size.
    const int textNeed = dlgType != mtNone ? iconW + labelSize.width() + 55 : labelSize.width() + 40;
    const int buttonNeed = int(captions.size()) * (buttonWidth + 7) + 31;
    const int clientWidth =
        (textNeed <= kStartWidth && buttonNeed <= kStartWidth) ? kStartWidth
                                                               : std::max(textNeed, buttonNeed);
    int clientHeight = labelSize.height() + buttonHeight + 67;
    if (form->fCheckBox)
        clientHeight += 32;
    clientHeight = std::max(clientHeight, kStartHeight);
    form->resize(clientWidth, clientHeight);
    form->layoutPanels();
    form->move(screen.x() + (screen.width() - clientWidth) / 2,
               screen.y() + (screen.height() - clientHeight) / 2);

    QWidget *first = form->fCheckBox ? static_cast<QWidget *>(form->fCheckBox)
                                     : (form->fButtons.isEmpty() ? nullptr : form->fButtons.first());
    if (first)
        first->setFocus();
    return form;
}

std::unique_ptr<TMessageForm> CreateMessageForm(const QString &message, const QStringList &captions,
                                                int dlgType, const QString &caption,
                                                int buttonHeight, bool systemMenu,
                                                bool escapeCancels, bool altF4Allowed,
                                                const QString &cbCaption, const QString &cbSection,
                                                const QString &cbKey, int cbValue)
{
    return TMessageFormBuilder::build(message, captions, dlgType, caption, buttonHeight,
                                      systemMenu, escapeCancels, altF4Allowed, cbCaption,
                                      cbSection, cbKey, cbValue);
}

int MessageFormDlg(const QString &message, const QStringList &captions, int dlgType,
                   const QString &caption, int buttonHeight, bool systemMenu, bool escapeCancels,
                   bool altF4Allowed, const QString &cbCaption, const QString &cbSection,
                   const QString &cbKey, int cbValue)
{
    if (const TDialogAnswerer &answer = dialogAnswerer())
        return answer(message, dlgType);

    QCoreApplication::processEvents();
    int result;
    {
        TBusyPointer busy;
        QApplication::beep();
        std::unique_ptr<TMessageForm> form =
            CreateMessageForm(message, captions, dlgType, caption, buttonHeight, systemMenu,
                              escapeCancels, altF4Allowed, cbCaption, cbSection, cbKey, cbValue);
        {
            TTopmostsNormalised stepBack(form.get());
            result = form->exec();
        }
        form.reset();
        QCoreApplication::processEvents();
    }
    return result;
}

namespace {
QString &applicationTitleSlot()
{
    static QString title;
    return title;
}
} // namespace

QString ApplicationTitle()
{
    const QString &title = applicationTitleSlot();
    return title.isEmpty() ? QGuiApplication::applicationDisplayName() : title;
}

void SetApplicationTitle(const QString &title)
{
    applicationTitleSlot() = title;
}

namespace {
QString captionOrTitle(const QString &caption)
{
    return caption.isEmpty() ? ApplicationTitle() : caption;
}

int okDialog(const QString &message, const QString &caption, int dlgType)
{
    const int r = MessageFormDlg(message, {QStringLiteral("&Ok")}, dlgType, captionOrTitle(caption),
                                 40, false, false, false);
    return r == mrFirstButton ? 1 : r;
}
} // namespace

int QuestionDlg(const QString &message, const QString &caption, const QString &cbCaption,
                const QString &cbKey)
{
    const int r = MessageFormDlg(message, {QStringLiteral("&Yes"), QStringLiteral("&No")},
                                 mtQuestion, captionOrTitle(caption), 40, false, false, false,
                                 cbCaption, QStringLiteral("Dialogs"), cbKey, 0);
    if (r == mrFirstButton)
        return 6;
    if (r == mrFirstButton + 1)
        return 7;
    return r;
}

int InformationDlg(const QString &message, const QString &caption)
{
    okDialog(message, caption, mtInformation);
    return 1;
}

int ErrorDlg(const QString &message, const QString &caption)
{
    return okDialog(message, caption, mtError);
}

int WarningDlg(const QString &message, const QString &caption)
{
    return okDialog(message, caption, mtWarning);
}
