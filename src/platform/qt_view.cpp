#include "platform/qt_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDropEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QUrl>
#include <QValidator>
#include <algorithm>
#include <tuple>

#include "platform/code_page.h"
#include "platform/translation.h"

namespace inkmark {
namespace {

// The cancel button's ID, which Escape presses.
constexpr int kCancelId = 2;

struct InterfaceFont {
  QString japanese_face;  // "" unless a Japanese interface has one
  QFont system;           // the application's font before a Japanese one was preferred
  bool changed = false;
};

InterfaceFont& Interface() {
  static InterfaceFont font;
  return font;
}

QString ToQt(std::string_view text) {
  return QString::fromLocal8Bit(text.data(), qsizetype(text.size()));
}

std::string FromQt(const QString& text) { return text.toLocal8Bit().toStdString(); }

// A template's own text in the user's language.
QString TemplateText(const std::string& context, std::string_view text) {
  return QString::fromStdString(Translate(context.c_str(), text));
}

// A sunken frame that paints its client area, inset by one pixel, white and
// then its picture at its own size from the top-left corner, clipped.
class PreviewFrame final : public QFrame {
 public:
  explicit PreviewFrame(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
  }
  void SetPicture(QImage picture) {
    picture_ = std::move(picture);
    update();
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QFrame::paintEvent(event);
    QPainter painter(this);
    QRect area = contentsRect().adjusted(1, 1, -1, -1);
    painter.fillRect(area, Qt::white);
    if (picture_.isNull()) return;
    painter.setClipRect(area);
    painter.drawImage(area.topLeft(), picture_);
  }

 private:
  QImage picture_;
};

class SwatchDelegate final : public QStyledItemDelegate {
 public:
  SwatchDelegate(int id, const ItemPainter* painter, QObject* parent)
      : QStyledItemDelegate(parent), id_(id), painter_(painter) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    painter->save();
    (*painter_)(id_, *painter, option.rect, index.data().toString(),
                (option.state & QStyle::State_Selected) != 0,
                (option.state & QStyle::State_Enabled) == 0);
    painter->restore();
  }
  // Items are as high as the list font's characters.
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
    return {option.rect.width(), option.fontMetrics.height()};
  }

 private:
  int id_;
  const ItemPainter* painter_;
};

// A drop-down list whose items, and selection field, the window draws.
class SwatchComboBox final : public QComboBox {
 public:
  SwatchComboBox(int id, const ItemPainter* painter, QWidget* parent)
      : QComboBox(parent), id_(id), painter_(painter) {
    setItemDelegate(new SwatchDelegate(id, painter, this));
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (currentIndex() < 0) return;
    QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    painter.save();
    (*painter_)(id_, painter, field, currentText(), hasFocus(), !isEnabled());
    painter.restore();
  }

 private:
  int id_;
  const ItemPainter* painter_;
};

// A check box that also reports gaining and losing the focus.
class NotifyingCheckBox final : public QCheckBox {
 public:
  NotifyingCheckBox(const QString& text, std::function<void()> on_focus, QWidget* parent)
      : QCheckBox(text, parent), on_focus_(std::move(on_focus)) {}

 protected:
  void focusInEvent(QFocusEvent* event) override {
    QCheckBox::focusInEvent(event);
    on_focus_();
  }
  void focusOutEvent(QFocusEvent* event) override {
    QCheckBox::focusOutEvent(event);
    on_focus_();
  }

 private:
  std::function<void()> on_focus_;
};

// Takes an edit's text only while every character has a code in its code page
// and the codes fit the limit in bytes. A refused keystroke is undone by the
// edit itself, so the cursor stays where it was.
class CodePageLimit final : public QValidator {
 public:
  CodePageLimit(int code_page, int limit, QObject* parent)
      : QValidator(parent), code_page_(code_page), limit_(limit) {}
  State validate(QString& input, int&) const override {
    const std::optional<std::string> encoded = EncodeCodePage(input, code_page_);
    if (!encoded) return Invalid;
    return limit_ >= 0 && encoded->size() > std::size_t(limit_) ? Invalid : Acceptable;
  }

 private:
  int code_page_;
  int limit_;
};

Qt::Alignment LabelAlignment(unsigned style) {
  Qt::Alignment align = Qt::AlignLeft;
  if (style & kStyleCentered) align = Qt::AlignHCenter;
  if (style & kStyleRight) align = Qt::AlignRight;
  return align | ((style & kStyleVCentered) ? Qt::AlignVCenter : Qt::AlignTop);
}

}  // namespace

void TemplateDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    // Escape is the cancel button (control 2) where the template has one, the
    // close box where the window asks for it, and nothing elsewhere.
    if (cancel_ != nullptr && cancel_->isVisible() && cancel_->isEnabled()) {
      cancel_->click();
    } else if (cancel_ == nullptr && escape_closes_ && isEnabled() && events_ != nullptr) {
      events_->OnCloseBox();
    }
    return;
  }
  QDialog::keyPressEvent(event);
}

namespace {

// The first local file of a drop, or "" when it brings none.
std::string DroppedFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return "";
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) return url.toLocalFile().toLocal8Bit().toStdString();
  return "";
}

}  // namespace

void TemplateDialog::SetFileDrop(std::function<void(const std::string& path)> on_drop) {
  on_drop_ = std::move(on_drop);
  setAcceptDrops(on_drop_ != nullptr);
  // An edit would otherwise take the file's name as text where it was dropped.
  for (QWidget* child : findChildren<QWidget*>()) child->setAcceptDrops(false);
}

void TemplateDialog::dragEnterEvent(QDragEnterEvent* event) {
  if (on_drop_ && isEnabled() && !DroppedFile(event->mimeData()).empty())
    event->acceptProposedAction();
}

void TemplateDialog::dragMoveEvent(QDragMoveEvent* event) {
  if (on_drop_ && isEnabled() && !DroppedFile(event->mimeData()).empty())
    event->acceptProposedAction();
}

void TemplateDialog::dropEvent(QDropEvent* event) {
  const std::string path = DroppedFile(event->mimeData());
  // A disabled window (another program works for it) takes nothing.
  if (!on_drop_ || !isEnabled() || path.empty()) return;
  event->acceptProposedAction();
  on_drop_(path);
}

void TemplateDialog::closeEvent(QCloseEvent* event) {
  // The window logic decides whether and how the window ends; a disabled window
  // (another program works for it) takes no close request at all.
  event->ignore();
  if (!isEnabled()) return;
  if (events_ != nullptr) events_->OnCloseBox();
}

QString PreferInterfaceFont(std::string_view language) {
  InterfaceFont& f = Interface();
  if (f.changed) QApplication::setFont(f.system);
  f.changed = false;
  f.japanese_face.clear();
  if (language != "ja") return {};
  const QStringList installed = QFontDatabase::families();
  for (const char* face : {"Noto Sans CJK JP", "IPAPGothic"}) {
    if (installed.contains(QLatin1String(face))) {
      f.japanese_face = QLatin1String(face);
      break;
    }
  }
  if (f.japanese_face.isEmpty()) return {};
  f.system = QApplication::font();
  f.changed = true;
  QFont font = f.system;
  font.setFamilies({f.japanese_face});
  QApplication::setFont(font);
  return f.japanese_face;
}

QtDialogView::QtDialogView(const DialogTemplate& dialog, ItemPainter painter, QWidget* parent)
    : dialog_(std::make_unique<TemplateDialog>()),
      painter_(std::move(painter)),
      context_(dialog.name) {
  if (parent != nullptr) dialog_->setParent(parent, Qt::Dialog);
  dialog_->setWindowTitle(TemplateText(context_, dialog.title));
  QFont font(ToQt(dialog.font_face), dialog.font_points);
  // Latin text keeps the template's face, and the window its size; Japanese
  // text takes the interface's face rather than whatever the system falls back to.
  if (!Interface().japanese_face.isEmpty())
    font.setFamilies({ToQt(dialog.font_face), Interface().japanese_face});
  dialog_->setFont(font);
  QFontMetrics metrics(font);
  units_ = DialogUnitsFromFont(metrics.horizontalAdvance(QStringLiteral(
                                   "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")),
                               metrics.height());
  PixelRect size = DialogToPixels(units_, 0, 0, dialog.width, dialog.height);
  dialog_->setFixedSize(size.width, size.height);
  std::vector<QWidget*> built;
  for (const ControlTemplate& control : dialog.controls) {
    QWidget* widget = Build(control);
    PixelRect r = DialogToPixels(units_, control.x, control.y, control.width, control.height);
    if (control.kind == ControlKind::kDropDownList) {
      // The template height is the opened list's; the closed field is as high as the style makes
      // it.
      r.height = widget->sizeHint().height();
      static_cast<QComboBox*>(widget)->setMaxVisibleItems(
          std::max(1, (DialogToPixels(units_, 0, 0, 0, control.height).height - r.height) /
                          std::max(1, metrics.height())));
    }
    // A translated caption may need more room than the English one the
    // template was drawn for: a label or box grows to the right to hold it.
    const bool grows = control.kind == ControlKind::kLabel ||
                       control.kind == ControlKind::kCheckBox ||
                       control.kind == ControlKind::kRadioButton;
    if (grows && TemplateText(context_, control.caption) != ToQt(control.caption)) {
      // A right-aligned label keeps its right edge and grows to the left.
      const int extra = std::max(0, widget->sizeHint().width() - r.width);
      if (control.style & kStyleRight) r.x -= extra;
      r.width += extra;
    }
    widget->setGeometry(r.x, r.y, r.width, r.height);
    if (control.id != kNoControlId && controls_.count(control.id) == 0)
      controls_[control.id] = widget;
    built.push_back(widget);
  }
  SetBuddies(dialog, built);
  OrderTabsByLayout();
  if (auto* cancel = qobject_cast<QPushButton*>(widget(kCancelId)))
    dialog_->SetCancelButton(cancel);
}

// A label's mnemonic focuses the field it names: the next field in template
// order, or, for a label placed after its field, the nearest one before it.
void QtDialogView::SetBuddies(const DialogTemplate& dialog, const std::vector<QWidget*>& built) {
  auto is_field = [&](std::size_t i) {
    const ControlKind kind = dialog.controls[i].kind;
    return kind == ControlKind::kEdit || kind == ControlKind::kDropDownList ||
           kind == ControlKind::kTrackBar;
  };
  for (std::size_t i = 0; i < built.size(); ++i) {
    auto* label = qobject_cast<QLabel*>(built[i]);
    if (label == nullptr || !label->text().contains('&')) continue;
    QWidget* buddy = nullptr;
    for (std::size_t j = i + 1; j < built.size() && buddy == nullptr; ++j)
      if (is_field(j)) buddy = built[j];
    for (std::size_t j = i; j-- > 0 && buddy == nullptr;)
      if (is_field(j)) buddy = built[j];
    if (buddy != nullptr) label->setBuddy(buddy);
  }
}

void QtDialogView::OrderTabsByLayout() {
  const QList<QWidget*> children = dialog_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  std::vector<QGroupBox*> groups;
  std::vector<QWidget*> fields;
  for (QWidget* child : children) {
    if (auto* group = qobject_cast<QGroupBox*>(child))
      groups.push_back(group);
    else if (child->focusPolicy() & Qt::TabFocus)
      fields.push_back(child);
  }
  // A control's place: that of the outermost group box holding it, then its own.
  auto place = [&](QWidget* w) {
    QRect outer = w->geometry();
    for (QGroupBox* group : groups)
      if (group->geometry().contains(w->geometry().center()) && group->geometry().contains(outer))
        outer = group->geometry();
    return std::tuple(outer.y(), outer.x(), w->y(), w->x());
  };
  std::stable_sort(fields.begin(), fields.end(),
                   [&](QWidget* a, QWidget* b) { return place(a) < place(b); });
  for (std::size_t i = 1; i < fields.size(); ++i) QWidget::setTabOrder(fields[i - 1], fields[i]);
}

QtDialogView::~QtDialogView() = default;

void QtDialogView::SetEvents(ControlEvents* events) {
  events_ = events;
  dialog_->SetEvents(events);
}

QWidget* QtDialogView::widget(int id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

template <typename T>
T* QtDialogView::As(int id) const {
  return qobject_cast<T*>(widget(id));
}

void QtDialogView::Notify(int id, Notification notification) {
  if (events_ != nullptr) events_->OnControl(id, notification);
}

QWidget* QtDialogView::Build(const ControlTemplate& control) {
  QWidget* parent = dialog_.get();
  const int id = control.id;
  const QString caption = TemplateText(context_, control.caption);
  switch (control.kind) {
    case ControlKind::kGroupBox:
      return new QGroupBox(caption, parent);
    case ControlKind::kLabel: {
      auto* label = new QLabel(caption, parent);
      label->setAlignment(LabelAlignment(control.style));
      return label;
    }
    case ControlKind::kEdit: {
      auto* edit = new QLineEdit(parent);
      QObject::connect(edit, &QLineEdit::textEdited, edit,
                       [this, id] { Notify(id, Notification::kTextChanged); });
      return edit;
    }
    case ControlKind::kPushButton:
    case ControlKind::kDefaultPushButton: {
      auto* button = new QPushButton(caption, parent);
      button->setDefault(control.kind == ControlKind::kDefaultPushButton);
      QObject::connect(button, &QPushButton::clicked, button,
                       [this, id] { Notify(id, Notification::kClicked); });
      return button;
    }
    case ControlKind::kCheckBox: {
      QCheckBox* box;
      if (control.style & kStyleNotify) {
        box = new NotifyingCheckBox(
            caption, [this, id] { Notify(id, Notification::kFocusChanged); }, parent);
      } else {
        box = new QCheckBox(caption, parent);
      }
      QObject::connect(box, &QCheckBox::clicked, box,
                       [this, id] { Notify(id, Notification::kClicked); });
      return box;
    }
    case ControlKind::kRadioButton: {
      auto* radio = new QRadioButton(caption, parent);
      QObject::connect(radio, &QRadioButton::clicked, radio,
                       [this, id] { Notify(id, Notification::kClicked); });
      return radio;
    }
    case ControlKind::kDropDownList: {
      QComboBox* list = (control.style & kStyleOwnerDrawn)
                            ? new SwatchComboBox(id, &painter_, parent)
                            : new QComboBox(parent);
      QObject::connect(list, &QComboBox::activated, list,
                       [this, id] { Notify(id, Notification::kSelectionChanged); });
      return list;
    }
    case ControlKind::kTrackBar: {
      auto* slider = new QSlider(Qt::Horizontal, parent);
      if (control.style & kStyleTicks) {
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(1);
      }
      slider->setSingleStep(1);
      QObject::connect(slider, &QSlider::valueChanged, slider, [this, id] {
        if (quiet_ == 0) Notify(id, Notification::kScrolled);
      });
      QObject::connect(slider, &QSlider::sliderReleased, slider,
                       [this, id] { Notify(id, Notification::kScrolled); });
      return slider;
    }
    case ControlKind::kSunkenFrame:
      return new PreviewFrame(parent);
  }
  return new QWidget(parent);
}

std::string QtDialogView::Text(int id) const {
  QWidget* w = widget(id);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    auto e = encodings_.find(id);
    if (e != encodings_.end() && e->second.code_page != 0) return EncodedText(id).value_or("");
    return FromQt(edit->text());
  }
  if (auto* list = qobject_cast<QComboBox*>(w)) return FromQt(list->currentText());
  if (auto* button = qobject_cast<QAbstractButton*>(w)) return FromQt(button->text());
  if (auto* label = qobject_cast<QLabel*>(w)) return FromQt(label->text());
  if (auto* group = qobject_cast<QGroupBox*>(w)) return FromQt(group->title());
  return {};
}

void QtDialogView::SetText(int id, std::string_view text) {
  QWidget* w = widget(id);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    auto e = encodings_.find(id);
    edit->setText(e != encodings_.end() && e->second.code_page != 0
                      ? DecodeCodePage(text, e->second.code_page)
                      : ToQt(text));
    Notify(id, Notification::kTextChanged);
  } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    button->setText(ToQt(text));
  } else if (auto* label = qobject_cast<QLabel*>(w)) {
    label->setText(ToQt(text));
  } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
    group->setTitle(ToQt(text));
  }
}

void QtDialogView::SetTextLimit(int id, int chars) {
  if (As<QLineEdit>(id) == nullptr) return;
  encodings_[id].limit = chars;
  ApplyEncoding(id);
}

void QtDialogView::SetCodePage(int id, int code_page) {
  if (As<QLineEdit>(id) == nullptr) return;
  encodings_[id].code_page = code_page;
  ApplyEncoding(id);
}

void QtDialogView::ApplyEncoding(int id) {
  auto* edit = As<QLineEdit>(id);
  const EditEncoding& e = encodings_[id];
  if (const QValidator* old = edit->validator()) {
    edit->setValidator(nullptr);
    delete old;
  }
  if (e.code_page == 0) {
    edit->setMaxLength(e.limit >= 0 ? e.limit : 32767);
  } else {
    // The limit counts bytes of the code page, which characters do not show.
    edit->setMaxLength(32767);
    edit->setValidator(new CodePageLimit(e.code_page, e.limit, edit));
  }
}

std::optional<std::string> QtDialogView::EncodedText(int id) const {
  auto* edit = As<QLineEdit>(id);
  if (edit == nullptr) return std::string();
  auto e = encodings_.find(id);
  if (e == encodings_.end() || e->second.code_page == 0) return FromQt(edit->text());
  return EncodeCodePage(edit->text(), e->second.code_page);
}

void QtDialogView::SelectText(int id) {
  auto* edit = As<QLineEdit>(id);
  if (edit == nullptr) return;
  edit->setFocus(Qt::OtherFocusReason);
  edit->selectAll();
}

void QtDialogView::ClearList(int id) {
  if (auto* list = As<QComboBox>(id)) list->clear();
}

int QtDialogView::AddItem(int id, std::string_view text) {
  auto* list = As<QComboBox>(id);
  if (list == nullptr) return -1;
  list->addItem(ToQt(text));
  // A list starts with no selection, as the platform's lists do.
  if (list->count() == 1) list->setCurrentIndex(-1);
  return list->count() - 1;
}

int QtDialogView::ItemCount(int id) const {
  auto* list = As<QComboBox>(id);
  return list ? list->count() : 0;
}

std::string QtDialogView::ItemText(int id, int index) const {
  auto* list = As<QComboBox>(id);
  return list && index >= 0 && index < list->count() ? FromQt(list->itemText(index)) : "";
}

int QtDialogView::Selection(int id) const {
  auto* list = As<QComboBox>(id);
  return list ? list->currentIndex() : -1;
}

void QtDialogView::SetSelection(int id, int index) {
  auto* list = As<QComboBox>(id);
  if (list == nullptr) return;
  list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

void QtDialogView::SetItemData(int id, int index, std::intptr_t data) {
  auto* list = As<QComboBox>(id);
  if (list && index >= 0 && index < list->count())
    list->setItemData(index, QVariant::fromValue<qlonglong>(data));
}

std::intptr_t QtDialogView::ItemData(int id, int index) const {
  auto* list = As<QComboBox>(id);
  if (list == nullptr || index < 0 || index >= list->count()) return 0;
  return std::intptr_t(list->itemData(index).toLongLong());
}

bool QtDialogView::IsChecked(int id) const {
  auto* button = As<QAbstractButton>(id);
  return button && button->isChecked();
}

void QtDialogView::SetCheck(int id, bool checked) {
  auto* button = As<QAbstractButton>(id);
  if (button == nullptr) return;
  // Unchecking one radio button of a set must not need another to be checked.
  bool exclusive = button->autoExclusive();
  button->setAutoExclusive(false);
  button->setChecked(checked);
  button->setAutoExclusive(exclusive);
}

void QtDialogView::SetRange(int id, int min, int max) {
  if (auto* slider = As<QSlider>(id)) {
    ++quiet_;
    slider->setRange(min, max);
    --quiet_;
  }
}

void QtDialogView::SetPageSize(int id, int page) {
  if (auto* slider = As<QSlider>(id)) slider->setPageStep(page);
}

int QtDialogView::Position(int id) const {
  auto* slider = As<QSlider>(id);
  return slider ? slider->value() : 0;
}

void QtDialogView::SetPosition(int id, int position) {
  if (auto* slider = As<QSlider>(id)) {
    ++quiet_;
    slider->setValue(position);
    --quiet_;
  }
}

bool QtDialogView::IsShown(int id) const {
  QWidget* w = widget(id);
  return w && !w->isHidden();
}

void QtDialogView::Show(int id, bool shown) {
  if (QWidget* w = widget(id)) w->setVisible(shown);
}

bool QtDialogView::IsEnabled(int id) const {
  QWidget* w = widget(id);
  return w && w->isEnabled();
}

void QtDialogView::Enable(int id, bool enabled) {
  if (QWidget* w = widget(id)) w->setEnabled(enabled);
}

int QtDialogView::ClientWidth(int id) const {
  QWidget* w = widget(id);
  if (w == nullptr) return 0;
  if (auto* frame = qobject_cast<QFrame*>(w)) return frame->contentsRect().width();
  return w->width();
}

void QtDialogView::SetPicture(int id, std::span<const std::uint8_t> bitmap_file) {
  auto* frame = dynamic_cast<PreviewFrame*>(widget(id));
  if (frame == nullptr) return;
  QImage picture;
  if (!bitmap_file.empty())
    picture.loadFromData(bitmap_file.data(), qsizetype(bitmap_file.size()), "BMP");
  frame->SetPicture(std::move(picture));
}

}  // namespace inkmark
