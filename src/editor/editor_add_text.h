// The "Add text" dialog: the text and the character set it is stored in (the
// Text panel's list). OK makes the text item; a text that cannot be stored is
// refused inside the dialog with its reason, and what was typed stays.
#pragma once

#include <QCoreApplication>
#include <QDialog>
#include <optional>

#include "editor/editor_model.h"
#include "editor/editor_text.h"

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;

namespace inkmark {

class AddTextDialog : public QDialog {
  Q_DECLARE_TR_FUNCTIONS(AddTextDialog)

 public:
  // `style` is the new item's style; its character set is the one offered first.
  AddTextDialog(const TextStyle& style, QWidget* parent = nullptr);

  // The item made when the dialog was accepted, anchored at the page's top left.
  const std::optional<DocumentObject>& object() const { return object_; }
  std::uint8_t char_set() const;

  void accept() override;

 private:
  TextStyle style_;
  std::optional<DocumentObject> object_;
  QLineEdit* text_;
  QComboBox* char_set_;
  QLabel* message_;
  QDialogButtonBox* buttons_;
};

}  // namespace inkmark
