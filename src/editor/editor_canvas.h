// The canvas: the page as the tool composes it, zoomed by whole steps, with
// the selected item outlined. The mouse selects, drags and resizes items.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <functional>

#include "editor/editor_model.h"

namespace inkmark {

class EditorCanvas : public QWidget {
 public:
  EditorCanvas(EditorModel& model, QWidget* parent = nullptr);

  // Composes the page again after the model changed.
  void Refresh();
  // Called after the user changed the model or the selection here.
  void SetOnEdited(std::function<void()> on_edited) { on_edited_ = std::move(on_edited); }

  double zoom() const { return zoom_; }
  void ZoomIn();
  void ZoomOut();
  void ZoomReset();

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  enum class Drag { kNone, kMove, kResize };

  QPoint PagePoint(QPointF widget_point) const;
  QRect WidgetRect(const ItemBox& box) const;
  QRect ResizeHandle() const;
  void SetZoom(double zoom);
  void Edited();

  EditorModel& model_;
  QImage page_;
  double zoom_ = 1.0;
  Drag drag_ = Drag::kNone;
  QPoint drag_start_;  // page pixels
  ItemBox drag_box_;   // the item's box when the drag began
  std::function<void()> on_edited_;
};

}  // namespace inkmark
