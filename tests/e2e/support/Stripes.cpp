#include "Stripes.h"

std::vector<TStripe> FindStripes(const QImage& shot, const QRect& area, const std::vector<QRgb>& colors,
                                 double minShare) {
  std::vector<TStripe> out;
  const QImage img = shot.convertToFormat(QImage::Format_RGB32);
  const QRect r = area.intersected(img.rect());
  for (int y = r.top(); y <= r.bottom(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    std::vector<int> counts(colors.size(), 0);
    for (int x = r.left(); x <= r.right(); ++x)
      for (size_t i = 0; i < colors.size(); ++i)
        if ((line[x] & 0xFFFFFF) == (colors[i] & 0xFFFFFF)) ++counts[i];
    int best = -1;
    for (size_t i = 0; i < colors.size(); ++i)
      if (counts[i] >= minShare * r.width() && (best < 0 || counts[i] > counts[static_cast<size_t>(best)]))
        best = static_cast<int>(i);
    if (best < 0) continue;
    const QRgb c = colors[static_cast<size_t>(best)];
    // Lines of neither colour between two lines of one colour (text) belong to the same band.
    if (!out.empty() && out.back().Color == c)
      out.back().Height = y - out.back().Top + 1;
    else
      out.push_back({c, y, 1});
  }
  return out;
}

int LongestAlternation(const std::vector<TStripe>& stripes, QRgb first, QRgb second) {
  int best = 0;
  for (size_t i = 0; i < stripes.size(); ++i) {
    if (stripes[i].Color != first) continue;
    int n = 1;
    for (size_t j = i + 1; j < stripes.size() && stripes[j].Color == (n % 2 ? second : first); ++j) ++n;
    best = std::max(best, n);
  }
  return best;
}
