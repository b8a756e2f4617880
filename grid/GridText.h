// The texts a grid shows, taken out of it: a cell, rows as tab-separated text for the
// clipboard, and the whole result as CSV. Columns come in the grid's order (moved columns
// where they stand, hidden ones left out) with their title captions; cells are the display
// texts the grid paints, rows come in the data set's order. Nothing moves the data set.
// GUI thread only.
#pragma once
#include <QString>

class QIODevice;
class TCustomDBGrid;

// The current cell's display text; empty when the data set is closed.
QString GridCellText(const TCustomDBGrid& grid);

// The titles, then records `first` to `last` (0-based, clamped to the result), one line
// each ending in "\n", cells separated by tabs. A tab or line break inside a cell becomes a
// blank so that every record stays one line of the same shape.
QString GridRowsText(const TCustomDBGrid& grid, int first, int last);

// What Ctrl+C copies: the range of rows when there is one, else the current cell.
QString GridSelectionText(const TCustomDBGrid& grid);

// The whole result as CSV: a UTF-8 byte order mark (so that spreadsheet programs read the
// Chinese text right), the titles, then every record; cells separated by commas, records
// ending in CR LF; a cell holding a comma, a quote, CR or LF is put in quotes with its
// quotes doubled. Raises EWriteError when `out` fails.
void WriteGridCsv(const TCustomDBGrid& grid, QIODevice& out);

// WriteGridCsv into the file `path`, which is replaced only when everything was written;
// raises EWriteError (naming the file and the reason) otherwise, leaving any old file alone.
void ExportGridCsv(const TCustomDBGrid& grid, const QString& path);
