#include "app/TfmMainFrame.h"

TfmMainFrame::TfmMainFrame(QWidget *parent) : QWidget(parent) {}
TfmMainFrame::~TfmMainFrame() = default;
void TfmMainFrame::showEvent(QShowEvent *event) { QWidget::showEvent(event); }
