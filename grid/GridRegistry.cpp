#include "grid/GridRegistry.h"

#include "db/DataSource.h"
#include "grid/DBGrid.h"
#include "grid/zebdbgrid.h"
#include "platform/Streaming.h"

namespace {

const TIdentTable& OptionIdents() {
  static const TIdentTable t = {
      {QStringLiteral("dgEditing"), dgEditing},
      {QStringLiteral("dgAlwaysShowEditor"), dgAlwaysShowEditor},
      {QStringLiteral("dgTitles"), dgTitles},
      {QStringLiteral("dgIndicator"), dgIndicator},
      {QStringLiteral("dgColumnResize"), dgColumnResize},
      {QStringLiteral("dgColLines"), dgColLines},
      {QStringLiteral("dgRowLines"), dgRowLines},
      {QStringLiteral("dgTabs"), dgTabs},
      {QStringLiteral("dgRowSelect"), dgRowSelect},
      {QStringLiteral("dgAlwaysShowSelection"), dgAlwaysShowSelection},
      {QStringLiteral("dgConfirmDelete"), dgConfirmDelete},
      {QStringLiteral("dgCancelOnExit"), dgCancelOnExit},
      {QStringLiteral("dgMultiSelect"), dgMultiSelect},
  };
  return t;
}

}  // namespace

void RegisterGridClasses() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  RegisterPlatformClasses();

  RegisterClass<TColumnTitle>(QStringLiteral("TColumnTitle"))
      .Enum(QStringLiteral("Alignment"), &TColumnTitle::Alignment, &TColumnTitle::SetAlignment, AlignmentIdents(),
            static_cast<int>(taLeftJustify))
      .String(QStringLiteral("Caption"), &TColumnTitle::Caption, &TColumnTitle::SetCaption)
      .Color(QStringLiteral("Color"), &TColumnTitle::Color, &TColumnTitle::SetColor)
      .Font(QStringLiteral("Font"), [](TColumnTitle* t) { return t->FontRef(); },
            [](TColumnTitle* t) { t->FontChanged(); });

  RegisterClass<TColumn>(QStringLiteral("TColumn"))
      .Enum(QStringLiteral("Alignment"), &TColumn::Alignment, &TColumn::SetAlignment, AlignmentIdents())
      .Color(QStringLiteral("Color"), &TColumn::Color, &TColumn::SetColor)
      .Ignored(QStringLiteral("Expanded"))
      .String(QStringLiteral("FieldName"), &TColumn::FieldName, &TColumn::SetFieldName)
      .Font(QStringLiteral("Font"), [](TColumn* c) { return c->FontRef(); }, [](TColumn* c) { c->FontChanged(); })
      .Bool(QStringLiteral("ReadOnly"), &TColumn::ReadOnly, &TColumn::SetReadOnly, false)
      .Persistent<TColumnTitle>(QStringLiteral("Title"), QStringLiteral("TColumnTitle"),
                                [](TColumn* c) { return &c->Title(); })
      .Bool(QStringLiteral("Visible"), &TColumn::Visible, &TColumn::SetVisible, true)
      .Integer(QStringLiteral("Width"), &TColumn::Width, &TColumn::SetWidth);

  RegisterClass<TCustomDBGrid>(QStringLiteral("TCustomDBGrid"), QStringLiteral("TCustomControl"))
      .Collection(QStringLiteral("Columns"), [](TCustomDBGrid* g) { return &g->Columns(); })
      .Reference<TDataSource>(QStringLiteral("DataSource"), &TCustomDBGrid::DataSource, &TCustomDBGrid::SetDataSource)
      .Bool(QStringLiteral("DefaultDrawing"), &TCustomDBGrid::DefaultDrawing, &TCustomDBGrid::SetDefaultDrawing, true)
      .Color(QStringLiteral("FixedColor"), &TCustomDBGrid::FixedColor, &TCustomDBGrid::SetFixedColor, clBtnFace)
      .Set(QStringLiteral("Options"), &TCustomDBGrid::Options, &TCustomDBGrid::SetOptions, OptionIdents(),
           kDefaultDBGridOptions)
      .Bool(QStringLiteral("ReadOnly"), &TCustomDBGrid::ReadOnly, &TCustomDBGrid::SetReadOnly, false)
      .Font(QStringLiteral("TitleFont"), [](TCustomDBGrid* g) { return &g->TitleFontRef(); },
            [](TCustomDBGrid* g) { g->LayoutChanged(); })
      .Event(QStringLiteral("OnColEnter"), &TCustomDBGrid::OnColEnter)
      .Event(QStringLiteral("OnColExit"), &TCustomDBGrid::OnColExit)
      // Accepted as stored, without effect here.
      .Ignored(QStringLiteral("Ctl3D"))
      .Ignored(QStringLiteral("ParentCtl3D"))
      .Ignored(QStringLiteral("BorderStyle"))
      .Ignored(QStringLiteral("ImeMode"))
      .Ignored(QStringLiteral("ImeName"));

  RegisterClass<TDBGrid>(QStringLiteral("TDBGrid"), QStringLiteral("TCustomDBGrid"));

  RegisterClass<Tzebdbgrid>(QStringLiteral("Tzebdbgrid"), QStringLiteral("TCustomDBGrid"))
      .Bool(QStringLiteral("Zebra"), &Tzebdbgrid::Zebra, &Tzebdbgrid::SetZebra, false)
      .Color(QStringLiteral("ZebraColor"), &Tzebdbgrid::ZebraColor, &Tzebdbgrid::SetZebraColor, clAqua)
      .Color(QStringLiteral("ZebraFontColor"), &Tzebdbgrid::ZebraFontColor, &Tzebdbgrid::SetZebraFontColor,
             clWindowText);
}
