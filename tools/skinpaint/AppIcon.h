// The viewer's icon: a ledger sheet with a caption band and striped rows in the grids' two
// colours, drawn with integer arithmetic at any size so that a rebuild gives the same bytes.
#pragma once
#include <QImage>

// A square ARGB image of `size` pixels (at least 16).
QImage PaintAppIcon(int size);
