#pragma once
// The window shown while the main window loads its departments.
#include <QWidget>

class QLabel;
class TActivityIndicator;

class TfmSplash : public QWidget
{
    Q_OBJECT
public:
    explicit TfmSplash(QWidget *parent = nullptr);

    QLabel *Label1;
    TActivityIndicator *ActivityIndicator1;
};
