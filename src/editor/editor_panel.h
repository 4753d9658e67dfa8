// The side panel: the page size, the selected item's box in numbers, and the
// selected text's style or the selected image's transparent flag. Each change
// is made on the model at once and reported through the edited callback.
#pragma once

#include <QCoreApplication>
#include <QWidget>
#include <functional>

#include "editor/editor_model.h"
#include "editor/editor_text.h"

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace inkmark {

class EditorPanel : public QWidget {
  Q_DECLARE_TR_FUNCTIONS(EditorPanel)

 public:
  EditorPanel(EditorModel& model, QWidget* parent = nullptr);

  // Shows the model's present state.
  void Sync();
  void SetOnEdited(std::function<void()> on_edited) { on_edited_ = std::move(on_edited); }

 private:
  void ApplyPage();
  void ApplyBox();
  void ApplyText();
  void ApplyTransparent();
  void PickColor();
  void ShowColor(std::int32_t bgr);
  void Edited();

  EditorModel& model_;
  std::function<void()> on_edited_;
  bool syncing_ = false;
  std::int32_t text_color_ = 0;
  QString face_name_;  // kept as stored until the user picks another face

  QSpinBox* page_width_;
  QSpinBox* page_height_;
  QGroupBox* item_group_;
  QSpinBox* x_;
  QSpinBox* y_;
  QSpinBox* w_;
  QSpinBox* h_;
  QGroupBox* text_group_;
  QLineEdit* text_;
  QFontComboBox* face_;
  QSpinBox* size_;
  QCheckBox* bold_;
  QCheckBox* italic_;
  QCheckBox* underline_;
  QCheckBox* strike_out_;
  QSpinBox* rotation_;
  QComboBox* char_set_;
  QPushButton* color_;
  QGroupBox* image_group_;
  QCheckBox* transparent_;
  QLabel* message_;
};

}  // namespace inkmark
