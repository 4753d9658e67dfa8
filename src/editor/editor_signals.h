// Ending the editor from outside: SIGTERM, SIGINT and SIGHUP close its windows
// the way the user would, through the event loop, so that unsaved changes are
// still asked about and the program ends cleanly.
#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

namespace inkmark {

// Installs the handlers; call first thing in main(), so that a signal that
// arrives while the program starts is kept until the event loop can take it.
// False when the handlers could not be installed.
bool InstallCloseSignals();

// Calls `on_signal` from the event loop for each signal caught. Needs a
// running Qt application; keep the returned notifier alive while it watches.
std::unique_ptr<QSocketNotifier> WatchCloseSignals(std::function<void()> on_signal);

}  // namespace inkmark
