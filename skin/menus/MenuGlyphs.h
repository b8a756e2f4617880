// The small glyphs of menu items, drawn with the canvas's pen and brush (which keep the colour).
#pragma once
#include "platform/Types.h"

class TCanvas;

// A triangle pointing right, 4 pixels wide and 7 high, its left column at x from y to y + 6.
void PaintSubMenuArrow(TCanvas& canvas, int x, int y, TColor color);
// A filled dot in the box (x, y) to (x + 6, y + 6).
void PaintRadioDot(TCanvas& canvas, int x, int y, TColor color);
