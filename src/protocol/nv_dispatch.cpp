#include "protocol/nv_dispatch.h"

#include "platform/string_table.h"
#include "protocol/nv_column.h"
#include "protocol/nv_planes.h"
#include "protocol/nv_raster.h"
#include "protocol/transaction.h"

namespace inkmark {

namespace {

bool UsesColumnForm(const LogoSession& session) {
  const PrinterProfile* profile = session.CurrentProfile();
  return profile && IsSpecialModel(*profile);
}

}  // namespace

std::int32_t TestPrint(WindowHandle owner, const LogoSession& session,
                       std::optional<LogoRaster> raster) {
  if (UsesColumnForm(session)) return TestPrintColumn(owner, session, std::move(raster));
  return TestPrintRaster(owner, session, std::move(raster));
}

std::int32_t RegisterNvGraphics(PortDriver& port, WindowHandle owner, const LogoSession& session,
                                const NvKey& key, std::optional<LogoRaster> raster) {
  if (UsesColumnForm(session)) {
    return DefineNvGraphicsColumn(port, owner, session, key, std::move(raster));
  }
  return DefineNvGraphicsRaster(port, owner, session, key, std::move(raster));
}

std::int32_t CloseAfterRegistration(std::unique_ptr<PortDriver> port, WindowHandle owner,
                                    std::int32_t result) {
  Status closed = port ? ClosePortChecked(*port) : Status();
  if (closed || result != 1) return result;
  ReportTransferFailure(owner, kStrRegisterFailed, true, closed.failure());
  return 0;
}

}  // namespace inkmark
