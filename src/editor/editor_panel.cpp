#include "editor/editor_panel.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace inkmark {
namespace {

constexpr int kCoordinateField = 1 << 20;

QSpinBox* MakeSpin(int low, int high, QWidget* parent) {
  auto* spin = new QSpinBox(parent);
  spin->setRange(low, high);
  // Changes apply when typing ends, not on every keystroke.
  spin->setKeyboardTracking(false);
  return spin;
}

QColor ToQColor(std::int32_t bgr) {
  return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

std::int32_t FromQColor(const QColor& c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }

// The swatch on the Colour button: the colour framed, so that white shows too.
constexpr QSize kSwatchSize(48, 16);

}  // namespace

// Qt's parent-child ownership releases every widget made here with the panel.
EditorPanel::EditorPanel(EditorModel& model, QWidget* parent) : QWidget(parent), model_(model) {
  auto* layout = new QVBoxLayout(this);

  auto* page_group = new QGroupBox(tr("Page"), this);
  auto* page_form = new QFormLayout(page_group);
  page_width_ = MakeSpin(1, kMaxPageSide, page_group);
  page_height_ = MakeSpin(1, kMaxPageSide, page_group);
  page_form->addRow(tr("Width"), page_width_);
  page_form->addRow(tr("Height"), page_height_);
  layout->addWidget(page_group);

  item_group_ = new QGroupBox(tr("Item"), this);
  auto* item_form = new QFormLayout(item_group_);
  x_ = MakeSpin(-kCoordinateField, kCoordinateField, item_group_);
  y_ = MakeSpin(-kCoordinateField, kCoordinateField, item_group_);
  w_ = MakeSpin(1, kCoordinateField, item_group_);
  h_ = MakeSpin(1, kCoordinateField, item_group_);
  item_form->addRow(tr("Left"), x_);
  item_form->addRow(tr("Top"), y_);
  item_form->addRow(tr("Width"), w_);
  item_form->addRow(tr("Height"), h_);
  layout->addWidget(item_group_);

  text_group_ = new QGroupBox(tr("Text"), this);
  auto* text_form = new QFormLayout(text_group_);
  text_ = new QLineEdit(text_group_);
  face_ = new QFontComboBox(text_group_);
  size_ = MakeSpin(1, kMaxTextSize, text_group_);
  rotation_ = MakeSpin(0, 359, text_group_);
  rotation_->setWrapping(true);
  char_set_ = new QComboBox(text_group_);
  for (const CharSetChoice& choice : CharSetChoices())
    char_set_->addItem(CharSetName(choice.value), choice.value);
  color_ = new QPushButton(text_group_);
  color_->setIconSize(kSwatchSize);
  auto* styles = new QWidget(text_group_);
  auto* style_row = new QHBoxLayout(styles);
  style_row->setContentsMargins(0, 0, 0, 0);
  bold_ = new QCheckBox(tr("Bold"), styles);
  italic_ = new QCheckBox(tr("Italic"), styles);
  underline_ = new QCheckBox(tr("Underline"), styles);
  strike_out_ = new QCheckBox(tr("Strike-out"), styles);
  for (auto* box : {bold_, italic_, underline_, strike_out_}) style_row->addWidget(box);
  text_form->addRow(tr("Text"), text_);
  text_form->addRow(tr("Font"), face_);
  text_form->addRow(tr("Size (pixels)"), size_);
  text_form->addRow(styles);
  text_form->addRow(tr("Rotation (degrees)"), rotation_);
  text_form->addRow(tr("Character set"), char_set_);
  text_form->addRow(tr("Colour"), color_);
  layout->addWidget(text_group_);

  image_group_ = new QGroupBox(tr("Image"), this);
  auto* image_box = new QVBoxLayout(image_group_);
  transparent_ = new QCheckBox(tr("Transparent (white shows what lies below)"), image_group_);
  image_box->addWidget(transparent_);
  layout->addWidget(image_group_);

  message_ = new QLabel(this);
  message_->setWordWrap(true);
  message_->setStyleSheet(QStringLiteral("color: #b00000"));
  layout->addWidget(message_);
  layout->addStretch(1);

  page_width_->setToolTip(tr("Width of the page in dots"));
  page_height_->setToolTip(tr("Height of the page in dots"));
  x_->setToolTip(tr("Left edge of the selected item on the page, in dots"));
  y_->setToolTip(tr("Top edge of the selected item on the page, in dots"));
  w_->setToolTip(tr("Width of the selected item in dots; a text keeps its proportions"));
  h_->setToolTip(tr("Height of the selected item in dots; a text's size follows it"));
  text_->setToolTip(
      tr("The text of the item; the change applies when you press Enter or "
         "leave the field"));
  face_->setToolTip(tr("Font of the text"));
  size_->setToolTip(tr("Character height in pixels"));
  bold_->setToolTip(tr("Draw the text in bold"));
  italic_->setToolTip(tr("Draw the text slanted"));
  underline_->setToolTip(tr("Underline the text"));
  strike_out_->setToolTip(tr("Draw a line through the text"));
  rotation_->setToolTip(tr("Turn of the text in degrees, counter-clockwise"));
  char_set_->setToolTip(
      tr("Character set in which the text is stored; it decides which "
         "characters the text can hold"));
  color_->setToolTip(tr("Colour of the text; click to choose another"));
  transparent_->setToolTip(tr("Let the white of the image show what lies below it"));
  const std::pair<QWidget*, const char*> names[] = {{page_width_, "pageWidth"},
                                                    {page_height_, "pageHeight"},
                                                    {x_, "itemLeft"},
                                                    {y_, "itemTop"},
                                                    {w_, "itemWidth"},
                                                    {h_, "itemHeight"},
                                                    {text_, "text"},
                                                    {face_, "font"},
                                                    {size_, "size"},
                                                    {bold_, "bold"},
                                                    {italic_, "italic"},
                                                    {underline_, "underline"},
                                                    {strike_out_, "strikeOut"},
                                                    {rotation_, "rotation"},
                                                    {char_set_, "charSet"},
                                                    {color_, "colour"},
                                                    {transparent_, "transparent"},
                                                    {message_, "message"}};
  for (const auto& [widget, name] : names) widget->setObjectName(QLatin1String(name));

  for (auto* spin : {page_width_, page_height_}) {
    connect(spin, &QSpinBox::valueChanged, this, [this] { ApplyPage(); });
  }
  for (auto* spin : {x_, y_, w_, h_}) {
    connect(spin, &QSpinBox::valueChanged, this, [this] { ApplyBox(); });
  }
  connect(text_, &QLineEdit::editingFinished, this, [this] { ApplyText(); });
  connect(face_, &QFontComboBox::currentFontChanged, this, [this](const QFont& font) {
    if (syncing_) return;
    face_name_ = font.family();
    ApplyText();
  });
  for (auto* spin : {size_, rotation_}) {
    connect(spin, &QSpinBox::valueChanged, this, [this] { ApplyText(); });
  }
  for (auto* box : {bold_, italic_, underline_, strike_out_}) {
    connect(box, &QCheckBox::toggled, this, [this] { ApplyText(); });
  }
  connect(char_set_, &QComboBox::currentIndexChanged, this, [this] { ApplyText(); });
  connect(color_, &QPushButton::clicked, this, [this] { PickColor(); });
  connect(transparent_, &QCheckBox::toggled, this, [this] { ApplyTransparent(); });
  Sync();
}

void EditorPanel::Sync() {
  syncing_ = true;
  const auto& doc = model_.document();
  page_width_->setValue(doc.page_width);
  page_height_->setValue(doc.page_height);
  const int selected = model_.selection();
  item_group_->setEnabled(selected >= 0);
  text_group_->setVisible(false);
  image_group_->setVisible(false);
  if (selected >= 0) {
    const auto index = static_cast<std::size_t>(selected);
    const ItemBox box = model_.box(index);
    x_->setValue(box.left);
    y_->setValue(box.top);
    w_->setValue(box.width());
    h_->setValue(box.height());
    const DocumentObject& object = model_.object(index);
    if (object.kind == kTextObject) {
      const TextStyle style = StyleOf(object);
      text_->setText(DecodeItemText(object.text, style.char_set));
      face_name_ = style.face;
      face_->setCurrentFont(QFont(style.face));
      size_->setValue(style.size);
      bold_->setChecked(style.bold);
      italic_->setChecked(style.italic);
      underline_->setChecked(style.underline);
      strike_out_->setChecked(style.strike_out);
      rotation_->setValue(style.rotation);
      char_set_->setCurrentIndex(std::max(0, char_set_->findData(style.char_set)));
      text_color_ = style.color;
      ShowColor(style.color);
      text_group_->setVisible(true);
    } else {
      transparent_->setChecked(object.transparent != 0);
      image_group_->setVisible(true);
    }
  }
  syncing_ = false;
}

void EditorPanel::ApplyPage() {
  if (syncing_) return;
  if (!model_.SetPageSize(page_width_->value(), page_height_->value())) {
    message_->setText(tr("The composition cannot draw a page of that size."));
    Sync();
    return;
  }
  Edited();
}

void EditorPanel::ApplyBox() {
  if (syncing_ || model_.selection() < 0) return;
  const auto index = static_cast<std::size_t>(model_.selection());
  const ItemBox target{x_->value(), y_->value(), x_->value() + w_->value(),
                       y_->value() + h_->value()};
  if (target != model_.box(index)) model_.SetBox(index, target);
  Edited();
}

void EditorPanel::ApplyText() {
  if (syncing_ || model_.selection() < 0) return;
  const auto index = static_cast<std::size_t>(model_.selection());
  const DocumentObject& object = model_.object(index);
  if (object.kind != kTextObject) return;
  TextStyle style;
  style.face = face_name_;
  style.size = size_->value();
  style.bold = bold_->isChecked();
  style.italic = italic_->isChecked();
  style.underline = underline_->isChecked();
  style.strike_out = strike_out_->isChecked();
  style.rotation = rotation_->value();
  style.color = text_color_;
  style.char_set = static_cast<std::uint8_t>(char_set_->currentData().toInt());
  const QString text = text_->text();
  const TextStyle old_style = StyleOf(object);
  if (style == old_style && text == DecodeItemText(object.text, old_style.char_set)) return;
  auto restyled = RestyleText(object, text, style);
  if (!restyled) {
    message_->setText(TextRefusal(text, style.char_set, restyled.failure()));
    Sync();
    text_->setText(text);  // kept for the user to correct
    return;
  }
  model_.Replace(index, std::move(*restyled));
  Edited();
}

void EditorPanel::ApplyTransparent() {
  if (syncing_ || model_.selection() < 0) return;
  const auto index = static_cast<std::size_t>(model_.selection());
  DocumentObject object = model_.object(index);
  object.transparent = transparent_->isChecked() ? 1 : 0;
  model_.Replace(index, std::move(object));
  Edited();
}

void EditorPanel::PickColor() {
  const QColor chosen = QColorDialog::getColor(ToQColor(text_color_), this, tr("Text colour"));
  if (!chosen.isValid()) return;
  text_color_ = FromQColor(chosen);
  ApplyText();
}

void EditorPanel::ShowColor(std::int32_t bgr) {
  QPixmap swatch(kSwatchSize);
  swatch.fill(ToQColor(bgr));
  QPainter frame(&swatch);
  frame.setPen(palette().color(QPalette::WindowText));
  frame.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
  frame.end();
  color_->setIcon(QIcon(swatch));
  color_->setAccessibleName(ToQColor(bgr).name());
}

void EditorPanel::Edited() {
  message_->clear();
  Sync();
  if (on_edited_) on_edited_();
}

}  // namespace inkmark
