// The built inkmark program with the virtual printer on COM1 and a black
// 8 x 2 bitmap, black.bmp, in its work folder.
#pragma once

#include <memory>
#include <string>

#include "cli/inkmark_tool.h"
#include "servers.h"
#include "support/compose_fixture.h"
#include "support/pty_printer.h"
#include "virtual_printer.h"

namespace inkmark::testing {

class InkmarkOnCom1Test : public InkmarkToolTest {
 protected:
  void SetUp() override {
    std::string error;
    server =
        vprinter::PtyServer::Start(printer, home.folder() / "Quorvel" / "devices" / "com1", &error);
    ASSERT_TRUE(server) << error;
    WriteBlack("black.bmp", 8, 2);
  }

  DeviceMapHome home;
  vprinter::VirtualPrinter printer{vprinter::PrinterOptions{}};
  std::unique_ptr<vprinter::PtyServer> server;  // stops before the printer goes
};

}  // namespace inkmark::testing
