// Tzebdbgrid: the data grid that paints every second screen row in a second background and
// text colour. The stripes belong to screen rows, not to records: the topmost row shown
// is always plain, so after a scroll by an odd number of rows every record shown changes
// colour, which is why a scroll repaints every row at once while stripes are on (the
// title row and the plain area right of the columns cannot change with a scroll).
#pragma once
#include "grid/DBGrid.h"
#include "platform/Colors.h"

class Tzebdbgrid : public TCustomDBGrid {
 public:
  explicit Tzebdbgrid(TComponent* owner);
  QString ClassName() const override { return QStringLiteral("Tzebdbgrid"); }

  bool Zebra() const { return zebra_; }
  TColor ZebraColor() const { return zebraColor_; }
  TColor ZebraFontColor() const { return zebraFontColor_; }
  // Each setter stores the value and repaints the whole grid at once, even when the value
  // is unchanged.
  void SetZebra(bool v);
  void SetZebraColor(TColor c);
  void SetZebraFontColor(TColor c);

  void Scroll(int distance) override;

 protected:
  void DrawCell(int gridCol, int gridRow, const TRect& rect, TGridDrawState state) override;
  int RowLookClass(int dataRow) const override;

 private:
  void RepaintNow();
  bool zebra_ = false;
  TColor zebraColor_ = clAqua;
  TColor zebraFontColor_ = clWindowText;
};
