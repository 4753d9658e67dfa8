// The printer transactions: closing a port, listing the stored NV keys,
// reading the remaining NV capacity, and printing or deleting one stored
// graphics by key.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/message_box.h"
#include "ports/port_driver.h"
#include "protocol/nv_key.h"
#include "session/session.h"

namespace inkmark {

// Closes the port and destroys it; every port from OpenPrinterPort ends here.
// 1, or 0 when closing had to throw away bytes written to the port that the
// printer had not taken: whatever they belonged to did not arrive whole.
std::int32_t ClosePrinterPort(std::unique_ptr<PortDriver> port);

// Reads the keys of the stored NV graphics into `keys` (emptied first, and
// grown to hold however many the printer lists), in the printer's order.
// Returns their number, or -1 when the list could not be read whole; `keys`
// then holds the keys that came before it broke off. Tells the user nothing.
// A driver port is asked through its library, any other port directly.
std::int32_t ReadStoredKeys(PortDriver& port, std::vector<NvKey>& keys);

// Closes the port; refused when closing threw away bytes the printer had not
// taken, whether the port says so in its result or only in `output_lost`.
Status ClosePortChecked(PortDriver& port);

// ReadStoredKeys with the reason the list could not be read whole.
Result<std::int32_t> ListStoredKeys(PortDriver& port, std::vector<NvKey>& keys);

// ReadStoredKeys, telling the user when the list could not be read whole, and why.
std::int32_t ReadKeyCodeList(PortDriver& port, WindowHandle owner, std::vector<NvKey>& keys);

// The remaining NV graphics capacity in bytes, or -1 when the reply cannot be
// read. Tells the user nothing.
std::int32_t ReadNvCapacity(PortDriver& port);

// ReadNvCapacity with the reason the reply could not be read.
Result<std::int32_t> QueryNvCapacity(PortDriver& port);

// Sends one command that gets no reply on a port of its own, closing it
// after; refused when the port cannot be opened, the command cannot be
// written or closing had to drop it.
Status SendOnOwnPort(const LogoSession& session, std::span<const std::uint8_t> command);

// Prints the graphics stored under `key`, on a port of its own; 1 when the
// command went out whole. Tells the user nothing.
std::int32_t PrintNvGraphics(const LogoSession& session, const NvKey& key);

// Deletes the graphics stored under `key`, on a port of its own; 1 when the
// command went out whole (the printer does not confirm). Tells the user nothing.
std::int32_t DeleteNvGraphics(const LogoSession& session, const NvKey& key);

}  // namespace inkmark
