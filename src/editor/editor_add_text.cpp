#include "editor/editor_add_text.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "document/text_limit.h"

namespace inkmark {

// Qt's parent-child ownership releases every widget made here with the dialog.
AddTextDialog::AddTextDialog(const TextStyle& style, QWidget* parent)
    : QDialog(parent), style_(style) {
  setWindowTitle(tr("Add text"));
  auto* form = new QFormLayout(this);
  text_ = new QLineEdit(tr("Text"), this);
  text_->selectAll();
  text_->setObjectName(QStringLiteral("text"));
  text_->setToolTip(tr("The text of the new item: at most %1 bytes in its character set, "
                       "one or two bytes a character")
                        .arg(kMaxTextBytes));
  char_set_ = new QComboBox(this);
  char_set_->setObjectName(QStringLiteral("charSet"));
  char_set_->setToolTip(
      tr("Character set in which the text is stored; it decides which "
         "characters the text can hold"));
  for (const CharSetChoice& choice : CharSetChoices())
    char_set_->addItem(CharSetName(choice.value), choice.value);
  char_set_->setCurrentIndex(std::max(0, char_set_->findData(style.char_set)));
  message_ = new QLabel(this);
  message_->setObjectName(QStringLiteral("message"));
  message_->setWordWrap(true);
  message_->setStyleSheet(QStringLiteral("color: #b00000"));
  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons_->button(QDialogButtonBox::Ok)->setToolTip(tr("Add the text to the page"));
  buttons_->button(QDialogButtonBox::Cancel)->setToolTip(tr("Close without adding a text"));

  form->addRow(tr("&Text (at most %1 bytes):").arg(kMaxTextBytes), text_);
  form->addRow(tr("&Character set:"), char_set_);
  form->addRow(message_);
  form->addRow(buttons_);
  connect(buttons_, &QDialogButtonBox::accepted, this, &AddTextDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &AddTextDialog::reject);
  connect(text_, &QLineEdit::textChanged, this, [this](const QString& text) {
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(!text.isEmpty());
    message_->clear();
  });
  connect(char_set_, &QComboBox::currentIndexChanged, message_, &QLabel::clear);
}

std::uint8_t AddTextDialog::char_set() const {
  return static_cast<std::uint8_t>(char_set_->currentData().toInt());
}

void AddTextDialog::accept() {
  const QString text = text_->text();
  if (text.isEmpty()) return;
  TextStyle style = style_;
  style.char_set = char_set();
  auto made = MakeTextObject(8, 8 + style.size, text, style);
  if (!made) {
    message_->setText(TextRefusal(text, style.char_set, made.failure()));
    adjustSize();  // room for the reason's lines
    text_->setFocus();
    return;
  }
  object_ = std::move(*made);
  QDialog::accept();
}

}  // namespace inkmark
