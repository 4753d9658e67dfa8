// What the main window's logic needs from around it: the cursor, the file
// dialogs, the windows and programs it opens, and its own end.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "session/session.h"

namespace inkmark {

// The file the Save dialog chose: the path is in the session's save_path.
enum class SaveType { kBitmap = 1, kCommandFile = 2 };
struct SaveChoice {
  SaveType type = SaveType::kBitmap;
  bool has_extension = false;
};

// What the network address question ended with: an address to use, one of
// those used before to forget, or nothing.
struct NetworkAnswer {
  enum class Kind { kCancel, kUse, kRemove };
  Kind kind = Kind::kCancel;
  std::string address;
};

class MainHost {
 public:
  virtual ~MainHost() = default;
  virtual void BeginBusy() = 0;
  virtual void EndBusy() = 0;
  // The Open dialog seeded from source_path; the chosen path, or nullopt.
  virtual std::optional<std::string> RunOpenDialog(const std::string& source_path) = 0;
  // The Save dialog seeded from source_path; fills save_path, or nullopt.
  virtual std::optional<SaveChoice> RunSaveDialog(LogoSession& session) = 0;
  // Asks for a network printer's address, offering `initial` and the
  // addresses used before.
  virtual NetworkAnswer AskNetworkAddress(const std::string& initial,
                                          const std::vector<std::string>& used) = 0;
  // Ends the window.
  virtual void CloseWindow() = 0;
  // The owner of the boxes the window shows.
  virtual WindowHandle Owner() const { return nullptr; }

  // The windows and programs the commands open; here they do nothing, the
  // window on screen opens the real ones.
  virtual void OpenKeyEntry(LogoSession&) {}
  virtual void OpenNvManager(LogoSession&) {}
  virtual void ShowPreview(LogoSession&) {}
  virtual void TestPrint(LogoSession&) {}
  // The editor with a blank logo of `width_dots`.
  virtual void StartEditorNew(int /*width_dots*/) {}
  // The editor on `path`; true when it ran and ended.
  virtual bool StartEditorOn(const std::string& /*path*/) { return false; }
};

// The busy cursor for the life of a scope.
class BusyCursor {
 public:
  explicit BusyCursor(MainHost& host) : host_(host) { host_.BeginBusy(); }
  ~BusyCursor() { host_.EndBusy(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  MainHost& host_;
};

}  // namespace inkmark
