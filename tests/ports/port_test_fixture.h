// What the port tests share: a private device map, the simulated clock, recorded
// message boxes, and profiles built from a few choices.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/session.h"
#include "fake_port_clock.h"
#include "ports/read_timing.h"
#include "pty_printer.h"
#include "support/recording_message_boxes.h"

namespace inkmark::testing {

struct LineChoice {
  std::string port = "COM1";
  std::int32_t baud = 19200;
  std::int32_t bits = 8;
  std::string parity = "None";
  std::string flow = "DTR/DSR";
};

// A profile offering exactly the given choices, each selected.
inline PrinterProfile ProfileWith(const LineChoice& c) {
  PrinterProfile p;
  p.model_name = "DT-300/310";
  p.ports = {c.port, "0"};
  p.port_count = 1;
  p.baud_rates = {c.baud, 0};
  p.baud_count = 1;
  p.bit_lengths = {c.bits, 0};
  p.bit_length_count = 1;
  p.parities = {c.parity, "0"};
  p.parity_count = 1;
  p.flows = {c.flow, "0"};
  p.flow_count = 1;
  return p;
}

// The driver port's profile: its port choice names the driver family.
inline PrinterProfile DriverProfile(const std::string& driver) {
  PrinterProfile p = ProfileWith({.port = "Corlane Printer Driver"});
  p.driver_names = {driver, "0"};
  p.driver_count = 1;
  return p;
}

inline void UseProfile(LogoSession& session, PrinterProfile profile) {
  session.profiles = {std::move(profile)};
  session.profile_count = 1;
  session.profile_index = 0;
}

inline const std::string kDriverModel = "Corlane Printer Driver DT-300/310";

// Bytes that differ from their neighbours and do not repeat every 256.
inline std::vector<std::uint8_t> Pattern(std::size_t n) {
  std::vector<std::uint8_t> data(n);
  for (std::size_t i = 0; i < n; ++i) data[i] = std::uint8_t(i * 7 + i / 251);
  return data;
}

inline std::string AsText(const std::vector<std::uint8_t>& data) {
  return {data.begin(), data.end()};
}

class PortTest : public ::testing::Test {
 protected:
  PortTest() { read_constant_ms = kReadConstantStartMs; }
  ~PortTest() override { read_constant_ms = kReadConstantStartMs; }

  DeviceMapHome home;
  FakePortClock clock;
  RecordingMessageBoxes boxes;
};

}  // namespace inkmark::testing
