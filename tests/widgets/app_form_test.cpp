// The query form read from its stored definition, on a real embedded database: what start-up
// leaves in the controls, the statements both pages send, the date pickers' link, which result
// survives a failing statement, what an empty result shows and the message for a voucher number
// too long for a statement.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>

#include "app/FrmTessaline.h"
#include "db/ClientDataSet.h"
#include "db/Field.h"
#include "grid/zebdbgrid.h"
#include "platform/Exceptions.h"
#include "platform/DateTimePicker.h"
#include "skin/controls/bsSkinButton.h"
#include "skin/controls/bsSkinEdit.h"
#include "skin/controls/bsSkinTabs.h"
#include "platform/Forms.h"
#include "tests/ChangeLogDatabase.h"
#include "tests/TestUtil.h"

namespace {
// The regional settings and the per-user settings of this test program, fixed before Qt reads them.
QTemporaryDir& ConfigHome() {
  static QTemporaryDir dir;
  return dir;
}
[[maybe_unused]] const bool kEnvironment = [] {
  qputenv("LC_ALL", "zh_TW.UTF-8");
  qputenv("XDG_CONFIG_HOME", ConfigHome().path().toLocal8Bit());
  return true;
}();

class QueryForm : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The connection finds its files through the per-user settings.
    const QString err = MakeTestDatabaseAndSettings(ConfigHome().path(), BinDir() + QStringLiteral("/dbxdrivers.ini"));
    ASSERT_TRUE(err.isEmpty()) << err.toStdString();
  }
  void SetUp() override { form = new TFormLedgerly(Application); }
  void TearDown() override { delete form; }

  // Values of one field over the whole result.
  static QStringList Column(TClientDataSet* ds, const QString& field) {
    QStringList out;
    const int index = static_cast<int>(std::find(ds->FieldList().begin(), ds->FieldList().end(), ds->FieldByName(field)) -
                                       ds->FieldList().begin());
    for (int row = 0; row < ds->RecordCount(); ++row) out << ds->DisplayText(row, index);
    return out;
  }

  TFormLedgerly* form = nullptr;
};
}  // namespace

TEST_F(QueryForm, StartsOnTheNumberPageWithEmptyBoundsAndToday) {
  // Created from the definition: connection open, data sets closed until the form is shown.
  EXPECT_EQ(form->Caption(), QStringLiteral("傳票資料異動紀錄"));
  EXPECT_FALSE(form->ClientDataSet1->Active());
  EXPECT_FALSE(form->ClientDataSet2->Active());
  form->FormCreate(form);
  EXPECT_EQ(form->bsSkinEdit1->Text(), QString());
  EXPECT_EQ(form->bsSkinEdit2->Text(), QString());
  EXPECT_EQ(form->DateTimePicker1->DateTime().date(), QDate::currentDate());
  EXPECT_EQ(form->DateTimePicker2->DateTime().date(), QDate::currentDate());
  // FormCreate keeps the stored time of day (15:01:01.953).
  EXPECT_EQ(form->DateTimePicker1->DateTime().time(), QTime(15, 1, 1, 953));
  EXPECT_EQ(form->bsSkinPageControl1->ActivePageIndex(), 0);
  // Showing runs the query: two empty literals, no rows, both data sets open.
  form->FormShow(form);
  EXPECT_EQ(form->ClientDataSet1->CommandText(),
            "SELECT * FROM ACC_MAIN_TEMP \r\nwhere MASTERBILLID BETWEEN '' AND ''\r\n");
  EXPECT_EQ(form->ClientDataSet2->CommandText(),
            "SELECT * FROM ACC_MAST_TEMP \r\nwhere MASTERBILLID BETWEEN '' AND ''\r\n");
  EXPECT_TRUE(form->ClientDataSet1->Active());
  EXPECT_TRUE(form->ClientDataSet2->Active());
  EXPECT_EQ(form->ClientDataSet1->RecordCount(), 0);
  EXPECT_EQ(form->ClientDataSet2->RecordCount(), 0);
}

TEST_F(QueryForm, EachPageSendsItsOwnRange) {
  form->bsSkinEdit1->SetText(QStringLiteral("A002"));
  form->bsSkinEdit2->SetText(QStringLiteral("A003"));
  form->DateTimePicker1->SetDate(QDate(2006, 3, 5));
  form->DateTimePicker2->SetDate(QDate(2006, 3, 5));
  form->bsSkinButton1Click(form->bsSkinButton1);
  EXPECT_EQ(Column(form->ClientDataSet1, "MASTERBILLID"), (QStringList{"A002", "A003", "A003", "A003"}));
  EXPECT_EQ(form->ClientDataSet2->RecordCount(), 4 + 6);
  // Pressing again gives the same result; nothing accumulates.
  form->bsSkinButton1Click(form->bsSkinButton1);
  EXPECT_EQ(form->ClientDataSet1->RecordCount(), 4);
  EXPECT_EQ(form->ClientDataSet2->RecordCount(), 10);
  // The date page uses the pickers (regional separator "/") and ignores the edits.
  form->bsSkinPageControl1->SetActivePageIndex(1);
  form->bsSkinButton1Click(form->bsSkinButton1);
  EXPECT_EQ(form->ClientDataSet1->CommandText(),
            "SELECT * FROM ACC_MAIN_TEMP \r\nwhere ACC_DATE BETWEEN '2006/03/05' AND '2006/03/05'\r\n");
  EXPECT_EQ(Column(form->ClientDataSet1, "MASTERBILLID"), QStringList{"A004"});
  EXPECT_EQ(Column(form->ClientDataSet2, "ACC_DATE"), QStringList(5, "2006/03/05"));
  // Reversed bounds go out as they are: no rows, no failure.
  form->bsSkinPageControl1->SetActivePageIndex(0);
  form->bsSkinEdit1->SetText(QStringLiteral("A004"));
  form->bsSkinEdit2->SetText(QStringLiteral("A001"));
  form->bsSkinButton1Click(form->bsSkinButton1);
  EXPECT_EQ(form->ClientDataSet1->RecordCount(), 0);
  EXPECT_EQ(form->ClientDataSet2->RecordCount(), 0);
  // A quote inside a bound stays inside its literal.
  form->bsSkinEdit1->SetText(QStringLiteral("A' OR ''='"));
  form->bsSkinEdit2->SetText(QStringLiteral("A' OR ''='"));
  EXPECT_NO_THROW(form->bsSkinButton1Click(form->bsSkinButton1));
  EXPECT_EQ(form->ClientDataSet1->RecordCount(), 0);
}

TEST_F(QueryForm, StartDateCarriesTheEndDateAlong) {
  form->DateTimePicker2->SetDateTime(QDateTime(QDate(2010, 1, 1), QTime(8, 0)));
  form->DateTimePicker1->SetDateTime(QDateTime(QDate(2006, 3, 3), QTime(9, 30)));
  // Setting from code fires nothing; the user's change does.
  EXPECT_EQ(form->DateTimePicker2->DateTime(), QDateTime(QDate(2010, 1, 1), QTime(8, 0)));
  form->DateTimePicker1Change(form->DateTimePicker1);
  EXPECT_EQ(form->DateTimePicker2->DateTime(), QDateTime(QDate(2006, 3, 3), QTime(9, 30)));
  EXPECT_TRUE(static_cast<bool>(form->DateTimePicker1->OnChange));
  EXPECT_FALSE(static_cast<bool>(form->DateTimePicker2->OnChange));
  // Changing the end date leaves the start alone.
  form->DateTimePicker2->SetDate(QDate(2006, 3, 9));
  EXPECT_EQ(form->DateTimePicker1->DateTime().date(), QDate(2006, 3, 3));
}

TEST_F(QueryForm, FailingStatementKeepsWhatRanBeforeIt) {
  form->bsSkinEdit1->SetText(QStringLiteral("A001"));
  form->bsSkinEdit2->SetText(QStringLiteral("A001"));
  form->bsSkinButton1Click(form->bsSkinButton1);
  ASSERT_EQ(form->ClientDataSet2->RecordCount(), 6);
  // The line statement fails: the new header result is shown, the line data set stays closed.
  form->bsSkinEdit1->SetText(QStringLiteral("X-FAIL"));
  form->bsSkinEdit2->SetText(QStringLiteral("X-FAIL"));
  EXPECT_THROW(form->bsSkinButton1Click(form->bsSkinButton1), EDatabaseError);
  EXPECT_TRUE(form->ClientDataSet1->Active());
  EXPECT_EQ(Column(form->ClientDataSet1, "MASTERBILLID"), QStringList{"X-FAIL"});
  EXPECT_FALSE(form->ClientDataSet2->Active());
  // Back to A001, then the header statement fails: the line result of A001 stays.
  form->bsSkinEdit1->SetText(QStringLiteral("A001"));
  form->bsSkinEdit2->SetText(QStringLiteral("A001"));
  form->bsSkinButton1Click(form->bsSkinButton1);
  form->bsSkinEdit1->SetText(QStringLiteral("Y-FAIL"));
  form->bsSkinEdit2->SetText(QStringLiteral("Y-FAIL"));
  EXPECT_THROW(form->bsSkinButton1Click(form->bsSkinButton1), EDatabaseError);
  EXPECT_FALSE(form->ClientDataSet1->Active());
  EXPECT_TRUE(form->ClientDataSet2->Active());
  EXPECT_EQ(Column(form->ClientDataSet2, "MASTERBILLID"), QStringList(6, "A001"));
}

namespace {
// Whether every pixel of the grid below its title row, left of its scroll bar, is the grid's colour.
::testing::AssertionResult OnlyTitleRow(Tzebdbgrid* grid) {
  const QImage img = grid->Handle()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QColor pale(206, 249, 208);
  const int right = std::min(img.width(), grid->ClientWidth()) - 20;
  for (int y = grid->Geometry().DataTop(); y < img.height(); ++y)
    for (int x = 0; x < right; ++x)
      if (img.pixelColor(x, y) != pale)
        return ::testing::AssertionFailure() << "pixel " << x << "," << y << " is " << img.pixelColor(x, y).name().toStdString();
  return ::testing::AssertionSuccess();
}
}  // namespace

TEST_F(QueryForm, EmptyResultShowsOnlyTheTitleRow) {
  form->FormCreate(form);
  form->Show();
  QApplication::processEvents();
  // Started without a voucher: both results are empty.
  ASSERT_TRUE(form->ClientDataSet1->Active());
  ASSERT_EQ(form->ClientDataSet1->RecordCount(), 0);
  EXPECT_TRUE(OnlyTitleRow(form->zebdbgrid1));
  EXPECT_TRUE(OnlyTitleRow(form->zebdbgrid2));
  // A voucher with rows, then one without.
  form->bsSkinEdit1->SetText(QStringLiteral("A001"));
  form->bsSkinEdit2->SetText(QStringLiteral("A001"));
  form->bsSkinButton1Click(form->bsSkinButton1);
  QApplication::processEvents();
  ASSERT_EQ(form->ClientDataSet2->RecordCount(), 6);
  EXPECT_FALSE(OnlyTitleRow(form->zebdbgrid1));
  EXPECT_FALSE(OnlyTitleRow(form->zebdbgrid2));
  form->bsSkinEdit1->SetText(QStringLiteral("B001"));
  form->bsSkinEdit2->SetText(QStringLiteral("B001"));
  form->bsSkinButton1Click(form->bsSkinButton1);
  QApplication::processEvents();
  ASSERT_EQ(form->ClientDataSet1->RecordCount(), 0);
  ASSERT_EQ(form->ClientDataSet2->RecordCount(), 0);
  EXPECT_TRUE(OnlyTitleRow(form->zebdbgrid1));
  EXPECT_TRUE(OnlyTitleRow(form->zebdbgrid2));
}

TEST_F(QueryForm, VoucherNumberTooLongForAStatementIsNamed) {
  const QString longNumber(40000, QLatin1Char('7'));
  // As a number pasted into both edits, each holding as much of it as it takes.
  form->bsSkinEdit1->SetText(longNumber);
  form->bsSkinEdit2->SetText(longNumber);
  const qsizetype held = form->bsSkinEdit2->Text().size();
  ASSERT_GT(held, 32000);
  try {
    form->bsSkinButton1Click(form->bsSkinButton1);
    FAIL() << "a statement of " << held << " characters ran";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("dbExpress Error: Invalid statement text\n"
                                          "The voucher number of %1 characters is too long")
                               .arg(held));
  }
  EXPECT_FALSE(form->ClientDataSet1->Active());
  // Another failure before it leaves no trace in the text.
  form->bsSkinEdit2->SetText(QStringLiteral("Y-FAIL"));
  form->bsSkinEdit1->SetText(QStringLiteral("Y-FAIL"));
  EXPECT_THROW(form->bsSkinButton1Click(form->bsSkinButton1), EDatabaseError);
  form->bsSkinEdit1->SetText(longNumber);
  form->bsSkinEdit2->SetText(longNumber);
  try {
    form->bsSkinButton1Click(form->bsSkinButton1);
    FAIL() << "a statement of " << held << " characters ran";
  } catch (const EDatabaseError& e) {
    EXPECT_FALSE(e.Message().contains(QStringLiteral("SQL Server Error"))) << e.what();
    EXPECT_TRUE(e.Message().endsWith(QStringLiteral("The voucher number of %1 characters is too long").arg(held))) << e.what();
  }
}
