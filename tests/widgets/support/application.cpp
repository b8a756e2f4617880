// Every widget test runs with one application object (and so one QApplication) for the
// whole run, made before the first test and freed after the last.
#include <gtest/gtest.h>

#include "platform/Forms.h"

namespace {
class ApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "ledgerly_widget_test";
    static char* argv[] = {name, nullptr};
    if (!Application) app_ = new TApplication(argc, argv);
  }
  void TearDown() override {
    delete app_;
    app_ = nullptr;
  }

 private:
  TApplication* app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const g_env =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);
}  // namespace
