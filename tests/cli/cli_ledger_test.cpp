// The ledger through inkmark, against virtual printers on TCP and on COM1: a
// rollout re-run with --if-changed, status before and after, --replace that
// puts the previous logo back, many printers recording at once, and ledgers
// that cannot be used, which never stop a printer command.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QJsonArray>
#include <QJsonObject>
#include <atomic>
#include <set>

#include "cli/inkmark_on_com1.h"
#include "cli/inkmark_tool.h"
#include "servers.h"
#include "virtual_printer.h"

namespace inkmark::testing {
namespace {

// Virtual printers on loopback TCP, each counting the defines it receives.
class LedgerTest : public InkmarkToolTest {
 protected:
  void Start(int count, vprinter::FaultOptions faults = {}) {
    for (int i = 0; i < count; ++i) {
      vprinter::PrinterOptions options;
      options.faults = faults;
      options.log = [this, i](const std::string& line) {
        if (line.starts_with("define ")) ++defines[i];
      };
      printers.push_back(std::make_unique<vprinter::VirtualPrinter>(options));
      std::string error;
      servers.push_back(vprinter::TcpServer::Start(*printers.back(), "127.0.0.1", 0, &error));
      ASSERT_TRUE(servers.back()) << error;
      ports.push_back("tcp://127.0.0.1:" + std::to_string(servers.back()->port()));
    }
  }
  std::vector<std::string> Keys(int i) const {
    std::vector<std::string> keys;
    for (const auto& k : printers[std::size_t(i)]->Keys()) keys.emplace_back(k.begin(), k.end());
    return keys;
  }

  std::atomic<int> defines[8] = {};
  std::vector<std::unique_ptr<vprinter::VirtualPrinter>> printers;
  std::vector<std::unique_ptr<vprinter::TcpServer>> servers;  // declared after: stop first
  std::vector<std::string> ports;
};

TEST_F(LedgerTest, ARolloutRunAgainWithIfChangedRegistersOnlyWhereItFailed) {
  Start(3);
  WriteBlack("logo.bmp", 8, 2);
  ToolResult r = OnModel(PortArgs(ports), {"status"});
  ASSERT_EQ(r.status, 0) << r.err;
  for (const std::string& p : ports) EXPECT_THAT(r.out, ::testing::HasSubstr(p + "\treachable\t"));
  EXPECT_THAT(r.out, ::testing::HasSubstr("\t0 keys\n"));

  // The third printer is off during the first rollout.
  const std::uint16_t third = servers[2]->port();
  servers[2]->Stop();
  const std::vector<std::string> rollout = {"--jobs", "3", "register", "logo.bmp", "-k", "AB"};
  r = OnModel(PortArgs(ports), rollout);
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_THAT(r.out, ::testing::HasSubstr(ports[2] + "\tfailed\t"));
  r = OnModel(PortArgs(ports), {"status"});
  EXPECT_EQ(r.status, 1);
  EXPECT_THAT(r.out, ::testing::HasSubstr(ports[2] + "\tunreachable\t"));
  EXPECT_THAT(r.out, ::testing::HasSubstr(ports[0] + "\tAB\tlogo.bmp\t"));
  EXPECT_EQ(r.out.find(ports[2] + "\tAB"), std::string::npos) << r.out;

  std::string error;
  servers[2] = vprinter::TcpServer::Start(*printers[2], "127.0.0.1", third, &error);
  ASSERT_TRUE(servers[2]) << error;
  std::vector<std::string> again = rollout;
  again.push_back("--if-changed");
  r = OnModel(PortArgs(ports), again);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, ports[0] + "\tok\tunchanged\n" + ports[1] + "\tok\tunchanged\n" + ports[2] +
                       "\tok\tdone\n3 of 3 printers succeeded\n");
  EXPECT_EQ(defines[0].load(), 1);
  EXPECT_EQ(defines[1].load(), 1);
  EXPECT_EQ(defines[2].load(), 1);

  // Every printer now holds the logo the ledger recorded, by one hash.
  r = Run({"ledger", "--json", "-k", "AB"}, false);
  ASSERT_EQ(r.status, 0) << r.err;
  const QJsonArray entries = Json(r.out)["entries"].toArray();
  ASSERT_EQ(entries.size(), 3);
  const QString hash = entries[0].toObject()["raster_sha256"].toString();
  EXPECT_EQ(hash.size(), 64);
  r = OnModel(PortArgs(ports), {"status", "--json"});
  EXPECT_EQ(r.status, 0) << r.err;
  const QJsonArray status = Json(r.out)["printers"].toArray();
  ASSERT_EQ(status.size(), 3);
  for (int i = 0; i < 3; ++i) {
    const QJsonObject p = status[i].toObject();
    EXPECT_EQ(p["printer"].toString().toStdString(), ports[std::size_t(i)]);
    EXPECT_TRUE(p["reachable"].toBool());
    EXPECT_GT(p["capacity"].toInt(), 0);
    const QJsonObject key = p["keys"].toArray()[0].toObject();
    EXPECT_EQ(key["key"].toString(), "AB");
    EXPECT_TRUE(key["known"].toBool());
    EXPECT_EQ(key["source"].toString(), "logo.bmp");
    EXPECT_EQ(key["raster_sha256"].toString(), hash);
  }

  // Another logo under the key is left alone without --replace.
  WriteBlack("logo.bmp", 16, 2);
  r = OnModel({"--port", ports[0]}, {"register", "logo.bmp", "-k", "AB", "--if-changed"});
  EXPECT_EQ(r.status, 1);
  EXPECT_THAT(r.err, ::testing::HasSubstr("key AB on " + ports[0] + " holds another logo"));
  EXPECT_EQ(defines[0].load(), 1);
}

TEST_F(LedgerTest, ReplaceThatLosesTheLineMidDefinePutsThePreviousLogoBack) {
  // The small logo's define fits under the drop; the larger one's does not.
  vprinter::FaultOptions faults;
  faults.drop_after = 150;
  Start(1, faults);
  WriteBlack("old.bmp", 8, 2);
  WriteBlack("new.bmp", 64, 32);
  ASSERT_EQ(OnModel({"--port", ports[0]}, {"register", "old.bmp", "-k", "AB"}).status, 0);
  ASSERT_EQ(OnModel({"--port", ports[0]}, {"print", "AB"}).status, 0);
  const vprinter::Picture before = printers[0]->Printed().back();

  ToolResult r = OnModel({"--port", ports[0]}, {"register", "new.bmp", "-k", "AB", "--replace"});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_THAT(r.err, ::testing::HasSubstr("the previous logo under key AB on " + ports[0] +
                                          " was put back"));
  EXPECT_EQ(Keys(0), std::vector<std::string>{"AB"});
  ASSERT_EQ(OnModel({"--port", ports[0]}, {"print", "AB"}).status, 0);
  const vprinter::Picture after = printers[0]->Printed().back();
  EXPECT_EQ(after.width, before.width);
  EXPECT_EQ(after.height, before.height);
  EXPECT_EQ(after.inks, before.inks);

  r = Run({"ledger", "--port", ports[0]}, false);
  std::vector<std::string> actions;
  for (std::size_t at = 0; (at = r.out.find('\t', at)) != std::string::npos;
       at = r.out.find('\n', at)) {
    ++at;
    actions.push_back(r.out.substr(at, r.out.find('\t', at) - at));
  }
  EXPECT_EQ(actions, (std::vector<std::string>{"register", "delete", "restore"})) << r.out;
}

TEST_F(LedgerTest, EightPrintersRecordAtOnceWithoutLosingARow) {
  Start(8);
  WriteBlack("logo.bmp", 8, 2);
  std::string list;
  for (int i = 0; i < 8; ++i)
    list += ports[std::size_t(i)] + " --name shop-" + std::to_string(i) + "\n";
  work.Write("shops.txt", list);
  const ToolResult r = OnModel({"--printers-list", "shops.txt"},
                               {"--jobs", "8", "register", "logo.bmp", "-k", "AB"});
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  const ToolResult history = Run({"ledger", "--json"}, false);
  std::set<QString> names;
  for (const QJsonValue& e : Json(history.out)["entries"].toArray()) {
    EXPECT_EQ(e.toObject()["action"].toString(), "register");
    names.insert(e.toObject()["printer"].toString());
  }
  EXPECT_EQ(names.size(), 8u) << history.out;
  EXPECT_EQ(
      Json(Run({"ledger", "--json", "--name", "SHOP-7"}, false).out)["entries"].toArray().size(),
      1);
}

TEST_F(LedgerTest, ALedgerThatCannotBeUsedIsNamedAndThePrinterCommandStillDone) {
  Start(2);
  WriteBlack("logo.bmp", 8, 2);
  const std::string junk(2048, 'x');
  work.Write("junk.sqlite", junk);
  ToolResult r = OnModel({"--port", ports[0], "--ledger", "junk.sqlite"},
                         {"register", "logo.bmp", "-k", "AB"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_THAT(r.err, ::testing::HasSubstr(
                         "the ledger 'junk.sqlite' cannot be used: file is not a database"));
  EXPECT_THAT(r.err, ::testing::HasSubstr("the registration of key AB on " + ports[0] +
                                          " was done but is not recorded"));
  EXPECT_EQ(Keys(0).size(), 1u);
  // On many printers each result line says so after the printer's own result.
  std::vector<std::string> both = PortArgs(ports);
  both.insert(both.end(), {"--ledger", "junk.sqlite"});
  r = OnModel(both, {"register", "logo.bmp", "-k", "EF"});
  EXPECT_EQ(r.status, 0) << r.err;
  for (const std::string& p : ports)
    EXPECT_NE(r.out.find(p +
                         "\tok\tdone; the ledger 'junk.sqlite' cannot be used: file is not a "
                         "database; the registration of key EF on " +
                         p + " was done but is not recorded\n"),
              std::string::npos)
        << r.out;
  EXPECT_EQ(Keys(1).size(), 1u);
  EXPECT_EQ(Read("junk.sqlite"), junk);

  // Another process holds the write lock past the time-out.
  ASSERT_EQ(
      OnModel({"--port", ports[0], "--ledger", "team.sqlite"}, {"register", "logo.bmp", "-k", "CD"})
          .status,
      0);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open((work.path() / "team.sqlite").c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  r = OnModel({"--port", ports[0], "--ledger", "team.sqlite"}, {"delete", "--yes", "CD"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_THAT(r.err, ::testing::HasSubstr(
                         "the ledger 'team.sqlite' cannot be used: locked by another program"));
  EXPECT_THAT(r.err, ::testing::HasSubstr("the deletion of key CD on " + ports[0] +
                                          " was done but is not recorded"));
  EXPECT_EQ(Keys(0).size(), 2u);
  sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  // The lock gone, the ledger holds what it recorded before.
  r = Run({"ledger", "--ledger", "team.sqlite"}, false);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_THAT(r.out,
              ::testing::HasSubstr("\tregister\t" + ports[0] + "\tDT-500/510\tCD\tlogo.bmp\t"));
}

using LedgerOnCom1Test = InkmarkOnCom1Test;

TEST_F(LedgerOnCom1Test, ReplaceOfAKeyTheLedgerDoesNotKnowNeedsYes) {
  const vprinter::Graphics theirs{vprinter::GraphicsForm::kRaster, 8, 1, {{0x31, {0x5A}}}};
  ASSERT_EQ(printer.Define({'A', 'B'}, theirs), vprinter::DefineResult::kStored);
  auto held = [&] { return printer.Find({'A', 'B'}); };

  ToolResult r = Run({"register", "black.bmp", "-k", "AB", "--if-changed"});
  EXPECT_EQ(r.status, 1);
  EXPECT_THAT(r.err, ::testing::HasSubstr("key AB on COM1 holds another logo"));
  r = Run({"register", "black.bmp", "-k", "AB", "--replace"});
  EXPECT_EQ(r.status, 1);
  EXPECT_THAT(r.err, ::testing::HasSubstr(
                         "key AB on COM1 is left alone: the ledger does not know its logo"));
  ASSERT_TRUE(held());
  EXPECT_EQ(held()->width, 8);
  EXPECT_EQ(held()->height, 1);

  r = Run({"register", "black.bmp", "-k", "AB", "--replace", "--yes"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "replaced\n");
  ASSERT_TRUE(held());
  EXPECT_EQ(held()->height, 2);
  // Now the ledger knows it: the same logo again is unchanged.
  r = Run({"register", "black.bmp", "-k", "AB", "--if-changed", "--replace"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "unchanged\n");
  r = Run({"status"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_THAT(r.out, ::testing::HasSubstr("COM1\tAB\tblack.bmp\t"));
}

}  // namespace
}  // namespace inkmark::testing
