#include "editor/editor_canvas.h"

#include <QDropEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>

#include "editor/editor_image.h"

namespace inkmark {
namespace {

constexpr int kMargin = 16;
constexpr int kHandle = 8;
constexpr std::array<double, 9> kZooms = {0.25, 0.5, 1, 2, 3, 4, 6, 8, 12};

}  // namespace

EditorCanvas::EditorCanvas(EditorModel& model, QWidget* parent) : QWidget(parent), model_(model) {
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(false);
  setObjectName(QStringLiteral("page"));
  setToolTip(
      tr("The page as it prints. Click an item to select it, drag it to move it, drag "
         "its corner square to resize it; the arrow keys move the selected item, and "
         "pictures dropped here are added"));
  Refresh();
}

void EditorCanvas::Refresh() {
  page_ = RenderPage(model_.document());
  updateGeometry();
  resize(sizeHint());
  update();
}

QSize EditorCanvas::sizeHint() const {
  const auto& doc = model_.document();
  return {static_cast<int>(std::ceil(doc.page_width * zoom_)) + 2 * kMargin,
          static_cast<int>(std::ceil(doc.page_height * zoom_)) + 2 * kMargin};
}

void EditorCanvas::SetZoom(double zoom) {
  zoom_ = zoom;
  Refresh();
}

void EditorCanvas::ZoomIn() {
  auto next = std::upper_bound(kZooms.begin(), kZooms.end(), zoom_);
  if (next != kZooms.end()) SetZoom(*next);
}

void EditorCanvas::ZoomOut() {
  auto next = std::lower_bound(kZooms.begin(), kZooms.end(), zoom_);
  if (next != kZooms.begin()) SetZoom(*(next - 1));
}

void EditorCanvas::ZoomReset() { SetZoom(1.0); }

QPoint EditorCanvas::PagePoint(QPointF p) const {
  return {static_cast<int>(std::floor((p.x() - kMargin) / zoom_)),
          static_cast<int>(std::floor((p.y() - kMargin) / zoom_))};
}

QRect EditorCanvas::WidgetRect(const ItemBox& box) const {
  const auto at = [&](std::int32_t v) { return static_cast<int>(std::floor(v * zoom_)) + kMargin; };
  return QRect(QPoint(at(box.left), at(box.top)), QPoint(at(box.right) - 1, at(box.bottom) - 1));
}

QRect EditorCanvas::ResizeHandle() const {
  if (model_.selection() < 0) return {};
  const QRect r = WidgetRect(model_.box(static_cast<std::size_t>(model_.selection())));
  return QRect(r.right() - kHandle / 2, r.bottom() - kHandle / 2, kHandle, kHandle);
}

void EditorCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Mid));
  const auto& doc = model_.document();
  const QRect page_rect(kMargin, kMargin, static_cast<int>(std::ceil(doc.page_width * zoom_)),
                        static_cast<int>(std::ceil(doc.page_height * zoom_)));
  if (page_.isNull()) {
    painter.fillRect(page_rect, Qt::white);
    painter.drawText(page_rect, Qt::AlignCenter, tr("The page cannot be composed."));
  } else {
    // Whole pixels, never smoothed: the user sees the dots that will print.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(page_rect, page_);
  }
  if (model_.selection() >= 0) {
    const QRect box = WidgetRect(model_.box(static_cast<std::size_t>(model_.selection())));
    painter.setPen(QPen(QColor(0, 120, 215), 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
    painter.fillRect(ResizeHandle(), QColor(0, 120, 215));
  }
}

void EditorCanvas::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint p = PagePoint(event->position());
  drag_start_ = p;
  if (model_.selection() >= 0 && ResizeHandle().contains(event->position().toPoint())) {
    drag_ = Drag::kResize;
  } else {
    model_.Select(model_.ItemAt(p.x(), p.y()));
    drag_ = model_.selection() >= 0 ? Drag::kMove : Drag::kNone;
  }
  if (drag_ != Drag::kNone) {
    drag_box_ = model_.box(static_cast<std::size_t>(model_.selection()));
    model_.BeginGesture();
  }
  Edited();
}

void EditorCanvas::mouseMoveEvent(QMouseEvent* event) {
  if (drag_ == Drag::kNone || model_.selection() < 0) return;
  const QPoint p = PagePoint(event->position());
  const std::int32_t dx = p.x() - drag_start_.x();
  const std::int32_t dy = p.y() - drag_start_.y();
  ItemBox target = drag_box_;
  if (drag_ == Drag::kMove) {
    target = {drag_box_.left + dx, drag_box_.top + dy, drag_box_.right + dx, drag_box_.bottom + dy};
  } else {
    target.right = std::max(drag_box_.left + 1, drag_box_.right + dx);
    target.bottom = std::max(drag_box_.top + 1, drag_box_.bottom + dy);
  }
  const auto index = static_cast<std::size_t>(model_.selection());
  if (target != model_.box(index) && model_.SetBox(index, target)) Edited();
}

void EditorCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || drag_ == Drag::kNone) return;
  drag_ = Drag::kNone;
  model_.EndGesture();
  Edited();
}

void EditorCanvas::keyPressEvent(QKeyEvent* event) {
  const int step = (event->modifiers() & Qt::ShiftModifier) ? 10 : 1;
  int dx = 0, dy = 0;
  switch (event->key()) {
    case Qt::Key_Left:
      dx = -step;
      break;
    case Qt::Key_Right:
      dx = step;
      break;
    case Qt::Key_Up:
      dy = -step;
      break;
    case Qt::Key_Down:
      dy = step;
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  if (model_.selection() >= 0 &&
      model_.MoveBy(static_cast<std::size_t>(model_.selection()), dx, dy)) {
    Edited();
  }
}

void EditorCanvas::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) {
    event->ignore();  // the scroll area scrolls
    return;
  }
  if (event->angleDelta().y() > 0) ZoomIn();
  if (event->angleDelta().y() < 0) ZoomOut();
  event->accept();
}

namespace {

// The first local file of a drop, or "" when it brings none.
QString DroppedFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) return url.toLocalFile();
  return {};
}

}  // namespace

bool EditorCanvas::AddImageAt(const QString& path, QPoint page_point) {
  const EditorDocument& page = model_.document();
  const std::int32_t left = std::clamp(page_point.x(), 0, std::max(0, page.page_width - 1));
  const std::int32_t top = std::clamp(page_point.y(), 0, std::max(0, page.page_height - 1));
  auto object = ImageFromFile(QFile::encodeName(path).toStdString(), left, top, page.page_width,
                              false, dots_per_inch_);
  if (!object) return false;
  // A box the model cannot keep adds nothing, as with the Add image command.
  if (!model_.Add(std::move(*object))) return true;
  Edited();
  setFocus();  // the arrow keys move the new item
  return true;
}

void EditorCanvas::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void EditorCanvas::dragMoveEvent(QDragMoveEvent* event) {
  if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void EditorCanvas::dropEvent(QDropEvent* event) {
  const QString path = DroppedFile(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  if (!AddImageAt(path, PagePoint(event->position())) && on_drop_refused_) on_drop_refused_(path);
}

void EditorCanvas::Edited() {
  Refresh();
  if (on_edited_) on_edited_();
}

}  // namespace inkmark
