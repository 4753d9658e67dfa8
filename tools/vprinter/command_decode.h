// Reads the fields of one graphics command out of its body.
#pragma once

#include <string>

#include "command_parser.h"
#include "graphics.h"

namespace inkmark::vprinter {

enum class CommandKind {
  kInitialise,
  kAcknowledge,
  kKeyListRequest,
  kCapacityRequest,
  kDefine,       // define NV graphics (raster or column form)
  kDelete,       // delete NV graphics by key
  kPrintNv,      // print one stored NV graphics
  kStore,        // store graphics in the print buffer (raster or column form)
  kPrintBuffer,  // print the graphics in the print buffer
  kSetDensity,
  kRefused,  // a known command with fields that do not hold together
  kUnknown,  // a command of the family that this printer does not know
};

struct Command {
  CommandKind kind = CommandKind::kUnknown;
  NvKey key{};
  Graphics graphics;  // kDefine, kStore
  int scale_x = 1;    // kPrintNv, kStore
  int scale_y = 1;
  std::uint8_t density = 0;  // kSetDensity: 0x32 or 0x33
  std::string reason;        // kRefused: why
};

Command DecodeFrame(const Frame& frame);

}  // namespace inkmark::vprinter
