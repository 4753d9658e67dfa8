#include "windows/zoom_dialog.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "platform/message_box.h"
#include "platform/string_table.h"
#include "windows/raster_failure.h"
#include "windows/zoom_paint.h"

namespace inkmark {
namespace {

class DrawingArea final : public QWidget {
 public:
  DrawingArea(const ZoomState& state, const QImage& image, QWidget* parent)
      : QWidget(parent), state_(state), image_(image) {
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    PaintZoomArea(painter, event->rect(), image_, state_.scroll_x, state_.scroll_y);
  }

 private:
  const ZoomState& state_;
  const QImage& image_;
};

// What a scroll bar action is as a scroll request; -1 for those ignored.
int ScrollCodeFor(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      return kScrollLineUp;
    case QAbstractSlider::SliderSingleStepAdd:
      return kScrollLineDown;
    case QAbstractSlider::SliderPageStepSub:
      return kScrollPageUp;
    case QAbstractSlider::SliderPageStepAdd:
      return kScrollPageDown;
    case QAbstractSlider::SliderMove:
      return kScrollThumbTrack;
    default:
      return -1;
  }
}

void ApplyBar(QScrollBar& bar, const ScrollBarState& state) {
  bar.setRange(0, state.max);
  bar.setPageStep(std::max(1, state.page));
  bar.setValue(state.position);
  bar.setVisible(state.shown);
}

}  // namespace

ZoomDialog::ZoomDialog(ZoomState state, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      state_(std::move(state)),
      image_(ZoomImage(state_.raster)),
      area_(new DrawingArea(state_, image_, this)),
      horizontal_(new QScrollBar(Qt::Horizontal, this)),
      vertical_(new QScrollBar(Qt::Vertical, this)),
      info_(new QLabel(this)) {
  setSizeGripEnabled(false);
  area_->setObjectName(QString::number(kZoomDrawingArea));
  horizontal_->setSingleStep(1);
  vertical_->setSingleStep(1);
  horizontal_->hide();
  vertical_->hide();
  QObject::connect(horizontal_, &QScrollBar::actionTriggered, this,
                   [this](int action) { OnScrollAction(ScrollAxis::kHorizontal, action); });
  QObject::connect(vertical_, &QScrollBar::actionTriggered, this,
                   [this](int action) { OnScrollAction(ScrollAxis::kVertical, action); });

  // The client area is what is sized here: the rooms the rule keeps for the
  // bars are the bars' own extent, and no caption or menu takes from it.
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  WindowSize size = ZoomWindowSize(state_.image_width, state_.image_height, {bar, bar, 0});
  const QString caption = QString::fromStdString(ZoomCaption(state_));
  setWindowTitle(caption);
  // The title bar may be too narrow for the figures: they stand under the
  // picture too, where they can be read whole and copied.
  info_->setText(caption);
  info_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  info_->setMargin(2);
  const QSize line = info_->sizeHint();
  resize(std::max(size.width, line.width()), size.height + line.height());
  Relayout();
}

void ZoomDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  Relayout();
}

void ZoomDialog::Relayout() {
  const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  // Here the bars lie inside the window, so a shown bar narrows the drawing
  // area; lay out again until the bars agree with the area they leave.
  const int line = info_->sizeHint().height();
  const int client_height = std::max(0, height() - line);
  bool across = !horizontal_->isHidden();
  bool down = !vertical_->isHidden();
  ZoomLayout layout;
  int area_width = width(), area_height = client_height;
  for (int attempt = 0; attempt < 3; ++attempt) {
    area_width = width() - (down ? extent : 0);
    area_height = client_height - (across ? extent : 0);
    layout = LayoutZoom(state_, area_width, area_height);
    if (layout.horizontal.shown == across && layout.vertical.shown == down) break;
    across = layout.horizontal.shown;
    down = layout.vertical.shown;
  }
  ApplyBar(*horizontal_, layout.horizontal);
  ApplyBar(*vertical_, layout.vertical);
  horizontal_->setGeometry(0, area_height, area_width, extent);
  vertical_->setGeometry(area_width, 0, extent, area_height);
  area_->setGeometry(0, 0, area_width, area_height);
  info_->setGeometry(0, client_height, width(), line);
  area_->update();
}

void ZoomDialog::OnScrollAction(ScrollAxis axis, int action) {
  QScrollBar& bar = axis == ScrollAxis::kHorizontal ? *horizontal_ : *vertical_;
  const int code = ScrollCodeFor(action);
  std::optional<int> moved = ScrollZoom(state_, axis, code, bar.sliderPosition(), bar.maximum());
  const int position = axis == ScrollAxis::kHorizontal ? state_.scroll_x : state_.scroll_y;
  // The bar shows the position the window chose, also for ignored requests.
  bar.setSliderPosition(position);
  if (moved && *moved != 0) area_->update();
}

int ShowPreview(QWidget* owner, LogoSession& session, const std::function<void(QWidget&)>& place) {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  Result<ZoomState> state = MakeZoomState(session);
  QGuiApplication::restoreOverrideCursor();
  if (!state) {
    ShowRasterFailure(static_cast<const QWidget*>(owner), state.failure());
    return 0;
  }
  ZoomDialog dialog(std::move(*state), owner);
  if (place) place(dialog);
  return dialog.exec();
}

}  // namespace inkmark
