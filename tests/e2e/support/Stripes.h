// Finding the zebra stripes of a grid in a screenshot.
#pragma once
#include <QColor>
#include <QImage>
#include <QRect>
#include <vector>

struct TStripe {
  QRgb Color;   // the band's background colour
  int Top = 0;  // first scan line
  int Height = 0;
};

// Horizontal bands of `area` in which at least `minShare` of each scan line has exactly one of
// `colors`; scan lines of neither (grid lines, lines of text) are skipped, and lines of one colour
// with only such lines between them form one band.
std::vector<TStripe> FindStripes(const QImage& shot, const QRect& area, const std::vector<QRgb>& colors,
                                 double minShare = 0.4);

// The longest run of bands that alternate between `first` and `second`, starting with `first`.
int LongestAlternation(const std::vector<TStripe>& stripes, QRgb first, QRgb second);
