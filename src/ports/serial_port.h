// SerialPort: a printer on a serial line "COM<N>:", with the line's speed, data
// bits, parity, stop bits and handshake.
#pragma once

#include <termios.h>

#include <cstdint>

#include "ports/device_port.h"

namespace inkmark {

// Handshake bits of `flow_flags`.
inline constexpr std::uint8_t kFlowDtrDsr = 1;
inline constexpr std::uint8_t kFlowRtsCts = 2;
inline constexpr std::uint8_t kFlowXonXoff = 4;
// Parity codes.
inline constexpr std::uint8_t kParityNone = 0;
inline constexpr std::uint8_t kParityOdd = 1;
inline constexpr std::uint8_t kParityEven = 2;
// Stop-bit codes: 0 one, 2 two.
inline constexpr std::uint8_t kOneStopBit = 0;
inline constexpr std::uint8_t kTwoStopBits = 2;
// Under DTR/DSR the driver's output queue is kept this short, so that once the
// printer drops DSR no more than about twice this reaches it: the line itself
// cannot stop what the driver has queued.
inline constexpr std::uint32_t kDsrQueueLimit = 256;
// The name "COM%d:" holds a number of at most three digits.
inline constexpr std::int32_t kMaxSerialPortNumber = 999;

// Turns `tio` into the line state for the given settings: raw bytes, the speed,
// data bits, parity (checked on input), stop bits, CRTSCTS for RTS/CTS and
// IXON|IXOFF for XON/XOFF. False for a speed, size or parity the line cannot have.
bool SetLineState(termios& tio, std::uint8_t byte_size, std::uint8_t parity, std::uint8_t stop_bits,
                  std::uint8_t flow_flags, std::uint32_t baud_rate);

class SerialPort final : public DevicePort {
 public:
  SerialPort();

  // Names the port "COM<port_number>:" and stores the line. A number outside
  // 0..999 is refused: the port is left without a name, so it cannot open the
  // wrong device, and the result is 0.
  std::int32_t setLine(std::int32_t port_number, std::uint8_t line_byte_size,
                       std::uint8_t line_parity, std::uint8_t line_stop_bits,
                       std::uint8_t line_flow_flags, std::uint32_t line_baud_rate);

  // Opens the device and applies the line; 0 when the device refuses the line.
  Status open() override;
  // 1 when DSR or carrier detect is on; a line without modem lines counts as ready.
  std::int32_t status() override;
  // Pulses DTR for 1 ms; returns 0.
  std::int32_t reset() override;
  // The speed over the bits of one character: start, data, parity and stop bits.
  std::uint32_t bytesPerSecond() const override;

  std::uint8_t byte_size = 8;
  std::uint8_t flow_flags = kFlowDtrDsr;
  std::uint8_t parity = kParityNone;
  std::uint8_t stop_bits = kOneStopBit;
  std::uint32_t baud_rate = 19200;
  std::uint8_t dtr_pulse_low = 0;

 protected:
  // Under DTR/DSR the printer holds output back by dropping DSR.
  bool readyToSend() override;
  // Under DTR/DSR, what keeps the driver's queue within kDsrQueueLimit.
  std::uint32_t sendAllowance() override;

 private:
  bool applyLine();
};

}  // namespace inkmark
