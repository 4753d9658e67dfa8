#include "windows/window_utils.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "platform/qt_view.h"
#include "platform/translation.h"

namespace inkmark {

void CenterWindowOnScreen(QWidget* window) {
  QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  QRect area = screen->geometry();
  QSize size = window->frameGeometry().size();
  window->move(area.x() + (area.width() - size.width()) / 2,
               area.y() + (area.height() - size.height()) / 2);
}

QString ToolTipText(std::span<const ControlTip> tips, int id) {
  const char* text = ToolTipOf(tips, id);
  return text == nullptr ? QString() : QString::fromStdString(Translate(kToolTipContext, text));
}

void SetToolTips(QtDialogView& view, std::span<const ControlTip> tips) {
  for (const ControlTip& tip : tips)
    if (QWidget* control = view.widget(tip.id)) control->setToolTip(ToolTipText(tips, tip.id));
}

}  // namespace inkmark
