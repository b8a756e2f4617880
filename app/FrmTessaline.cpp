#include "app/FrmTessaline.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QLocale>

#include "app/LaunchArguments.h"
#include "app/QueryStatement.h"
#include "app/RegionalDate.h"

TFormLedgerly* FormLedgerly = nullptr;

TFormLedgerly::TFormLedgerly(TComponent* owner) : TForm(owner) {
  // Handlers the stored definition may name.
  RegisterMethod(QStringLiteral("FormCreate"), [this](TComponent* s) { FormCreate(s); });
  RegisterMethod(QStringLiteral("FormShow"), [this](TComponent* s) { FormShow(s); });
  RegisterMethod(QStringLiteral("bsSkinButton1Click"), [this](TComponent* s) { bsSkinButton1Click(s); });
  RegisterMethod(QStringLiteral("bsSkinButton2Click"), [this](TComponent* s) { bsSkinButton2Click(s); });
  RegisterMethod(QStringLiteral("DateTimePicker1Change"), [this](TComponent* s) { DateTimePicker1Change(s); });
  ReadStoredDefinition(StoredDefinition());
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
  dataSet->Open();
}
