#include "tools/mkdemodb/DemoData.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace {

// A small deterministic generator (the same data on every machine).
class Rng {
 public:
  explicit Rng(uint64_t seed) : s_(seed * 2654435761u + 1) {}
  uint64_t Next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 7;
    s_ ^= s_ << 17;
    return s_;
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }
  template <typename T, size_t N>
  const T& Pick(const T (&a)[N]) { return a[Below(static_cast<int>(N))]; }

 private:
  uint64_t s_;
};

struct Account {
  const char* no;
  const char* name;
};
const Account kDebitAccounts[] = {
    {"1111", "現金"},         {"1113", "銀行存款"},     {"1141", "應收帳款"},     {"1211", "商品存貨"},
    {"1154", "進項稅額"},     {"1261", "預付費用"},     {"5111", "銷貨成本"},     {"6112", "薪資支出"},
    {"6113", "租金支出"},     {"6114", "文具用品"},     {"6115", "旅費"},         {"6116", "運費"},
    {"6117", "郵電費"},       {"6118", "修繕費"},       {"6119", "廣告費"},       {"6120", "水電瓦斯費"},
    {"6121", "保險費"},       {"6123", "交際費"},       {"6125", "折舊"},         {"6131", "伙食費"},
    {"6134", "職工福利"},     {"6136", "訓練費"},       {"7511", "利息支出"},     {"1431", "運輸設備"},
};
const Account kCreditAccounts[] = {
    {"1111", "現金"},     {"1113", "銀行存款"}, {"2121", "應付票據"}, {"2141", "應付帳款"},
    {"2171", "應付費用"}, {"2204", "銷項稅額"}, {"4111", "銷貨收入"}, {"7111", "利息收入"},
    {"2281", "代收款"},   {"1141", "應收帳款"},
};
const char* const kPartners[] = {"大同股份有限公司", "台灣電力公司", "中華電信",     "統一超商",     "新光人壽",
                                 "遠東百貨",         "台北自來水事業處", "聯華食品", "宏碁資訊",   "全家便利商店",
                                 "長榮海運",         "華南商業銀行", "玉山銀行",     "國泰產險",     "順發文具行"};
const char* const kWhat[] = {"支付一月份辦公室租金", "收到貨款",     "購買影印紙及文具", "支付員工出差旅費",
                             "支付電話費及網路費",   "支付水電費",   "進貨付款",         "銷貨收入入帳",
                             "支付廣告刊登費用",     "提列本月折舊", "支付員工伙食費",   "支付保險費",
                             "支付機器修繕費用",     "銀行存款利息", "支付運費",         "員工教育訓練費用",
                             "預付下季租金",         "客戶票據兌現", "支付交際應酬費",   "代收員工勞健保費"};
const char* const kUsers[] = {"王小明", "李美玲", "陳志豪", "林淑芬", "張家豪", "黃雅婷", "吳建宏", "劉怡君"};
const char* const kBillTypes[] = {"轉帳傳票", "現金收入", "現金支出"};
const char* const kDepartments[] = {"1100", "1200", "2100", "2200", "3100", "3300", "4100"};
const char* const kSourceFlags[] = {"A", "B", "S", "P", "M"};
const char* const kSourceMemos[] = {"銷貨單", "進貨單", "費用單", "收款單", "付款單", "手開"};
const char* const kRemarks[] = {"月結調整", "補登", "更正金額", "更正科目", "刪除重開", "主管覆核"};
const char* const kProcCodes[] = {"A", "U", "U", "D"};

std::string Fmt(const char* f, int a, int b = 0, int c = 0, int d = 0, int e = 0, int g = 0) {
  char buf[64];
  std::snprintf(buf, sizeof buf, f, a, b, c, d, e, g);
  return buf;
}

// Days in month for the demo year range (no leap handling needed beyond February).
int DaysIn(int y, int m) {
  static const int d[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (m == 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0)) return 29;
  return d[m - 1];
}

struct Day {
  int y, m, d;
};
Day DayOf(int index) {  // index 0 = 2024/01/01
  Day t{2024, 1, 1};
  while (index > 0) {
    const int left = DaysIn(t.y, t.m) - t.d;
    if (index <= left) {
      t.d += index;
      break;
    }
    index -= left + 1;
    t.d = 1;
    if (++t.m > 12) {
      t.m = 1;
      ++t.y;
    }
  }
  return t;
}

std::string DateText(const Day& t) { return Fmt("%04d/%02d/%02d", t.y, t.m, t.d); }

}  // namespace

std::vector<std::string> DemoSchema() {
  return {
      "CREATE TABLE ACC_MAIN_TEMP ("
      " MASTERBILLID VARCHAR(20) NOT NULL, ACC_DATE VARCHAR(10), CARD_NO VARCHAR(5), BILL_TYPE VARCHAR(10),"
      " DEP_NO VARCHAR(10), SOURCE_FLAG VARCHAR(1), SOURCE_MEMO VARCHAR(10), SOURCE_ID VARCHAR(20),"
      " C_AMT DOUBLE PRECISION, R_AMT DOUBLE PRECISION, ACC_CLASS VARCHAR(1), CHECK_USER VARCHAR(10),"
      " CHG_USER VARCHAR(10), CHG_DATE VARCHAR(10), REMARK VARCHAR(20), CHG_TIMESTAMP VARCHAR(20) NOT NULL,"
      " CONSTRAINT PK_ACC_MAIN_TEMP PRIMARY KEY (MASTERBILLID, CHG_TIMESTAMP))",
      "CREATE TABLE ACC_MAST_TEMP ("
      " MASTERBILLID VARCHAR(20) NOT NULL, KEYINTIME VARCHAR(20), ITEM VARCHAR(2) NOT NULL, PROC_CODE VARCHAR(1),"
      " CORD VARCHAR(2), ACC_NO VARCHAR(10), ACC_NAME VARCHAR(25), HLP_NO VARCHAR(5), HLP_NAME VARCHAR(80),"
      " AMOUNT DOUBLE PRECISION, R_AMOUNT DOUBLE PRECISION, YY VARCHAR(4), MM VARCHAR(2), DD VARCHAR(2),"
      " CODE1 VARCHAR(1), CODE2 VARCHAR(1), CODE3 VARCHAR(6), ACC_DATE VARCHAR(10) NOT NULL,"
      " CARD_NO VARCHAR(5) NOT NULL, DEP_NO VARCHAR(10), ACC_CLASS VARCHAR(1), CHG_TIMESTAMP VARCHAR(20) NOT NULL,"
      " CONSTRAINT PK_ACC_MAST_TEMP PRIMARY KEY (MASTERBILLID, CHG_TIMESTAMP, ITEM))",
  };
}

void FillDemoDatabase(IbSession& db, const DemoCounts& counts) {
  if (counts.vouchers < 1 || counts.lines < counts.vouchers || counts.lines > counts.vouchers * 99)
    throw std::runtime_error("need at least one line and at most 99 lines per voucher");
  for (const std::string& s : DemoSchema()) db.Execute(s);
  db.Commit();

  using V = IbSession::Value;
  IbSession::Statement head(db,
                            "INSERT INTO ACC_MAIN_TEMP (MASTERBILLID, ACC_DATE, CARD_NO, BILL_TYPE, DEP_NO, SOURCE_FLAG,"
                            " SOURCE_MEMO, SOURCE_ID, C_AMT, R_AMT, ACC_CLASS, CHECK_USER, CHG_USER, CHG_DATE, REMARK,"
                            " CHG_TIMESTAMP) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
  IbSession::Statement line(db,
                            "INSERT INTO ACC_MAST_TEMP (MASTERBILLID, KEYINTIME, ITEM, PROC_CODE, CORD, ACC_NO, ACC_NAME,"
                            " HLP_NO, HLP_NAME, AMOUNT, R_AMOUNT, YY, MM, DD, CODE1, CODE2, CODE3, ACC_DATE, CARD_NO,"
                            " DEP_NO, ACC_CLASS, CHG_TIMESTAMP) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");

  Rng rng(20240101);
  const int64_t n = counts.vouchers;
  // Vouchers are numbered per voucher date; changes happen later, in an order of their own.
  const int64_t perDay = std::max<int64_t>(1, n / 360 + 1);
  std::vector<int64_t> changeOrder(static_cast<size_t>(n));
  for (int64_t i = 0; i < n; ++i) changeOrder[static_cast<size_t>(i)] = i;
  for (int64_t i = n - 1; i > 0; --i)
    std::swap(changeOrder[static_cast<size_t>(i)], changeOrder[static_cast<size_t>(rng.Next() % static_cast<uint64_t>(i + 1))]);

  int64_t linesLeft = counts.lines;
  int64_t pending = 0;
  for (int64_t k = 0; k < n; ++k) {
    const int64_t v = changeOrder[static_cast<size_t>(k)];
    const int dayIndex = static_cast<int>(v / perDay);
    const Day day = DayOf(dayIndex);
    const int seq = static_cast<int>(v % perDay) + 1;
    const std::string id = Fmt("%04d%02d%02d", day.y, day.m, day.d) + Fmt("%05d", seq);
    const std::string accDate = DateText(day);
    const Day chgDay = DayOf(dayIndex + 1 + rng.Below(20));
    const int secs = static_cast<int>(k % 86400);
    const std::string stamp = DateText(chgDay) + Fmt(" %02d:%02d:%02d", 8 + secs / 3600 % 10, secs / 60 % 60, secs % 60);
    const std::string keyin = accDate + Fmt(" %02d:%02d:%02d", 8 + rng.Below(10), rng.Below(60), rng.Below(60));
    const std::string card = Fmt("C%02d", 1 + rng.Below(3));
    const std::string dep = rng.Pick(kDepartments);
    const std::string accClass = Fmt("%d", 1 + rng.Below(3));
    const char* proc = rng.Pick(kProcCodes);

    // This voucher's share of the lines: at least one; the last voucher takes what is left.
    const int64_t vouchersLeft = n - k;
    int64_t count = linesLeft - (vouchersLeft - 1);  // the most it may take
    const int64_t fair = (linesLeft + vouchersLeft - 1) / vouchersLeft;
    if (vouchersLeft > 1) count = std::min<int64_t>({count, 99, std::max<int64_t>(1, fair + rng.Below(3) - 1)});
    // Never leave more than 99 per voucher for the rest.
    while (linesLeft - count > (vouchersLeft - 1) * 99) ++count;
    linesLeft -= count;

    const char* partner = rng.Pick(kPartners);
    double debitTotal = 0;
    for (int64_t i = 0; i < count; ++i) {
      // Debit lines first, one balancing credit line last.
      const bool credit = count > 1 && i == count - 1;
      const Account& acc = credit ? rng.Pick(kCreditAccounts) : rng.Pick(kDebitAccounts);
      double amount = static_cast<double>(100 + rng.Below(200000)) + (rng.Below(4) == 0 ? rng.Below(100) / 100.0 : 0.0);
      if (credit) amount = debitTotal;
      else debitTotal += amount;
      const std::string what = std::string(rng.Pick(kWhat)) + "－" + partner;
      line.Run({V::Text(id), V::Text(keyin), V::Text(Fmt("%02d", static_cast<int>(i + 1))), V::Text(proc),
                V::Text(credit ? "貸" : "借"), V::Text(acc.no), V::Text(acc.name),
                rng.Below(3) ? V::Text(Fmt("H%03d", rng.Below(500))) : V::Null(), V::Text(what), V::Double(amount),
                V::Double(*proc == 'D' ? 0.0 : amount), V::Text(Fmt("%04d", day.y)), V::Text(Fmt("%02d", day.m)),
                V::Text(Fmt("%02d", day.d)), V::Text(rng.Below(2) ? "0" : "1"), V::Text("N"),
                rng.Below(4) ? V::Null() : V::Text(Fmt("A%05d", rng.Below(100000))), V::Text(accDate), V::Text(card),
                V::Text(dep), V::Text(accClass), V::Text(stamp)});
      if (++pending >= 20000) {
        db.Commit();
        pending = 0;
      }
    }
    const int source = rng.Below(6);
    head.Run({V::Text(id), V::Text(accDate), V::Text(card), V::Text(rng.Pick(kBillTypes)), V::Text(dep),
              V::Text(rng.Pick(kSourceFlags)), source ? V::Text(kSourceMemos[source - 1]) : V::Null(),
              source ? V::Text(Fmt("SO%04d%02d%05d", day.y, day.m, rng.Below(100000))) : V::Null(),
              V::Double(debitTotal), V::Double(count > 1 ? debitTotal : 0.0), V::Text(accClass),
              V::Text(rng.Pick(kUsers)), V::Text(rng.Pick(kUsers)), V::Text(DateText(chgDay)),
              rng.Below(3) ? V::Null() : V::Text(rng.Pick(kRemarks)), V::Text(stamp)});
    ++pending;
  }
  db.Commit();
}
