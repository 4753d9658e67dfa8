// The Preview window on screen: the raster in a resizable window that scrolls
// when the raster is larger than the window.
#pragma once

#include <QDialog>
#include <QImage>
#include <functional>

#include "session/session.h"
#include "windows/zoom_window.h"

class QLabel;
class QScrollBar;

namespace inkmark {

class ZoomDialog final : public QDialog {
 public:
  // Sizes the window for the raster and sets its caption.
  ZoomDialog(ZoomState state, QWidget* owner);

  const ZoomState& state() const { return state_; }
  QScrollBar& horizontal_bar() { return *horizontal_; }
  QScrollBar& vertical_bar() { return *vertical_; }
  QWidget& drawing_area() { return *area_; }
  // The size and ink rates under the picture, as the caption has them.
  QLabel& info_line() { return *info_; }

  // The close command ends the window with 1, as the close box does.
  void reject() override { done(1); }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Relayout();
  void OnScrollAction(ScrollAxis axis, int action);

  ZoomState state_;
  QImage image_;
  QWidget* area_;
  QScrollBar* horizontal_;
  QScrollBar* vertical_;
  QLabel* info_;
};

// The "&Preview..." command: builds the picture under the wait cursor, then
// runs the window modally, owned by `owner` and placed by `place`. The
// window's result, or 0 after string 15 when no picture can be built.
int ShowPreview(QWidget* owner, LogoSession& session,
                const std::function<void(QWidget&)>& place = {});

}  // namespace inkmark
