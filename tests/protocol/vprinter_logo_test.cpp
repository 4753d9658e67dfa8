// Registration of the logo built afresh from the session's source, a picture
// and a logo document, in both families, against the virtual printer.
#include <gtest/gtest.h>

#include "compose_fixture.h"
#include "image/compose.h"
#include "ports/open_port.h"
#include "protocol/nv_dispatch.h"
#include "protocol/transaction.h"
#include "protocol_fixtures.h"

namespace inkmark::testing {
namespace {

class FreshLogoTest : public PtyPrinterTest {
 protected:
  void SetUp() override { StartPrinter(); }

  // Registers under the key on a port of its own, then waits for the printer
  // to have taken it; checks the stored graphics print as the raster built
  // from the same source, `width` x `height` as the printer stores it.
  void ExpectRegistered(const std::string& model, char kc1, char kc2, int width, int height) {
    cs.session().profiles = {ProfileFor(model)};
    auto port = OpenPrinterPort(cs.session());
    ASSERT_TRUE(port);
    ASSERT_EQ(RegisterNvGraphics(*port, nullptr, cs.session(), MakeNvKey(kc1, kc2)), 1) << model;
    ReadNvCapacity(*port);
    ClosePrinterPort(std::move(port));
    auto g = printer->Find({std::uint8_t(kc1), std::uint8_t(kc2)});
    ASSERT_TRUE(g) << model;
    auto raster = BuildLogoRaster(cs.session());
    ASSERT_TRUE(raster);
    EXPECT_EQ(vprinter::RenderGraphics(*g)->inks,
              ExpectedPicture(*raster, width, height, *raster->FindInk(kColorBlack),
                              *raster->FindInk(kColorRed))
                  .inks)
        << model;
  }

  ComposeSession cs{96};
};

TEST_F(FreshLogoTest, PictureAndDocumentRegisterAsBuiltInBothFamilies) {
  cs.session().profile_count = 1;
  cs.session().profile_index = 0;
  cs.UsePicture(SplitBitmap(60, 20, kBlack24, kRed24));
  ExpectRegistered("QP-80", 'P', '1', 64, 20);
  ExpectRegistered("DT-300/310", 'P', '2', 60, 24);
  ASSERT_TRUE(
      cs.UseDocument(48, 12, {ImageObject(0, 0, 48, 12, SplitBitmap(48, 12, kRed24, kBlack24))}));
  ExpectRegistered("QP-80", 'D', '1', 48, 12);
  ExpectRegistered("DT-350/360", 'D', '2', 48, 16);
  EXPECT_TRUE(boxes.boxes().empty());
}

}  // namespace
}  // namespace inkmark::testing
