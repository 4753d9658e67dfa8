// Printer profiles built from printer-file text, as the program loads them.
#pragma once

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "platform/profile_reader.h"
#include "settings/printer_files.h"

namespace inkmark::testing {

// A two-colour model with every list filled.
inline constexpr std::string_view kDt300File =
    "[Spec]\nPrnName=DT-300/310\nPaperWidth=58mm,80mm,58mmJP,1\nPaperDot=360,512,360\n"
    "1stColor=Black,Red,0\n2ndColor=Red,None,0\nResolution=180,360,0\n"
    "Port=COM1,COM2,LPT1,Corlane Printer Driver,0\nBaudRate=9600,19200,1\nBitLength=7,8,1\n"
    "Parity=None,Even,Odd,0\nFlow=DTR/DSR,XON/XOFF,0\n";

inline constexpr std::string_view kDt200File =
    "[Spec]\nPrnName=DT-200/210\nPaperWidth=58mm,0\nPaperDot=360\n1stColor=Black,0\n"
    "2ndColor=None,0\nResolution=180,0\nPort=COM1,COM10,0\nBaudRate=9600,0\nBitLength=8,0\n"
    "Parity=None,0\nFlow=XON/XOFF,0\n";

inline PrinterProfile ProfileFrom(std::string_view text) {
  PrinterProfile profile;
  EXPECT_TRUE(LoadPrinterProfile(ProfileFile::Parse(text), profile));
  return profile;
}

// Every saved selection of a profile: paper width, both colours, resolution,
// port, baud rate, bit length, parity and flow.
inline std::vector<std::int32_t*> SelectionFields(PrinterProfile& p) {
  return {&p.paper_width_sel, &p.first_color_sel, &p.second_color_sel,
          &p.resolution_sel,  &p.port_sel,        &p.baud_sel,
          &p.bit_length_sel,  &p.parity_sel,      &p.flow_sel};
}
inline std::vector<std::int32_t> Selections(PrinterProfile p) {
  std::vector<std::int32_t> values;
  for (std::int32_t* field : SelectionFields(p)) values.push_back(*field);
  return values;
}

}  // namespace inkmark::testing
