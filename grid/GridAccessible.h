// Screen-reader access to the data grids: each grid is a table whose column headers are
// the column titles and whose cells hold the display texts of the whole result, in grid
// order (column headers first, then the records row by row). Cell objects are made on
// demand and dropped whenever the result changes. GUI thread only.
#pragma once

class TCustomDBGrid;
class QWidget;

// Makes `grid`'s widget known to Qt's accessibility; the first call installs the factory.
void RegisterGridAccessible(TCustomDBGrid* grid, QWidget* widget);
void UnregisterGridAccessible(QWidget* widget);
// Tells assistive tools that the grid's rows or columns were replaced.
void NotifyGridAccessibleReset(TCustomDBGrid* grid, QWidget* widget);
// Tells assistive tools which cell is current (while the grid has the focus).
void NotifyGridAccessibleFocus(TCustomDBGrid* grid, QWidget* widget);
