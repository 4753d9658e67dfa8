// The canvas: the page as the tool composes it, zoomed by whole steps, with
// the selected item outlined. The mouse selects, drags and resizes items.
#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QPoint>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "editor/editor_model.h"

namespace inkmark {

class EditorCanvas : public QWidget {
  Q_DECLARE_TR_FUNCTIONS(EditorCanvas)

 public:
  EditorCanvas(EditorModel& model, QWidget* parent = nullptr);

  // Composes the page again after the model changed.
  void Refresh();
  // Called after the user changed the model or the selection here.
  void SetOnEdited(std::function<void()> on_edited) { on_edited_ = std::move(on_edited); }

  // Adds the picture at `path` as an image item with its top-left corner at
  // `page_point` (page pixels, kept on the page), selected. False when the file
  // cannot be read as a picture; the model is then as it was.
  bool AddImageAt(const QString& path, QPoint page_point);
  // The resolution drawings are placed at (their own size in dots); 96 until set.
  void SetDotsPerInch(std::int32_t dots_per_inch) { dots_per_inch_ = dots_per_inch; }
  // A file dropped onto the page is added where it was dropped; `on_refused`
  // is told of one that cannot be read as a picture.
  void SetOnDropRefused(std::function<void(const QString& path)> on_refused) {
    on_drop_refused_ = std::move(on_refused);
  }

  double zoom() const { return zoom_; }
  void ZoomIn();
  void ZoomOut();
  void ZoomReset();

  QSize sizeHint() const override;
  // Where a box of the page shows on the canvas at the present zoom.
  QRect WidgetRect(const ItemBox& box) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  enum class Drag { kNone, kMove, kResize };

  QPoint PagePoint(QPointF widget_point) const;
  QRect ResizeHandle() const;
  void SetZoom(double zoom);
  void Edited();

  EditorModel& model_;
  QImage page_;
  double zoom_ = 1.0;
  std::int32_t dots_per_inch_ = 96;
  Drag drag_ = Drag::kNone;
  QPoint drag_start_;  // page pixels
  ItemBox drag_box_;   // the item's box when the drag began
  std::function<void()> on_edited_;
  std::function<void(const QString& path)> on_drop_refused_;
};

}  // namespace inkmark
