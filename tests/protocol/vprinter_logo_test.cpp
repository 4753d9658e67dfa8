// Registration of the logo built afresh from the session's source, a picture
// and a logo document, in both families, against the virtual printer.
#include <gtest/gtest.h>

#include "compose_fixture.h"
#include "image/compose.h"
#include "ports/open_port.h"
#include "protocol/nv_dispatch.h"
#include "protocol/transaction.h"
#include "protocol_fixtures.h"
#include "pty_printer.h"
#include "servers.h"
#include "support/recording_message_boxes.h"
#include "virtual_printer.h"

namespace inkmark::testing {
namespace {

class FreshLogoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    server =
        vprinter::PtyServer::Start(printer, home.folder() / "Quorvel" / "devices" / "com1", &error);
    ASSERT_TRUE(server) << error;
  }
  void TearDown() override {
    if (server) server->Stop();
  }

  void UseModel(const std::string& model) {
    LogoSession& s = cs.session();
    s.profiles = {ProfileFor(model)};
    s.profile_count = 1;
    s.profile_index = 0;
  }

  // Registers under the key on a port of its own, then waits for the printer
  // to have taken it; the stored graphics as the printer prints them.
  std::optional<vprinter::Picture> RegisterAndRender(char kc1, char kc2) {
    auto port = OpenPrinterPort(cs.session());
    if (!port) return std::nullopt;
    std::int32_t result = RegisterNvGraphics(*port, nullptr, cs.session(), MakeNvKey(kc1, kc2));
    if (result == 1) ReadNvCapacity(*port);
    ClosePrinterPort(std::move(port));
    auto g = printer.Find({std::uint8_t(kc1), std::uint8_t(kc2)});
    if (result != 1 || !g) return std::nullopt;
    return vprinter::RenderGraphics(*g);
  }

  // What the raster built from the same source prints as.
  vprinter::Picture Expected(int picture_width, int picture_height) {
    auto raster = BuildLogoRaster(cs.session());
    EXPECT_TRUE(raster);
    return ExpectedPicture(*raster, picture_width, picture_height, *raster->FindInk(kColorBlack),
                           *raster->FindInk(kColorRed));
  }

  DeviceMapHome home;
  RecordingMessageBoxes boxes;
  vprinter::VirtualPrinter printer{vprinter::PrinterOptions{}};
  std::unique_ptr<vprinter::PtyServer> server;
  ComposeSession cs{96};
};

TEST_F(FreshLogoTest, PictureAndDocumentRegisterAsBuiltInBothFamilies) {
  cs.UsePicture(SplitBitmap(60, 20, kBlack24, kRed24));
  UseModel("QP-80");
  auto picture = RegisterAndRender('P', '1');
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->inks, Expected(64, 20).inks);
  UseModel("DT-300/310");
  picture = RegisterAndRender('P', '2');
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->inks, Expected(60, 24).inks);

  ASSERT_TRUE(
      cs.UseDocument(48, 12, {ImageObject(0, 0, 48, 12, SplitBitmap(48, 12, kRed24, kBlack24))}));
  UseModel("QP-80");
  auto document = RegisterAndRender('D', '1');
  ASSERT_TRUE(document);
  EXPECT_EQ(document->inks, Expected(48, 12).inks);
  UseModel("DT-350/360");
  document = RegisterAndRender('D', '2');
  ASSERT_TRUE(document);
  EXPECT_EQ(document->inks, Expected(48, 16).inks);
  EXPECT_TRUE(boxes.boxes().empty());
}

}  // namespace
}  // namespace inkmark::testing
