#include <gtest/gtest.h>

#include "settings/printer_files.h"
#include "support/private_cupsd.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

using DriverNamesTest = testing::PrivateCupsdTest;

TEST_F(DriverNamesTest, ProfilesCollectTheQueuesWhoseDriverNamesHoldTheirModel) {
  ASSERT_TRUE(cupsd_.AddQueue("shop", "Corlane Printer Driver DT-300/310", "socket://127.0.0.1:9"));
  ASSERT_TRUE(
      cupsd_.AddQueue("lower", "Corlane Printer Driver dt-300/310", "socket://127.0.0.1:9"));
  ASSERT_TRUE(
      cupsd_.AddQueue("other", "Corlane Printer Driver DT-200/210", "socket://127.0.0.1:9"));

  testing::TempDir program;
  program.Write("DT300.DEF", "[Spec]\nPrnName=DT-300/310\n");
  program.Write("DT350.DEF", "[Spec]\nPrnName=DT-350/360\n");
  std::vector<PrinterProfile> profiles;
  ASSERT_EQ(LoadPrinterProfiles(CountPrinterFiles(program.path()), profiles, program.path()), 2);

  EXPECT_EQ(profiles[0].model_name, "DT-300/310");
  EXPECT_EQ(profiles[0].driver_count, 1);
  ASSERT_EQ(profiles[0].driver_names.size(), 1u);
  EXPECT_EQ(profiles[0].driver_names[0], "Corlane Printer Driver DT-300/310");
  EXPECT_EQ(profiles[1].driver_count, 0);
}

TEST(DriverNames, KeepTwentyNamesOfAtMost49Characters) {
  std::vector<SpoolerPrinter> printers;
  for (int i = 0; i < 25; ++i) {
    printers.push_back({"q" + std::to_string(i),
                        "Corlane Printer Driver DT-300/310 " + std::string(30, char('a' + i))});
  }
  std::vector<std::string> names;
  EXPECT_EQ(CollectDriverNames("DT-300/310", printers, names), 20);
  ASSERT_EQ(names.size(), 20u);
  EXPECT_EQ(names[0].size(), 49u);
  EXPECT_EQ(names[19].substr(0, 34), "Corlane Printer Driver DT-300/310 ");
}

}  // namespace
}  // namespace inkmark
