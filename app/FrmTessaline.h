// The query form: two grids over the voucher change-log tables, narrowed by a range of voucher
// numbers or of voucher dates. Its components and their settings come from the stored
// definition (FrmTessaline.dfm); this class adds the five event handlers.
#pragma once
#include <QString>

#include "platform/Forms.h"

class TbsSkinPanel;
class TbsSkinButton;
class TbsSkinPageControl;
class TbsSkinTabSheet;
class TbsSkinStdLabel;
class TbsSkinEdit;
class TbsSkinForm;
class TbsSkinData;
class TbsStoredSkin;
class TbsCompressedStoredSkin;
class TDateTimePicker;
class TSplitter;
class Tzebdbgrid;
class TSQLConnection;
class TSQLDataSet;
class TDataSetProvider;
class TClientDataSet;
class TDataSource;
struct TQueryRange;

class TFormLedgerly : public TForm {
 public:
  // Creates the form from its stored definition (components, properties, skins, connection).
  explicit TFormLedgerly(TComponent* owner);
  QString ClassName() const override { return QStringLiteral("TFormLedgerly"); }

  // Components of the stored definition, bound by name once it is read; owned by the form.
  TbsSkinPanel* bsSkinPanel1 = nullptr;
  TbsSkinButton* bsSkinButton1 = nullptr;
  TbsSkinPageControl* bsSkinPageControl1 = nullptr;
  TbsSkinTabSheet* bsSkinTabSheet1 = nullptr;
  TbsSkinStdLabel* bsSkinStdLabel1 = nullptr;
  TbsSkinEdit* bsSkinEdit1 = nullptr;
  TbsSkinEdit* bsSkinEdit2 = nullptr;
  TbsSkinTabSheet* bsSkinTabSheet2 = nullptr;
  TbsSkinStdLabel* bsSkinStdLabel4 = nullptr;
  TDateTimePicker* DateTimePicker1 = nullptr;
  TDateTimePicker* DateTimePicker2 = nullptr;
  TbsSkinButton* bsSkinButton2 = nullptr;
  TbsSkinPanel* bsSkinPanel2 = nullptr;
  TbsSkinPanel* bsSkinPanel3 = nullptr;
  TSplitter* Splitter1 = nullptr;
  Tzebdbgrid* zebdbgrid1 = nullptr;
  Tzebdbgrid* zebdbgrid2 = nullptr;
  TbsSkinForm* bsSkinForm1 = nullptr;
  TbsSkinData* bsSkinData1 = nullptr;
  TbsCompressedStoredSkin* bsCompressedStoredSkin1 = nullptr;
  TbsStoredSkin* bsStoredSkin1 = nullptr;
  TSQLConnection* SQLConnection1 = nullptr;
  TSQLDataSet* SQLDataSet1 = nullptr;
  TDataSetProvider* DataSetProvider1 = nullptr;
  TClientDataSet* ClientDataSet1 = nullptr;
  TDataSource* DataSource1 = nullptr;
  TSQLDataSet* SQLDataSet2 = nullptr;
  TDataSetProvider* DataSetProvider2 = nullptr;
  TClientDataSet* ClientDataSet2 = nullptr;
  TDataSource* DataSource2 = nullptr;

  // Event handlers named by the stored definition.
  void FormCreate(TComponent* Sender);
  void FormShow(TComponent* Sender);
  void bsSkinButton1Click(TComponent* Sender);
  void bsSkinButton2Click(TComponent* Sender);
  void DateTimePicker1Change(TComponent* Sender);

  // The stored definition text carried by the program.
  static QByteArray StoredDefinition();

 private:
  // Builds the statement for `tableName` from the active page and runs it on `dataSet`.
  void RunRangeQuery(TClientDataSet* dataSet, const QString& tableName);
  TQueryRange CurrentRange() const;
};

// Registers the form class, its handlers and every component class its definition uses.
void RegisterFormLedgerly();

// The query form while the program runs (the application owns it).
extern TFormLedgerly* FormLedgerly;
