// A test whose viewer site opens a test change-log database of its own (tests/ChangeLogDatabase.h)
// with the embedded engine.
#pragma once
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "support/ViewerSite.h"
#include "tests/ChangeLogDatabase.h"

class TestDatabaseSite : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(site.Ok());
    const QString err = MakeTestDatabase(Database());
    ASSERT_TRUE(err.isEmpty()) << err.toStdString();
    site.UseDatabase(Database());
  }
  QString Database() const { return dbDir.path() + QStringLiteral("/t.fdb"); }

  QTemporaryDir dbDir;
  TViewerSite site;
};
