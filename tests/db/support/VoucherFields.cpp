#include "support/VoucherFields.h"

namespace {
struct Def {
  const char* name;
  int size;  // 0: floating-point
  const char* label;
  bool required;
};

void Add(TComponent* owner, TClientDataSet* ds, const Def* defs, int n) {
  for (int i = 0; i < n; ++i) {
    const Def& d = defs[i];
    TField* f;
    if (d.size == 0) {
      f = new TFloatField(owner);
    } else {
      f = new TStringField(owner);
      f->SetSize(d.size);
    }
    f->SetName(ds->Name() + QString::fromLatin1(d.name));
    f->SetFieldName(QString::fromLatin1(d.name));
    f->SetDisplayLabel(QString::fromUtf8(d.label));
    f->SetRequired(d.required);
    f->SetDataSet(ds);
  }
}
}  // namespace

void AddHeaderFields(TComponent* owner, TClientDataSet* ds) {
  static const Def defs[] = {
      {"MASTERBILLID", 20, "傳票編號", true}, {"ACC_DATE", 10, "傳票日期", false}, {"CARD_NO", 5, "", false},
      {"BILL_TYPE", 10, "傳摽種類", false},   {"DEP_NO", 10, "部門代號", false},   {"SOURCE_FLAG", 1, "轉入單別", false},
      {"SOURCE_MEMO", 10, "轉入單別", false}, {"SOURCE_ID", 20, "轉入單號", false}, {"C_AMT", 0, "借方金額", false},
      {"R_AMT", 0, "貸方金額", false},        {"ACC_CLASS", 1, "會計層級", false},  {"CHECK_USER", 10, "覆合", false},
      {"CHG_USER", 10, "異動人員", false},    {"CHG_DATE", 10, "異動日期", false},  {"REMARK", 20, "備註", false},
      {"CHG_TIMESTAMP", 20, "註記", false},
  };
  Add(owner, ds, defs, 16);
}

void AddLineFields(TComponent* owner, TClientDataSet* ds) {
  static const Def defs[] = {
      {"MASTERBILLID", 20, "傳票編號", false}, {"KEYINTIME", 20, "登錄時間", false}, {"ITEM", 2, "項目", false},
      {"PROC_CODE", 1, "", false},             {"CORD", 2, "借貸", false},           {"ACC_NO", 10, "科目代號", false},
      {"ACC_NAME", 25, "科目名稱", false},     {"HLP_NO", 5, "輔助代號", false},     {"HLP_NAME", 80, "摘要", false},
      {"AMOUNT", 0, "金額", false},            {"R_AMOUNT", 0, "", false},           {"YY", 4, "", false},
      {"MM", 2, "", false},                    {"DD", 2, "", false},                 {"CODE1", 1, "", false},
      {"CODE2", 1, "", false},                 {"CODE3", 6, "", false},              {"ACC_DATE", 10, "傳票日期", true},
      {"CARD_NO", 5, "", true},                {"DEP_NO", 10, "部門", false},        {"ACC_CLASS", 1, "層級", false},
      {"CHG_TIMESTAMP", 20, "註記", false},
  };
  Add(owner, ds, defs, 22);
}
