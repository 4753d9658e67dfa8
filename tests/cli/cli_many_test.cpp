// One command on many printers at once: three virtual printers over TCP, one
// of which fails; the others do their work and the results say which failed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>
#include <cmath>

#include "cli/inkmark_tool.h"
#include "servers.h"
#include "support/tcp_test_printer.h"
#include "virtual_printer.h"

namespace inkmark::testing {
namespace {

class InkmarkManyTest : public InkmarkToolTest {
 protected:
  void SetUp() override {
    WriteBlack("logo.bmp", 8, 2);
    for (int i = 0; i < 3; ++i) {
      printers[i] = std::make_unique<vprinter::VirtualPrinter>(vprinter::PrinterOptions{});
      std::string error;
      servers[i] = vprinter::TcpServer::Start(*printers[i], "127.0.0.1", 0, &error);
      ASSERT_TRUE(servers[i]) << error;
      ports[i] = "tcp://127.0.0.1:" + std::to_string(servers[i]->port());
    }
  }
  ToolResult Keys(const std::string& port) { return OnModel({"--port", port}, {"keys"}); }

  std::unique_ptr<vprinter::VirtualPrinter> printers[3];
  std::unique_ptr<vprinter::TcpServer> servers[3];
  std::vector<std::string> ports = std::vector<std::string>(3);
};

TEST_F(InkmarkManyTest, ARegistrationThatFailsOnOnePrinterLeavesTheOthersRegistered) {
  // The middle printer already holds the key.
  ASSERT_EQ(OnModel({"--port", ports[1]}, {"register", "logo.bmp", "-k", "AB"}).status, 0);
  ToolResult r = OnModel(PortArgs(ports), {"--jobs", "3", "register", "logo.bmp", "-k", "AB"});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(r.out, ports[0] + "\tok\tdone\n" + ports[1] +
                       "\tfailed\tSpecified key already exists.\n" + ports[2] + "\tok\tdone\n" +
                       "2 of 3 printers succeeded; failed: " + ports[1] + "\n");
  for (const std::string& port : ports) EXPECT_EQ(Keys(port).out, "AB\n") << port;

  // Every printer holds it now: the same line fails on all three, in JSON.
  r = OnModel(PortArgs(ports), {"--json", "register", "logo.bmp", "-k", "AB"});
  EXPECT_EQ(r.status, 1);
  const QJsonObject doc = Json(r.out);
  EXPECT_EQ(doc["command"].toString(), "register");
  EXPECT_EQ(doc["succeeded"].toInt(-1), 0);
  EXPECT_EQ(doc["failed"].toInt(), 3);
  const QJsonArray results = doc["printers"].toArray();
  ASSERT_EQ(results.size(), 3);
  for (int i = 0; i < 3; ++i) {
    const QJsonObject p = results[i].toObject();
    EXPECT_EQ(p["port"].toString().toStdString(), ports[i]);
    EXPECT_FALSE(p["ok"].toBool(true));
    EXPECT_EQ(p["status"].toInt(), 1);
    EXPECT_EQ(p["message"].toString(), "Specified key already exists.");
  }
}

TEST_F(InkmarkManyTest, APrintersListWithItsOwnSettingsAndAPortNobodyListensOn) {
  std::uint16_t closed = 0;
  {
    TcpTestPrinter gone;
    closed = gone.port();
  }
  const std::string dead = "tcp://127.0.0.1:" + std::to_string(closed);
  work.Write("shop.txt", "# our printers\n" + ports[0] + " --printer DT-500/510 --second None\n" +
                             dead + " --printer DT-500/510\n\n" + ports[2] +
                             " --printer \"DT-500/510\" --second=None\n");
  ToolResult r = Run({"--printers-list", "shop.txt", "--jobs", "1", "capacity"}, false);
  EXPECT_EQ(r.status, 1) << r.err;
  const long capacity = std::strtol(
      Run({"--printer", "DT-500/510", "--port", ports[0], "capacity"}, false).out.c_str(), nullptr,
      10);
  ASSERT_GT(capacity, 0);
  const std::string c = std::to_string(capacity);
  EXPECT_EQ(r.out, ports[0] + "\tok\t" + c + "\n" + dead +
                       "\tfailed\tFailed to open printer port.; cannot connect to " + dead +
                       ": Connection refused\n" + ports[2] + "\tok\t" + c +
                       "\n2 of 3 printers succeeded; failed: " + dead + "\n");
  // A bad line is refused before any printer is reached.
  work.Write("bad.txt", ports[0] + "\n" + ports[1] + " --resolution none\n");
  r = Run(
      {"--printers-list", "bad.txt", "--printer", "DT-500/510", "register", "logo.bmp", "-k", "ZZ"},
      false);
  EXPECT_EQ(r.status, 2);
  EXPECT_THAT(r.err, ::testing::HasSubstr("printer " + ports[1] +
                                          ": invalid value 'none' for --resolution"));
  EXPECT_EQ(Keys(ports[0]).out, "");
  r = Run({"--printers-list", "missing.txt", "keys"}, false);
  EXPECT_EQ(r.status, 2);
  EXPECT_THAT(r.err, ::testing::HasSubstr("cannot read the printers list 'missing.txt'"));
}

TEST_F(InkmarkManyTest, EveryLineIsCheckedAgainstItsModelBeforeAnyPrinterIsReached) {
  struct Bad {
    std::string line, why;
  };
  for (const Bad& bad : {
           Bad{"tcp://127.0.0.1:0", "invalid network port 'tcp://127.0.0.1:0'"},
           Bad{"COM5", "DT-500/510 offers no port 'COM5'"},
           Bad{ports[1] + " --baud 230400", "DT-500/510 offers no baud rate '230400'"},
           Bad{ports[1] + " --first Purple", "DT-500/510 offers no 1st colour 'Purple'"},
       }) {
    work.Write("list.txt", ports[0] + " --baud 115200\n# the next line is wrong\n" + bad.line +
                               "\n" + ports[2] + "\n");
    const ToolResult r =
        OnModel({"--printers-list", "list.txt"}, {"register", "logo.bmp", "-k", "ZZ"});
    EXPECT_EQ(r.status, 2) << bad.line << r.err;
    const std::string port = bad.line.substr(0, bad.line.find(' '));
    EXPECT_THAT(r.err,
                ::testing::HasSubstr("printers list line 3, printer " + port + ": " + bad.why));
    EXPECT_EQ(r.out, "");
  }
  for (const auto& p : printers) EXPECT_TRUE(p->Keys().empty());
  // The last values each list offers pass.
  work.Write("list.txt", ports[0] + " --baud 115200\n" + ports[1] + " --baud 2400\n");
  const ToolResult r =
      OnModel({"--printers-list", "list.txt"}, {"register", "logo.bmp", "-k", "ZZ"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(printers[1]->Keys().size(), 1u);
}

TEST_F(InkmarkManyTest, AResultLineHasThreeFieldsWhateverThePrinterSays) {
  // A key with a tab and one with a newline, as a printer's reply may hold.
  for (const std::string key : {"\tA", "B\n"})
    ASSERT_EQ(printers[0]->Define(
                  {std::uint8_t(key[0]), std::uint8_t(key[1])},
                  vprinter::Graphics{vprinter::GraphicsForm::kRaster, 8, 1, {{0x31, {0x5A}}}}),
              vprinter::DefineResult::kStored);
  const ToolResult r = OnModel({"--port", ports[0], "--port", ports[1]}, {"keys"});
  EXPECT_EQ(r.out, ports[0] + "\tok\t\\x09A B\\x0A\n" + ports[1] +
                       "\tok\tdone\n2 of 2 printers succeeded\n")
      << r.err;
}

TEST_F(InkmarkManyTest, APrinterThatDripsItsReplyIsStoppedAtItsDeadlineAndTheOthersAreNot) {
  // A key list sent one byte a second takes far longer than the deadline.
  vprinter::PrinterOptions dripping;
  dripping.faults.drip_ms = 1000;
  vprinter::VirtualPrinter slow(dripping);
  for (char c : std::string("ABCDEFGH"))
    ASSERT_EQ(slow.Define({std::uint8_t(c), std::uint8_t(c)},
                          vprinter::Graphics{vprinter::GraphicsForm::kRaster, 8, 1, {{0x31, {0}}}}),
              vprinter::DefineResult::kStored);
  std::string error;
  auto server = vprinter::TcpServer::Start(slow, "127.0.0.1", 0, &error);
  ASSERT_TRUE(server) << error;
  const std::string slow_port = "tcp://127.0.0.1:" + std::to_string(server->port());
  const ToolResult r =
      OnModel({"--port", ports[0], "--port", slow_port}, {"--deadline", "1", "--json", "keys"});
  EXPECT_EQ(r.status, 1) << r.err;
  const QJsonArray results = Json(r.out)["printers"].toArray();
  ASSERT_EQ(results.size(), 2) << r.out;
  EXPECT_TRUE(results[0].toObject()["ok"].toBool()) << r.out;
  const QJsonObject stopped = results[1].toObject();
  EXPECT_FALSE(stopped["ok"].toBool(true));
  EXPECT_TRUE(stopped["message"].toString().startsWith("no result within 1 s: stopped")) << r.out;

  // The deadline belongs to runs on many printers, and has its limits.
  for (const char* bad : {"0", "86401", "x"})
    EXPECT_EQ(
        Run({"--port", ports[0], "--port", ports[1], "--deadline", bad, "keys"}, false).status, 2)
        << bad;
  const ToolResult one = Run({"--port", ports[0], "--deadline", "86400", "keys"}, false);
  EXPECT_EQ(one.status, 2);
  EXPECT_THAT(one.err, ::testing::HasSubstr("--deadline applies only to more than one printer"));
  EXPECT_EQ(
      OnModel({"--port", ports[0], "--port", ports[1]}, {"--deadline", "86400", "keys"}).status, 0);
}

TEST_F(InkmarkManyTest, JsonOfPrintersKeysCapacityAndPreviewWithTheSameExitStatus) {
  auto run = [&](const std::vector<std::string>& args) {
    return OnModel({"--port", ports[0]}, args);
  };
  ASSERT_EQ(run({"register", "logo.bmp", "-k", "Q\""}).status, 0);
  ASSERT_EQ(run({"register", "logo.bmp", "-k", "A\\"}).status, 0);
  ToolResult r = run({"keys", "--json"});
  EXPECT_EQ(r.status, 0);
  QJsonObject doc = Json(r.out);
  std::vector<std::string> keys;
  for (const QJsonValue& k : doc["keys"].toArray()) keys.push_back(k.toString().toStdString());
  EXPECT_EQ(keys, (std::vector<std::string>{"A\\", "Q\""})) << r.out;
  EXPECT_TRUE(doc["complete"].toBool());

  const long capacity = std::strtol(run({"capacity"}).out.c_str(), nullptr, 10);
  r = run({"--json", "capacity"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(Json(r.out)["capacity"].toInteger(), capacity);

  r = run({"preview", "logo.bmp", "--json"});
  EXPECT_EQ(r.status, 0) << r.err;
  doc = Json(r.out);
  EXPECT_EQ(doc["width_dots"].toInt(), 8);
  EXPECT_EQ(doc["height_dots"].toInt(), 2);
  EXPECT_GT(doc["resolution"].toInt(), 0);
  EXPECT_DOUBLE_EQ(doc["width_mm"].toDouble(),
                   std::round(8 * 2540.0 / doc["resolution"].toInt()) / 100);
  EXPECT_DOUBLE_EQ(doc["first_ink_percent"].toDouble(), 100.0);
  EXPECT_DOUBLE_EQ(doc["second_ink_percent"].toDouble(), 0.0);

  r = Run({"printers", "--json", "--printer", "DT-500/510", "--second", "None"}, false);
  EXPECT_EQ(r.status, 0);
  const QJsonArray models = Json(r.out)["printers"].toArray();
  int current = 0;
  for (const QJsonValue& m : models) {
    const QJsonObject model = m.toObject();
    EXPECT_FALSE(model["paper"]["choices"].toArray().isEmpty());
    if (!model["current"].toBool()) continue;
    ++current;
    EXPECT_EQ(model["model"].toString(), "DT-500/510");
    EXPECT_EQ(model["second_colour"]["selected"].toString(), "None");
    EXPECT_TRUE(model["resolution"]["selected"].isDouble());
  }
  EXPECT_EQ(current, 1);

  // A failure prints no document and keeps its status and message.
  servers[1]->Stop();
  r = Run({"--printer", "DT-500/510", "--port", ports[1], "--json", "capacity"}, false);
  EXPECT_EQ(std::to_string(r.status) + r.out + r.err,
            "1inkmark: Failed to open printer port.\ninkmark: cannot connect to " + ports[1] +
                ": Connection refused\n");
}

}  // namespace
}  // namespace inkmark::testing
