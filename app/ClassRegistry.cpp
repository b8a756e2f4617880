// Stored properties of the data access, skin, skinned control and grid classes, as the query
// form's definition stores them (names and defaults as the components publish them).
#include "app/ClassRegistry.h"

#include "db/ClientDataSet.h"
#include "db/DataSetProvider.h"
#include "db/DataSource.h"
#include "db/Field.h"
#include "db/SQLConnection.h"
#include "db/SQLDataSet.h"
#include "grid/zebdbgrid.h"
#include "platform/Streaming.h"
#include "skin/controls/bsSkinButton.h"
#include "skin/controls/bsSkinEdit.h"
#include "skin/controls/bsSkinPanel.h"
#include "skin/controls/bsSkinStdLabel.h"
#include "skin/controls/bsSkinTabs.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"
#include "skin/form/bsSkinForm.h"

namespace {
const TIdentTable& AlignmentIdents() {
  static const TIdentTable t = {{QStringLiteral("taLeftJustify"), taLeftJustify},
                                {QStringLiteral("taRightJustify"), taRightJustify},
                                {QStringLiteral("taCenter"), taCenter}};
  return t;
}

// A property that the definition may hold but that nothing here keeps (empty parameter and
// aggregate collections of the data sets).
template <class T>
void Accept(TClassBuilder<T>& b, const char* name) {
  b.Ignored(QLatin1String(name));
}

void RegisterDataClasses() {
  RegisterClass<TSQLConnection>(QStringLiteral("TSQLConnection"), QStringLiteral("TComponent"))
      .String(QStringLiteral("ConnectionName"), &TSQLConnection::ConnectionName, &TSQLConnection::SetConnectionName)
      .String(QStringLiteral("DriverName"), &TSQLConnection::DriverName, &TSQLConnection::SetDriverName)
      .String(QStringLiteral("GetDriverFunc"), &TSQLConnection::GetDriverFunc, &TSQLConnection::SetGetDriverFunc)
      .String(QStringLiteral("LibraryName"), &TSQLConnection::LibraryName, &TSQLConnection::SetLibraryName)
      .Bool(QStringLiteral("LoadParamsOnConnect"), &TSQLConnection::LoadParamsOnConnect,
            &TSQLConnection::SetLoadParamsOnConnect, false)
      .Bool(QStringLiteral("LoginPrompt"), &TSQLConnection::LoginPrompt, &TSQLConnection::SetLoginPrompt, true)
      .StringList(QStringLiteral("Params"), [](const TSQLConnection* c) { return c->Params(); }, &TSQLConnection::SetParams)
      .String(QStringLiteral("VendorLib"), &TSQLConnection::VendorLib, &TSQLConnection::SetVendorLib)
      .Bool(QStringLiteral("KeepConnection"), &TSQLConnection::KeepConnection, &TSQLConnection::SetKeepConnection, true)
      .Bool(QStringLiteral("Connected"), &TSQLConnection::Connected, &TSQLConnection::SetConnected, false);

  static const TIdentTable kCommandTypes = {{QStringLiteral("ctQuery"), static_cast<int>(TSQLCommandType::ctQuery)},
                                            {QStringLiteral("ctTable"), static_cast<int>(TSQLCommandType::ctTable)},
                                            {QStringLiteral("ctStoredProc"),
                                             static_cast<int>(TSQLCommandType::ctStoredProc)}};
  auto sql = RegisterClass<TSQLDataSet>(QStringLiteral("TSQLDataSet"), QStringLiteral("TComponent"));
  sql.String(QStringLiteral("CommandText"), &TSQLDataSet::CommandText, &TSQLDataSet::SetCommandText)
      .Enum(QStringLiteral("CommandType"), &TSQLDataSet::CommandType, &TSQLDataSet::SetCommandType, kCommandTypes,
            static_cast<int>(TSQLCommandType::ctQuery))
      .Integer(QStringLiteral("MaxBlobSize"), &TSQLDataSet::MaxBlobSize, &TSQLDataSet::SetMaxBlobSize, 0)
      .Reference<TSQLConnection>(QStringLiteral("SQLConnection"), &TSQLDataSet::SQLConnection,
                                 &TSQLDataSet::SetSQLConnection);
  Accept(sql, "Params");

  static const TIdentTable kProviderOptions = {
      {QStringLiteral("poFetchBlobsOnDemand"), poFetchBlobsOnDemand},
      {QStringLiteral("poFetchDetailsOnDemand"), poFetchDetailsOnDemand},
      {QStringLiteral("poIncFieldProps"), poIncFieldProps},
      {QStringLiteral("poCascadeDeletes"), poCascadeDeletes},
      {QStringLiteral("poCascadeUpdates"), poCascadeUpdates},
      {QStringLiteral("poReadOnly"), poReadOnly},
      {QStringLiteral("poAllowMultiRecordUpdates"), poAllowMultiRecordUpdates},
      {QStringLiteral("poDisableInserts"), poDisableInserts},
      {QStringLiteral("poDisableEdits"), poDisableEdits},
      {QStringLiteral("poDisableDeletes"), poDisableDeletes},
      {QStringLiteral("poNoReset"), poNoReset},
      {QStringLiteral("poAutoRefresh"), poAutoRefresh},
      {QStringLiteral("poPropogateChanges"), poPropogateChanges},
      {QStringLiteral("poAllowCommandText"), poAllowCommandText},
      {QStringLiteral("poRetainServerOrder"), poRetainServerOrder}};
  RegisterClass<TDataSetProvider>(QStringLiteral("TDataSetProvider"), QStringLiteral("TComponent"))
      .Reference<TSQLDataSet>(QStringLiteral("DataSet"), &TDataSetProvider::DataSet, &TDataSetProvider::SetDataSet)
      .Set(QStringLiteral("Options"), &TDataSetProvider::Options, &TDataSetProvider::SetOptions, kProviderOptions, 0u);

  auto cds = RegisterClass<TClientDataSet>(QStringLiteral("TClientDataSet"), QStringLiteral("TComponent"));
  cds.String(QStringLiteral("ProviderName"), &TClientDataSet::ProviderName, &TClientDataSet::SetProviderName)
      .Integer(QStringLiteral("PacketRecords"), &TClientDataSet::PacketRecords, &TClientDataSet::SetPacketRecords, -1)
      .Bool(QStringLiteral("Active"), &TClientDataSet::Active, &TClientDataSet::SetActive, false);
  Accept(cds, "Aggregates");
  Accept(cds, "Params");

  RegisterClass<TDataSource>(QStringLiteral("TDataSource"), QStringLiteral("TComponent"))
      .Reference<TDataSet>(QStringLiteral("DataSet"), &TDataSource::DataSet, &TDataSource::SetDataSet)
      .Bool(QStringLiteral("Enabled"), &TDataSource::Enabled, &TDataSource::SetEnabled, true);

  RegisterClass<TField>(QStringLiteral("TField"), QStringLiteral("TComponent"))
      .String(QStringLiteral("DisplayLabel"), &TField::DisplayLabel, &TField::SetDisplayLabel)
      .String(QStringLiteral("FieldName"), &TField::FieldName, &TField::SetFieldName)
      .Bool(QStringLiteral("Required"), &TField::Required, &TField::SetRequired, false)
      .Integer(QStringLiteral("Size"), &TField::Size, &TField::SetSize, 0);
  RegisterClass<TStringField>(QStringLiteral("TStringField"), QStringLiteral("TField"));
  RegisterClass<TFloatField>(QStringLiteral("TFloatField"), QStringLiteral("TField"));
}

void RegisterSkinDataClasses() {
  RegisterClass<TbsStoredSkin>(QStringLiteral("TbsStoredSkin"), QStringLiteral("TComponent"))
      .String(QStringLiteral("FileName"), &TbsStoredSkin::FileName, &TbsStoredSkin::SetFileName)
      .StringList(QStringLiteral("IniStrings"), &TbsStoredSkin::IniStrings, &TbsStoredSkin::SetIniStrings)
      .Binary(QStringLiteral("Pictures"), [](TbsStoredSkin* s, TStream& in) { s->ReadPictures(in); },
              [](TbsStoredSkin* s, TStream& out) {
                s->WritePictures(out);
                return true;
              });
  RegisterClass<TbsCompressedStoredSkin>(QStringLiteral("TbsCompressedStoredSkin"), QStringLiteral("TComponent"))
      .String(QStringLiteral("FileName"), &TbsCompressedStoredSkin::FileName, &TbsCompressedStoredSkin::SetFileName)
      .Binary(QStringLiteral("CompressedData"), [](TbsCompressedStoredSkin* s, TStream& in) { s->ReadData(in); },
              [](TbsCompressedStoredSkin* s, TStream& out) {
                s->WriteData(out);
                return true;
              });
  RegisterClass<TbsSkinData>(QStringLiteral("TbsSkinData"), QStringLiteral("TComponent"))
      .Reference<TbsStoredSkin>(QStringLiteral("StoredSkin"), &TbsSkinData::StoredSkin, &TbsSkinData::SetStoredSkin)
      .Reference<TbsCompressedStoredSkin>(QStringLiteral("CompressedStoredSkin"), &TbsSkinData::CompressedStoredSkin,
                                          &TbsSkinData::SetCompressedStoredSkin);
}

void RegisterSkinControlClasses() {
  static const TIdentTable kBorderStyles = {{QStringLiteral("bvRaised"), bvRaised},
                                            {QStringLiteral("bvLowered"), bvLowered},
                                            {QStringLiteral("bvNone"), bvNone},
                                            {QStringLiteral("bvFrame"), bvFrame}};
  RegisterClass<TbsSkinControl>(QStringLiteral("TbsSkinControl"), QStringLiteral("TCustomControl"))
      .Reference<TbsSkinData>(QStringLiteral("SkinData"), &TbsSkinControl::SkinData, &TbsSkinControl::SetSkinData)
      .String(QStringLiteral("SkinDataName"), &TbsSkinControl::SkinDataName, &TbsSkinControl::SetSkinDataName);
  RegisterClass<TbsSkinCustomControl>(QStringLiteral("TbsSkinCustomControl"), QStringLiteral("TbsSkinControl"))
      .Integer(QStringLiteral("DefaultWidth"), &TbsSkinCustomControl::DefaultWidth,
               &TbsSkinCustomControl::SetDefaultWidth, 0)
      .Integer(QStringLiteral("DefaultHeight"), &TbsSkinCustomControl::DefaultHeight,
               &TbsSkinCustomControl::SetDefaultHeight, 0)
      .Font(QStringLiteral("DefaultFont"), [](TbsSkinCustomControl* c) { return &c->DefaultFontRef(); },
            [](TbsSkinCustomControl* c) { c->DefaultFontEdited(); })
      .Bool(QStringLiteral("UseSkinFont"), &TbsSkinCustomControl::UseSkinFont, &TbsSkinCustomControl::SetUseSkinFont);
  RegisterClass<TbsSkinPanel>(QStringLiteral("TbsSkinPanel"), QStringLiteral("TbsSkinCustomControl"))
      .Bool(QStringLiteral("AutoEnabledControls"), &TbsSkinPanel::AutoEnabledControls,
            &TbsSkinPanel::SetAutoEnabledControls)
      .Bool(QStringLiteral("CheckedMode"), &TbsSkinPanel::CheckedMode, &TbsSkinPanel::SetCheckedMode, false)
      .Bool(QStringLiteral("Checked"), &TbsSkinPanel::Checked, &TbsSkinPanel::SetChecked, false)
      .Enum(QStringLiteral("DefaultAlignment"), &TbsSkinPanel::DefaultAlignment, &TbsSkinPanel::SetDefaultAlignment,
            AlignmentIdents(), taLeftJustify)
      .Integer(QStringLiteral("DefaultCaptionHeight"), &TbsSkinPanel::DefaultCaptionHeight,
               &TbsSkinPanel::SetDefaultCaptionHeight)
      .Enum(QStringLiteral("BorderStyle"), &TbsSkinPanel::BorderStyle, &TbsSkinPanel::SetBorderStyle, kBorderStyles,
            bvRaised)
      .Bool(QStringLiteral("CaptionMode"), &TbsSkinPanel::CaptionMode, &TbsSkinPanel::SetCaptionMode)
      .Bool(QStringLiteral("RollUpMode"), &TbsSkinPanel::RollUpMode, &TbsSkinPanel::SetRollUpMode, false)
      .Bool(QStringLiteral("RollUpState"), &TbsSkinPanel::RollUpState, &TbsSkinPanel::SetRollUpState, false)
      .Integer(QStringLiteral("NumGlyphs"), &TbsSkinPanel::NumGlyphs, &TbsSkinPanel::SetNumGlyphs)
      .Integer(QStringLiteral("Spacing"), &TbsSkinPanel::Spacing, &TbsSkinPanel::SetSpacing)
      .Event(QStringLiteral("OnChecked"), &TbsSkinPanel::OnChecked);
  RegisterClass<TbsSkinButton>(QStringLiteral("TbsSkinButton"), QStringLiteral("TbsSkinCustomControl"))
      .Bool(QStringLiteral("RepeatMode"), &TbsSkinButton::RepeatMode, &TbsSkinButton::SetRepeatMode, false)
      .Integer(QStringLiteral("RepeatInterval"), &TbsSkinButton::RepeatInterval, &TbsSkinButton::SetRepeatInterval)
      .Bool(QStringLiteral("AllowAllUp"), &TbsSkinButton::AllowAllUp, &TbsSkinButton::SetAllowAllUp, false)
      .Bool(QStringLiteral("CanFocused"), &TbsSkinButton::CanFocused, &TbsSkinButton::SetCanFocused)
      .Bool(QStringLiteral("Down"), &TbsSkinButton::Down, &TbsSkinButton::SetDown, false)
      .Integer(QStringLiteral("GroupIndex"), &TbsSkinButton::GroupIndex, &TbsSkinButton::SetGroupIndex, 0)
      .Integer(QStringLiteral("NumGlyphs"), &TbsSkinButton::NumGlyphs, &TbsSkinButton::SetNumGlyphs)
      .Integer(QStringLiteral("Spacing"), &TbsSkinButton::Spacing, &TbsSkinButton::SetSpacing)
      // The button fires its own click event, not the one every control has.
      .Event(QStringLiteral("OnClick"), &TbsSkinButton::OnClick);
  RegisterClass<TbsSkinStdLabel>(QStringLiteral("TbsSkinStdLabel"), QStringLiteral("TGraphicControl"))
      .Reference<TbsSkinData>(QStringLiteral("SkinData"), &TbsSkinStdLabel::SkinData, &TbsSkinStdLabel::SetSkinData)
      .String(QStringLiteral("SkinDataName"), &TbsSkinStdLabel::SkinDataName, &TbsSkinStdLabel::SetSkinDataName)
      .Bool(QStringLiteral("UseSkinFont"), &TbsSkinStdLabel::UseSkinFont, &TbsSkinStdLabel::SetUseSkinFont)
      .Font(QStringLiteral("DefaultFont"), [](TbsSkinStdLabel* c) { return &c->DefaultFontRef(); });
  RegisterClass<TbsSkinEdit>(QStringLiteral("TbsSkinEdit"), QStringLiteral("TCustomControl"))
      .Reference<TbsSkinData>(QStringLiteral("SkinData"), &TbsSkinEdit::SkinData, &TbsSkinEdit::SetSkinData)
      .String(QStringLiteral("SkinDataName"), &TbsSkinEdit::SkinDataName, &TbsSkinEdit::SetSkinDataName)
      .Font(QStringLiteral("DefaultFont"), [](TbsSkinEdit* c) { return &c->DefaultFontRef(); },
            [](TbsSkinEdit* c) { c->DefaultFontEdited(); })
      .Bool(QStringLiteral("UseSkinFont"), &TbsSkinEdit::UseSkinFont, &TbsSkinEdit::SetUseSkinFont)
      .Integer(QStringLiteral("DefaultWidth"), &TbsSkinEdit::DefaultWidth, &TbsSkinEdit::SetDefaultWidth, 0)
      .Integer(QStringLiteral("DefaultHeight"), &TbsSkinEdit::DefaultHeight, &TbsSkinEdit::SetDefaultHeight, 0)
      .Bool(QStringLiteral("ButtonMode"), &TbsSkinEdit::ButtonMode, &TbsSkinEdit::SetButtonMode, false)
      .String(QStringLiteral("Text"), &TbsSkinEdit::Text, &TbsSkinEdit::SetText);
  RegisterClass<TbsSkinPageControl>(QStringLiteral("TbsSkinPageControl"), QStringLiteral("TWinControl"))
      .Reference<TTabSheet>(QStringLiteral("ActivePage"), &TbsSkinPageControl::ActivePage,
                            &TbsSkinPageControl::SetActivePage)
      .Reference<TbsSkinData>(QStringLiteral("SkinData"), &TbsSkinPageControl::SkinData,
                              &TbsSkinPageControl::SetSkinData)
      .String(QStringLiteral("SkinDataName"), &TbsSkinPageControl::SkinDataName, &TbsSkinPageControl::SetSkinDataName)
      .Font(QStringLiteral("DefaultFont"), [](TbsSkinPageControl* c) { return &c->DefaultFontRef(); })
      .Bool(QStringLiteral("UseSkinFont"), &TbsSkinPageControl::UseSkinFont, &TbsSkinPageControl::SetUseSkinFont)
      .Integer(QStringLiteral("DefaultItemHeight"), &TbsSkinPageControl::DefaultItemHeight,
               &TbsSkinPageControl::SetDefaultItemHeight);
  RegisterClass<TbsSkinTabSheet>(QStringLiteral("TbsSkinTabSheet"), QStringLiteral("TWinControl"));

  auto form = RegisterClass<TbsSkinForm>(QStringLiteral("TbsSkinForm"), QStringLiteral("TComponent"));
  auto flag = [&form](const char* name, bool TbsSkinForm::*member) {
    form.Bool(
        QLatin1String(name), [member](const TbsSkinForm* f) { return f->*member; },
        [member](TbsSkinForm* f, bool v) { f->*member = v; });
  };
  flag("ShowIcon", &TbsSkinForm::ShowIcon);
  flag("MaximizeOnFullScreen", &TbsSkinForm::MaximizeOnFullScreen);
  flag("AlphaBlend", &TbsSkinForm::AlphaBlend);
  flag("AlphaBlendAnimation", &TbsSkinForm::AlphaBlendAnimation);
  flag("ShowObjectHint", &TbsSkinForm::ShowObjectHint);
  flag("MenusAlphaBlend", &TbsSkinForm::MenusAlphaBlend);
  flag("MenusAlphaBlendAnimation", &TbsSkinForm::MenusAlphaBlendAnimation);
  flag("UseDefaultSysMenu", &TbsSkinForm::UseDefaultSysMenu);
  flag("Magnetic", &TbsSkinForm::Magnetic);
  auto byte = [&form](const char* name, uint8_t TbsSkinForm::*member) {
    form.Integer(
        QLatin1String(name), [member](const TbsSkinForm* f) { return f->*member; },
        [member](TbsSkinForm* f, uint8_t v) { f->*member = v; });
  };
  byte("AlphaBlendValue", &TbsSkinForm::AlphaBlendValue);
  byte("MenusAlphaBlendValue", &TbsSkinForm::MenusAlphaBlendValue);
  byte("MagneticSize", &TbsSkinForm::MagneticSize);
  form.Integer(QStringLiteral("MinHeight"), [](const TbsSkinForm* f) { return f->MinHeight; },
               [](TbsSkinForm* f, int32_t v) { f->MinHeight = v; })
      .Integer(QStringLiteral("MinWidth"), [](const TbsSkinForm* f) { return f->MinWidth; },
               [](TbsSkinForm* f, int32_t v) { f->MinWidth = v; })
      .Integer(QStringLiteral("DefMenuItemHeight"), &TbsSkinForm::DefMenuItemHeight, &TbsSkinForm::SetDefMenuItemHeight)
      .Font(QStringLiteral("DefCaptionFont"), [](TbsSkinForm* f) { return &f->DefCaptionFont; })
      .Font(QStringLiteral("DefInActiveCaptionFont"), [](TbsSkinForm* f) { return &f->DefInActiveCaptionFont; })
      .Font(QStringLiteral("DefMenuItemFont"), [](TbsSkinForm* f) { return &f->DefMenuItemFont; })
      .Reference<TbsSkinData>(QStringLiteral("SkinData"), &TbsSkinForm::SkinData, &TbsSkinForm::SetSkinData)
      .Reference<TbsSkinData>(QStringLiteral("MenusSkinData"), &TbsSkinForm::MenusSkinData,
                              &TbsSkinForm::SetMenusSkinData);
  static const TIdentTable kBorderIcons = {{QStringLiteral("biSystemMenu"), biSystemMenu},
                                           {QStringLiteral("biMinimize"), biMinimize},
                                           {QStringLiteral("biMaximize"), biMaximize},
                                           {QStringLiteral("biRollUp"), biRollUp},
                                           {QStringLiteral("biMinimizeToTray"), biMinimizeToTray}};
  form.Set(QStringLiteral("BorderIcons"), [](const TbsSkinForm* f) { return f->BorderIcons; },
           [](TbsSkinForm* f, uint8_t v) { f->BorderIcons = v; }, kBorderIcons);
}

// The grid's stored columns: "Columns = < item FieldName = 'X' ... end >".
TPropInfo GridColumnsProperty() {
  TPropInfo p;
  p.name = QStringLiteral("Columns");
  p.kind = TPropKind::StringList;  // read as a whole by the function below
  p.read = [](TPersistent* o, const TFormValue& v, TReadContext&) {
    auto* grid = dynamic_cast<TCustomDBGrid*>(o);
    if (!grid || v.kind != TFormValue::Kind::Collection) throw EReadError(QStringLiteral("Invalid property value"));
    TDBGridColumns& cols = grid->Columns();
    cols.BeginUpdate();
    cols.Clear();
    for (const TFormItem& item : v.items) {
      TColumn* c = cols.Add();
      for (const TFormProperty& prop : item.props) {
        if (prop.name.compare(QLatin1String("FieldName"), Qt::CaseInsensitive) == 0) {
          if (prop.value.kind != TFormValue::Kind::String) throw EReadError(QStringLiteral("Invalid property value"));
          c->SetFieldName(prop.value.text);
        } else if (prop.name.compare(QLatin1String("Visible"), Qt::CaseInsensitive) == 0) {
          if (prop.value.kind != TFormValue::Kind::Ident) throw EReadError(QStringLiteral("Invalid property value"));
          c->SetVisible(prop.value.text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0);
        } else if (prop.name.compare(QLatin1String("Expanded"), Qt::CaseInsensitive) != 0) {
          throw EReadError(QStringLiteral("Property %1 does not exist").arg(prop.name));
        }
      }
    }
    cols.EndUpdate();
  };
  p.write = [](TPersistent* o) -> std::optional<TFormValue> {
    auto* grid = dynamic_cast<TCustomDBGrid*>(o);
    if (!grid || grid->Columns().State() != TDBGridColumnsState::csCustomized) return std::nullopt;
    TFormValue v;
    v.kind = TFormValue::Kind::Collection;
    for (int i = 0; i < grid->Columns().Count(); ++i) {
      const TColumn* c = grid->Columns()[i];
      TFormItem item;
      item.props.push_back({QStringLiteral("FieldName"), TFormValue::Str(c->FieldName()), 0});
      item.props.push_back(
          {QStringLiteral("Visible"), TFormValue::Identifier(c->Visible() ? QStringLiteral("True") : QStringLiteral("False")), 0});
      v.items.push_back(item);
    }
    return v;
  };
  return p;
}

void RegisterGridClasses() {
  auto grid = RegisterClass<Tzebdbgrid>(QStringLiteral("Tzebdbgrid"), QStringLiteral("TCustomControl"));
  grid.Reference<TDataSource>(QStringLiteral("DataSource"), &Tzebdbgrid::DataSource, &Tzebdbgrid::SetDataSource)
      .Bool(QStringLiteral("ReadOnly"), &Tzebdbgrid::ReadOnly, &Tzebdbgrid::SetReadOnly, false)
      // The title font is edited in place and handed back so that the grid lays out again.
      .Font(QStringLiteral("TitleFont"), [](Tzebdbgrid* g) { return const_cast<TFont*>(&g->TitleFont()); },
            [](Tzebdbgrid* g) { g->SetTitleFont(TFont(g->TitleFont())); })
      .Bool(QStringLiteral("Zebra"), &Tzebdbgrid::Zebra, &Tzebdbgrid::SetZebra, false)
      .Color(QStringLiteral("ZebraColor"), &Tzebdbgrid::ZebraColor, &Tzebdbgrid::SetZebraColor, clAqua)
      .Color(QStringLiteral("ZebraFontColor"), &Tzebdbgrid::ZebraFontColor, &Tzebdbgrid::SetZebraFontColor,
             clWindowText);
  grid.Info().props.push_back(GridColumnsProperty());
}
}  // namespace

void RegisterLibraryClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterPlatformClasses();
  RegisterDataClasses();
  RegisterSkinDataClasses();
  RegisterSkinControlClasses();
  RegisterGridClasses();
}
