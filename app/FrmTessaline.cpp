#include "app/FrmTessaline.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <algorithm>

#include "app/ClassRegistry.h"
#include "app/GridPopupMenu.h"
#include "skin/form/FrameAccessible.h"
#include "app/LaunchArguments.h"
#include "app/QueryStatement.h"
#include "app/RegionalDate.h"
#include "db/ClientDataSet.h"
#include "db/DataSetProvider.h"
#include "db/DataSource.h"
#include "db/SQLConnection.h"
#include "db/SQLDataSet.h"
#include "grid/zebdbgrid.h"
#include "platform/DateTimePicker.h"
#include "platform/Exceptions.h"
#include "platform/Splitter.h"
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
// The component of the stored definition named `name`, as class T; a definition that lacks it
// or holds another class cannot run this form.
template <class T>
void Bind(TComponent* root, T*& field, const char* name) {
  field = dynamic_cast<T*>(root->FindComponent(QString::fromLatin1(name)));
  if (!field) throw EComponentError(QStringLiteral("Component %1 missing from the form definition").arg(QLatin1String(name)));
}
}  // namespace

TFormLedgerly* FormLedgerly = nullptr;

void RegisterFormLedgerly() {
  RegisterLibraryClasses();
  InstallFormAccessibility();
  RegisterClass<TFormLedgerly>(QStringLiteral("TFormLedgerly"), QStringLiteral("TForm"))
      .Method(QStringLiteral("FormCreate"), &TFormLedgerly::FormCreate)
      .Method(QStringLiteral("FormShow"), &TFormLedgerly::FormShow)
      .Method(QStringLiteral("bsSkinButton1Click"), &TFormLedgerly::bsSkinButton1Click)
      .Method(QStringLiteral("bsSkinButton2Click"), &TFormLedgerly::bsSkinButton2Click)
      .Method(QStringLiteral("DateTimePicker1Change"), &TFormLedgerly::DateTimePicker1Change);
}

TFormLedgerly::TFormLedgerly(TComponent* owner) : TForm(owner) {
  static const bool registered = (RegisterFormLedgerly(), true);
  (void)registered;
  LoadDefinition(QString::fromUtf8(StoredDefinition()));
  Bind(this, bsSkinPanel1, "bsSkinPanel1");
  Bind(this, bsSkinButton1, "bsSkinButton1");
  Bind(this, bsSkinPageControl1, "bsSkinPageControl1");
  Bind(this, bsSkinTabSheet1, "bsSkinTabSheet1");
  Bind(this, bsSkinStdLabel1, "bsSkinStdLabel1");
  Bind(this, bsSkinEdit1, "bsSkinEdit1");
  Bind(this, bsSkinEdit2, "bsSkinEdit2");
  Bind(this, bsSkinTabSheet2, "bsSkinTabSheet2");
  Bind(this, bsSkinStdLabel4, "bsSkinStdLabel4");
  Bind(this, DateTimePicker1, "DateTimePicker1");
  Bind(this, DateTimePicker2, "DateTimePicker2");
  Bind(this, bsSkinButton2, "bsSkinButton2");
  Bind(this, bsSkinPanel2, "bsSkinPanel2");
  Bind(this, bsSkinPanel3, "bsSkinPanel3");
  Bind(this, Splitter1, "Splitter1");
  Bind(this, zebdbgrid1, "zebdbgrid1");
  Bind(this, zebdbgrid2, "zebdbgrid2");
  Bind(this, bsSkinForm1, "bsSkinForm1");
  Bind(this, bsSkinData1, "bsSkinData1");
  Bind(this, bsCompressedStoredSkin1, "bsCompressedStoredSkin1");
  Bind(this, bsStoredSkin1, "bsStoredSkin1");
  Bind(this, SQLConnection1, "SQLConnection1");
  Bind(this, SQLDataSet1, "SQLDataSet1");
  Bind(this, DataSetProvider1, "DataSetProvider1");
  Bind(this, ClientDataSet1, "ClientDataSet1");
  Bind(this, DataSource1, "DataSource1");
  Bind(this, SQLDataSet2, "SQLDataSet2");
  Bind(this, DataSetProvider2, "DataSetProvider2");
  Bind(this, ClientDataSet2, "ClientDataSet2");
  Bind(this, DataSource2, "DataSource2");
  // Each grid's context menu with its copy and export commands.
  if (zebdbgrid1) AttachGridPopupMenu(this, zebdbgrid1);
  if (zebdbgrid2) AttachGridPopupMenu(this, zebdbgrid2);
}

QByteArray TFormLedgerly::StoredDefinition() {
  QFile f(QStringLiteral(":/forms/FrmTessaline.dfm"));
  if (!f.open(QIODevice::ReadOnly)) return QByteArray();
  return f.readAll();
}

void TFormLedgerly::FormCreate(TComponent* Sender) {
  const TLaunchArguments args =
      ParseLaunchArguments(QCoreApplication::arguments(), QLocale(), QDate::currentDate());
  bsSkinEdit1->SetText(args.Voucher);
  bsSkinEdit2->SetText(args.Voucher);
  // Only the date part changes; each picker keeps its own time of day, and no change event fires.
  DateTimePicker1->SetDate(args.Date);
  DateTimePicker2->SetDate(args.Date);
}

void TFormLedgerly::FormShow(TComponent* Sender) { bsSkinButton1Click(this); }

void TFormLedgerly::bsSkinButton1Click(TComponent* Sender) {
  // The header result is complete before the line statement is built; a failure in the first
  // leaves the second data set with its previous result.
  RunRangeQuery(ClientDataSet1, QStringLiteral("ACC_MAIN_TEMP"));
  RunRangeQuery(ClientDataSet2, QStringLiteral("ACC_MAST_TEMP"));
}

void TFormLedgerly::bsSkinButton2Click(TComponent* Sender) { Close(); }

void TFormLedgerly::DateTimePicker1Change(TComponent* Sender) {
  DateTimePicker2->SetDateTime(DateTimePicker1->DateTime());
}

TQueryRange TFormLedgerly::CurrentRange() const {
  TQueryRange r;
  r.LowNumber = bsSkinEdit1->Text();
  r.HighNumber = bsSkinEdit2->Text();
  r.LowDate = DateTimePicker1->DateTime().date();
  r.HighDate = DateTimePicker2->DateTime().date();
  return r;
}

void TFormLedgerly::RunRangeQuery(TClientDataSet* dataSet, const QString& tableName) {
  const QString separator = LocaleShortDateFormat(QLocale()).Separator;
  const QString text = BuildRangeStatement(tableName, bsSkinPageControl1->ActivePageIndex(), CurrentRange(), separator);
  dataSet->Close();
  dataSet->SetCommandText(text);
  try {
    dataSet->Open();
  } catch (const EDatabaseError& e) {
    // The driver takes statements up to a length; only a voucher number can make one longer.
    if (SQLConnection1->LastStatus() != dbx::kInvalidText || bsSkinPageControl1->ActivePageIndex() != 0) throw;
    const qsizetype longest = std::max(bsSkinEdit1->Text().size(), bsSkinEdit2->Text().size());
    throw EDatabaseError(e.Message() + QStringLiteral("\nThe voucher number of %1 characters is too long").arg(longest));
  }
}
