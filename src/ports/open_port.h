// OpenPrinterPort: the port a printer operation talks through, of the kind the
// current printer profile names.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "ports/port_driver.h"
#include "session/session.h"

namespace inkmark {

// Port names that reach the printer through its spooler driver begin with this.
inline constexpr char kDriverPortPrefix[] = "Corlane Printer Driver";
inline constexpr char kFilePortName[] = "FILE:";
// The printer's initialise command, sent on every port but a file.
inline constexpr std::uint8_t kInitializeCommand[] = {0x1B, 0x40};
inline constexpr std::uint32_t kAfterOpenWaitMs = 100;

// The number in a serial port name: what follows "COM", converted as atoi does
// (blanks skipped, an optional sign, digits up to the first other character;
// none gives 0). Values beyond the int32 range are held at its ends.
std::int32_t PortNumberFromName(std::string_view port_name);

// The port the session's current choices name, constructed but not opened: a
// file port while a command file is written, else by the selected port name a
// serial port with the selected line, the driver port on the selected driver
// name, a network port for a name "tcp://HOST[:PORT]", or the parallel port. None when there is no
// current profile or the serial port number is refused.
std::unique_ptr<PortDriver> ChoosePrinterPort(const LogoSession& session);

// Chooses the port, opens it and, unless it is a file, sends the initialise
// command and waits 100 ms for the printer to settle. Refused, saying why,
// when the port cannot be opened or the command cannot be written; the caller
// reports it.
Result<std::unique_ptr<PortDriver>> OpenPrinterPort(const LogoSession& session);

}  // namespace inkmark
