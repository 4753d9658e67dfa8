// The printer's NV memory: kept in a file across printers, and loaded as far
// as it is whole and fits.
#include "nv_memory.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "virtual_printer.h"

namespace inkmark::vprinter {
namespace {

Graphics OneRow(std::uint8_t bits) {
  return {GraphicsForm::kRaster, 8, 1, {{kFirstInkCode, {bits}}}};
}

TEST(NvMemory, PersistsAcrossPrintersThroughItsFile) {
  inkmark::testing::TempDir dir;
  PrinterOptions options;
  options.nv_file = dir.path() / "nv.bin";
  {
    VirtualPrinter printer(options);
    EXPECT_FALSE(printer.LoadNvFile().has_value());  // no file yet: empty memory
    printer.Define({'A', 'B'}, OneRow(0xF0));
    printer.Define({'C', 'D'}, OneRow(0x0F));
    printer.Delete({'A', 'B'});
  }
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "nv.bin.tmp"));
  VirtualPrinter again(options);
  EXPECT_FALSE(again.LoadNvFile().has_value());
  ASSERT_EQ(again.Keys(), (std::vector<NvKey>{{'C', 'D'}}));
  EXPECT_EQ(again.Find({'C', 'D'})->blocks[0].data, (std::vector<std::uint8_t>{0x0F}));
  EXPECT_EQ(again.Remaining(), kDefaultCapacity - NvMemory::Charge(OneRow(0)));
}

TEST(NvMemory, LoadReportsDamageAndWhatDoesNotFit) {
  NvMemory source(1000);
  source.Define({'A', 'A'}, OneRow(1));
  source.Define({'B', 'B'}, OneRow(2));
  auto bytes = source.Serialize();

  NvMemory small(NvMemory::Charge(OneRow(0)));
  EXPECT_TRUE(small.Load(bytes).has_value());
  EXPECT_EQ(small.size(), 1u);
  EXPECT_EQ(small.remaining(), 0u);

  NvMemory cut(1000);
  bytes.pop_back();
  EXPECT_TRUE(cut.Load(bytes).has_value());
  EXPECT_EQ(cut.size(), 1u);  // the whole first entry, nothing of the cut one

  NvMemory foreign(1000);
  EXPECT_TRUE(foreign.Load(std::vector<std::uint8_t>{'n', 'o', 't', ' ', 'n', 'v'}).has_value());
  EXPECT_EQ(foreign.size(), 0u);
}

}  // namespace
}  // namespace inkmark::vprinter
