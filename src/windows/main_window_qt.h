// The main window on screen: the template built into Qt widgets, the window
// logic over them, and the cursor, dialogs and end of the window.
#pragma once

#include <filesystem>
#include <memory>

#include "platform/qt_view.h"
#include "windows/main_host.h"
#include "windows/main_pipeline.h"
#include "windows/main_window.h"
#include "windows/transfer_progress_qt.h"

namespace inkmark {

class QtMainWindow final : public MainHost {
 public:
  // `pipeline` nullptr: the composition of the image library.
  QtMainWindow(LogoSession& session, std::filesystem::path program_folder,
               std::unique_ptr<MainPipeline> pipeline = nullptr);
  ~QtMainWindow() override;

  // Fills the window and centres it on the screen.
  void Open();
  // Runs the window modally until it ends.
  int Exec();

  QtDialogView& view() { return view_; }
  MainWindow& logic() { return *logic_; }

  void BeginBusy() override;
  void EndBusy() override;
  std::optional<std::string> RunOpenDialog(const std::string& source_path) override;
  NetworkAnswer AskNetworkAddress(const std::string& initial,
                                  const std::vector<std::string>& used) override;
  std::optional<SaveChoice> RunSaveDialog(LogoSession& session) override;
  void CloseWindow() override;
  WindowHandle Owner() const override;

  void OpenKeyEntry(LogoSession& session) override;
  void OpenNvManager(LogoSession& session) override;
  void ShowPreview(LogoSession& session) override;
  void TestPrint(LogoSession& session) override;
  void StartEditorNew(int width_dots) override;
  bool StartEditorOn(const std::string& path) override;

 private:
  LogoSession& session_;
  QtDialogView view_;
  std::unique_ptr<MainPipeline> pipeline_;
  std::unique_ptr<MainWindow> logic_;
  // Long transfers started from this window or the ones it opens show their progress.
  QtTransferProgress progress_;
  ScopedTransferProgress progress_scope_{progress_};
};

// Runs the main window over the session with the printer files and the editor
// of the program's folder.
void RunMainWindow(LogoSession& session);

}  // namespace inkmark
