#pragma once
// The image list: three 16 x 16 images. 0 a framed box with a downward triangle
// (not shown anywhere), 1 an empty check box, 2 a ticked check box. A node's mark and
// a product's tick ("N" 1, "Y" 2) pick the image by number.
#include <QList>
#include <QPixmap>

QList<QPixmap> makeStateImages();

// The image number of a product tick.
int tickImageIndex(const QString &checked);
