#include "windows/editor_owner_qt.h"

#include <QCoreApplication>

namespace inkmark {

void QtEditorOwner::ProcessEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtEditorOwner::BringToFront() {
  window_.raise();
  window_.activateWindow();
}

}  // namespace inkmark
