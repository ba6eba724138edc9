#pragma once
// The frame of the main window: borderless, with its title band, the department
// and product panes, the splitter between them and the button bar. The data work
// (tree, product list, changeover) lives in the class derived from it.
#include <QWidget>

class QLabel;
class QPushButton;
class QSplitter;
class QTableView;
class QTreeWidget;

class TfmMainFrame : public QWidget
{
    Q_OBJECT
public:
    explicit TfmMainFrame(QWidget *parent = nullptr);
    ~TfmMainFrame() override;

    static constexpr int kClientWidth = 758;
    static constexpr int kClientHeight = 587;
    static constexpr int kDepartmentPaneWidth = 320;
    static constexpr int kTickColumnWidth = 24;

protected:
    // Runs once, on the first showing of the window.
    virtual void FormShow() {}
    // The Proceed button's click.
    virtual void ProceedClick() {}

    void showEvent(QShowEvent *event) override;

    QWidget *pnOuter;
    QWidget *pnContent;
    QLabel *pnTitle;
    QWidget *pnDepartments;
    QLabel *pn01;
    QTreeWidget *tv;
    QSplitter *Splitter1;
    QWidget *pnProducts;
    QLabel *pn02;
    QTableView *lb;
    QWidget *pnButtonBar;
    QPushButton *btnProceed;
    QPushButton *btnClose;

private:
    bool fShown = false;
};
