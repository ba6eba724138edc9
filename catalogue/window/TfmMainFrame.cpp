#include "catalogue/window/TfmMainFrame.h"

#include "dialogs/WindowDrag.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QColor kBandColour(0, 64, 128); // 8404992 as 0x00BBGGRR

QFont frameFont(int pixelSize)
{
    QFont font(QStringLiteral("Segoe UI"));
    font.setPixelSize(pixelSize);
    return font;
}

void fill(QWidget *w, const QColor &colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colour);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

QWidget *panel(QWidget *parent, const char *name, const QColor &colour)
{
    auto *w = new QWidget(parent);
    w->setObjectName(QString::fromLatin1(name));
    fill(w, colour);
    return w;
}

// A 40-pixel band in the dark blue with its caption in the window-text colour.
QLabel *band(QWidget *parent, const char *name, const QString &caption, Qt::Alignment align)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setFixedHeight(40);
    label->setAlignment(align | Qt::AlignVCenter);
    label->setFont(frameFont(16));
    fill(label, kBandColour);
    return label;
}

QVBoxLayout *column(QWidget *w, int left, int top, int right, int bottom)
{
    auto *layout = new QVBoxLayout(w);
    layout->setContentsMargins(left, top, right, bottom);
    layout->setSpacing(0);
    return layout;
}

QPushButton *barButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFixedSize(100, 45);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

} // namespace

TfmMainFrame::TfmMainFrame(QWidget *parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("fmMain"));
    setWindowTitle(QStringLiteral("Pordane 2023"));
    setFont(frameFont(13));
    resize(kClientWidth, kClientHeight);

    auto *root = column(this, 0, 0, 0, 0);
    pnOuter = panel(this, "pnOuter", Qt::white);
    root->addWidget(pnOuter);

    // Content area: 2 pixels from the left, top and right; the button bar below.
    auto *outer = column(pnOuter, 2, 2, 2, 2);
    pnContent = panel(pnOuter, "pnContent", Qt::white);
    pnButtonBar = panel(pnOuter, "pnButtonBar", kBandColour);
    pnButtonBar->setFixedHeight(61);
    outer->addWidget(pnContent, 1);
    outer->addWidget(pnButtonBar);

    auto *content = column(pnContent, 0, 0, 0, 0);
    pnTitle = band(pnContent, "pnTitle", QStringLiteral("Pordane Hospitality"), Qt::AlignHCenter);
    content->addWidget(pnTitle);
    content->addSpacing(2);

    Splitter1 = new QSplitter(Qt::Horizontal, pnContent);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(3);
    Splitter1->setChildrenCollapsible(false);
    content->addWidget(Splitter1, 1);

    pnDepartments = new QWidget(Splitter1);
    pnDepartments->setObjectName(QStringLiteral("pnDepartments"));
    auto *departments = column(pnDepartments, 0, 0, 0, 0);
    pn01 = band(pnDepartments, "pn01", QStringLiteral("   9% Departments"), Qt::AlignLeft);
    tv = new QTreeWidget(pnDepartments);
    tv->setObjectName(QStringLiteral("tv"));
    tv->setHeaderHidden(true);
    tv->setIndentation(23);
    tv->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tv->setColumnCount(1);
    departments->addWidget(pn01);
    departments->addWidget(tv, 1);

    pnProducts = panel(Splitter1, "pnProducts", Qt::white);
    auto *products = column(pnProducts, 0, 0, 0, 0);
    pn02 = band(pnProducts, "pn02", QStringLiteral("   Products"), Qt::AlignLeft);
    lb = new QTableView(pnProducts);
    lb->setObjectName(QStringLiteral("lb"));
    lb->horizontalHeader()->hide();
    lb->verticalHeader()->hide();
    lb->setShowGrid(false);
    lb->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lb->setSelectionBehavior(QAbstractItemView::SelectRows);
    lb->setSelectionMode(QAbstractItemView::SingleSelection);
    // Lines between rows only, none between columns.
    lb->setStyleSheet(QStringLiteral("QTableView#lb::item { border-bottom: 1px solid palette(midlight); }"));
    products->addWidget(pn02);
    products->addWidget(lb, 1);

    Splitter1->addWidget(pnDepartments);
    Splitter1->addWidget(pnProducts);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    // The splitter spans the client width less the 2-pixel margins and its 3-pixel bar.
    Splitter1->setSizes({kDepartmentPaneWidth, kClientWidth - 4 - 3 - kDepartmentPaneWidth});

    // Button bar: Close at the right end, Proceed 2 pixels to its left.
    auto *bar = new QHBoxLayout(pnButtonBar);
    bar->setContentsMargins(0, 8, 8, 8);
    bar->setSpacing(2);
    bar->addStretch(1);
    btnProceed = barButton(pnButtonBar, "btnProceed", QStringLiteral("Proceed"));
    btnClose = barButton(pnButtonBar, "btnClose", QStringLiteral("Close"));
    bar->addWidget(btnProceed);
    bar->addWidget(btnClose);
    setTabOrder(btnClose, btnProceed);
    setTabOrder(btnProceed, tv);
    setTabOrder(tv, lb);

    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
    connect(btnProceed, &QPushButton::clicked, this, [this] { ProceedClick(); });

    auto *drag = new TWindowDrag(this, Qt::AllButtons);
    drag->attach(pnTitle);

    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

TfmMainFrame::~TfmMainFrame() = default;

void TfmMainFrame::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (fShown)
        return;
    fShown = true;
    FormShow();
}
