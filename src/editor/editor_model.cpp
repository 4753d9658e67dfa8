#include "editor/editor_model.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "document/text_limit.h"
#include "editor/editor_text.h"

namespace inkmark {
namespace {

// Coordinates stay well inside 32 bits, so that moves and sizes never overflow.
constexpr std::int64_t kCoordinateLimit = 1 << 24;

bool InRange(std::int64_t v) { return v >= -kCoordinateLimit && v <= kCoordinateLimit; }

bool BoxInRange(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
  return InRange(left) && InRange(top) && InRange(right) && InRange(bottom);
}

}  // namespace

EditorModel::EditorModel(EditorDocument document) : document_(std::move(document)) {}

void EditorModel::Select(int index) {
  selection_ = index >= 0 && static_cast<std::size_t>(index) < count() ? index : -1;
}

int EditorModel::ItemAt(std::int32_t x, std::int32_t y) const {
  for (std::size_t i = count(); i-- > 0;) {
    if (box(i).Contains(x, y)) return static_cast<int>(i);
  }
  return -1;
}

bool EditorModel::Commit(EditorDocument next, int selection) {
  if (in_gesture_ && gesture_recorded_) {
    document_ = std::move(next);
    selection_ = selection;
    return true;
  }
  undo_.push_back(Snapshot());
  if (undo_.size() > kUndoLimit) undo_.erase(undo_.begin());
  redo_.clear();
  document_ = std::move(next);
  selection_ = selection;
  revision_ = next_revision_++;
  gesture_recorded_ = in_gesture_;
  return true;
}

void EditorModel::Restore(State state) {
  document_ = std::move(state.document);
  selection_ = state.selection;
  revision_ = state.revision;
}

bool EditorModel::Add(DocumentObject object) {
  if (object.kind != kTextObject && object.kind != kImageObject) return false;
  if (object.kind == kTextObject && !CheckTextLength(object.text.size())) return false;
  if (!BoxInRange(object.left, object.top, object.right, object.bottom)) return false;
  EditorDocument next = document_;
  next.objects.push_back(std::move(object));
  const int index = static_cast<int>(next.objects.size()) - 1;
  return Commit(std::move(next), index);
}

bool EditorModel::Replace(std::size_t index, DocumentObject object) {
  if (index >= count() || object.kind != document_.objects[index].kind) return false;
  if (object.kind == kTextObject && !CheckTextLength(object.text.size())) return false;
  if (!BoxInRange(object.left, object.top, object.right, object.bottom)) return false;
  EditorDocument next = document_;
  next.objects[index] = std::move(object);
  return Commit(std::move(next), static_cast<int>(index));
}

bool EditorModel::MoveBy(std::size_t index, std::int32_t dx, std::int32_t dy) {
  if (index >= count()) return false;
  if (dx == 0 && dy == 0) return true;
  DocumentObject moved = document_.objects[index];
  const std::int64_t l = std::int64_t{moved.left} + dx, r = std::int64_t{moved.right} + dx;
  const std::int64_t t = std::int64_t{moved.top} + dy, b = std::int64_t{moved.bottom} + dy;
  if (!BoxInRange(l, t, r, b)) return false;
  moved.left = static_cast<std::int32_t>(l);
  moved.right = static_cast<std::int32_t>(r);
  moved.top = static_cast<std::int32_t>(t);
  moved.bottom = static_cast<std::int32_t>(b);
  return Replace(index, std::move(moved));
}

bool EditorModel::SetBox(std::size_t index, ItemBox target) {
  if (index >= count() || target.width() < 1 || target.height() < 1) return false;
  if (!BoxInRange(target.left, target.top, target.right, target.bottom)) return false;
  const DocumentObject& current = document_.objects[index];
  if (current.kind == kImageObject) {
    DocumentObject resized = current;
    resized.left = target.left;
    resized.top = target.top;
    resized.right = target.right;
    resized.bottom = target.bottom;
    return Replace(index, std::move(resized));
  }
  const ItemBox shown = box(index);
  DocumentObject resized = current;
  if (target.height() != shown.height() && shown.height() > 0) {
    // The text's size follows the box's height; its width comes with it.
    TextStyle style = StyleOf(current);
    const double size =
        std::round(static_cast<double>(style.size) * target.height() / shown.height());
    style.size = static_cast<std::int32_t>(std::clamp(size, 1.0, double{kMaxTextSize}));
    auto restyled = RestyleText(current, DecodeItemText(current.text, style.char_set), style);
    if (!restyled) return false;
    resized = std::move(*restyled);
  }
  // Move the anchor so that the shown box starts at the target's corner.
  const ItemBox now = BoxOf(resized);
  const std::int64_t dx = std::int64_t{target.left} - now.left;
  const std::int64_t dy = std::int64_t{target.top} - now.top;
  const std::int64_t l = resized.left + dx, r = resized.right + dx;
  const std::int64_t t = resized.top + dy, b = resized.bottom + dy;
  if (!BoxInRange(l, t, r, b)) return false;
  resized.left = static_cast<std::int32_t>(l);
  resized.right = static_cast<std::int32_t>(r);
  resized.top = static_cast<std::int32_t>(t);
  resized.bottom = static_cast<std::int32_t>(b);
  return Replace(index, std::move(resized));
}

bool EditorModel::Delete(std::size_t index) {
  if (index >= count()) return false;
  EditorDocument next = document_;
  next.objects.erase(next.objects.begin() + static_cast<std::ptrdiff_t>(index));
  return Commit(std::move(next), -1);
}

bool EditorModel::BringForward(std::size_t index) {
  if (index + 1 >= count()) return false;
  EditorDocument next = document_;
  std::swap(next.objects[index], next.objects[index + 1]);
  return Commit(std::move(next), static_cast<int>(index + 1));
}

bool EditorModel::SendBackward(std::size_t index) {
  if (index == 0 || index >= count()) return false;
  EditorDocument next = document_;
  std::swap(next.objects[index], next.objects[index - 1]);
  return Commit(std::move(next), static_cast<int>(index - 1));
}

bool EditorModel::SetPageSize(std::int32_t width, std::int32_t height) {
  if (!PageSizeAllowed(width, height)) return false;
  if (width == document_.page_width && height == document_.page_height) return true;
  EditorDocument next = document_;
  next.page_width = width;
  next.page_height = height;
  return Commit(std::move(next), selection_);
}

void EditorModel::BeginGesture() {
  in_gesture_ = true;
  gesture_recorded_ = false;
}

void EditorModel::EndGesture() {
  in_gesture_ = false;
  gesture_recorded_ = false;
}

bool EditorModel::Undo() {
  if (undo_.empty()) return false;
  EndGesture();
  redo_.push_back(Snapshot());
  Restore(std::move(undo_.back()));
  undo_.pop_back();
  return true;
}

bool EditorModel::Redo() {
  if (redo_.empty()) return false;
  EndGesture();
  undo_.push_back(Snapshot());
  Restore(std::move(redo_.back()));
  redo_.pop_back();
  return true;
}

}  // namespace inkmark
