// A Qt window as the owner that waits for the companion editor.
#pragma once

#include <QWidget>

#include "windows/editor_launch.h"

namespace inkmark {

class QtEditorOwner final : public EditorOwner {
 public:
  explicit QtEditorOwner(QWidget& window) : window_(window) {}
  void Enable(bool enabled) override { window_.setEnabled(enabled); }
  void ProcessEvents() override;
  void BringToFront() override;
  WindowHandle Handle() const override { return static_cast<const QWidget*>(&window_); }

 private:
  QWidget& window_;
};

}  // namespace inkmark
