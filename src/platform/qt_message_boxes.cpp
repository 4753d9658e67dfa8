#include "platform/qt_message_boxes.h"

#include <QMessageBox>
#include <QWidget>

namespace inkmark {

int QtMessageBoxes::Show(WindowHandle owner, const std::string& caption, const std::string& text,
                         unsigned style) {
  auto* parent = static_cast<QWidget*>(const_cast<void*>(owner));
  QMessageBox box(parent);
  box.setWindowTitle(QString::fromLocal8Bit(caption.data(), qsizetype(caption.size())));
  box.setText(QString::fromLocal8Bit(text.data(), qsizetype(text.size())));
  switch (style & kMbButtonMask) {
    case kMbYesNo:
      box.setIcon(QMessageBox::Question);
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case kMbRetryCancel:
      box.setIcon(QMessageBox::Question);
      box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
      break;
    default:
      box.setStandardButtons(QMessageBox::Ok);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes:
      return kIdYes;
    case QMessageBox::No:
      return kIdNo;
    case QMessageBox::Retry:
      return kIdRetry;
    case QMessageBox::Cancel:
      return kIdCancel;
    default:
      return kIdOk;
  }
}

}  // namespace inkmark
