// One QApplication for the whole test program, offscreen when run headless.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace inkmark::testing {

struct QtEnvironment : ::testing::Environment {
  void SetUp() override {
    static int argc = 1;
    static char name[] = "inkmark_tests", *argv[] = {name, nullptr};
    app = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { app.reset(); }
  std::unique_ptr<QApplication> app;
};
inline ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace inkmark::testing
