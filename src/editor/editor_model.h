// The editor's document model: the items, the selection, the edits the user
// makes to them and their undo history. No windows: the Qt program shows it
// and forwards the user's actions, and the tests drive it directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "editor/editor_document.h"

namespace inkmark {

class EditorModel {
 public:
  // Older steps are dropped beyond this many, so that pictures held for undo
  // cannot grow without end.
  static constexpr std::size_t kUndoLimit = 100;

  explicit EditorModel(EditorDocument document = {});

  const EditorDocument& document() const { return document_; }
  std::size_t count() const { return document_.objects.size(); }
  const DocumentObject& object(std::size_t index) const { return document_.objects[index]; }
  // Where item `index` shows on the page.
  ItemBox box(std::size_t index) const { return BoxOf(document_.objects[index]); }

  // The selected item, or -1.
  int selection() const { return selection_; }
  // Selects `index`, or nothing for an index that is not an item.
  void Select(int index);
  // The topmost item shown at (x, y), or -1.
  int ItemAt(std::int32_t x, std::int32_t y) const;

  // Each edit below is one undo step, selects the item it made or changed and
  // gives false, changing nothing, when it is refused.
  bool Add(DocumentObject object);  // on top of the others
  bool Replace(std::size_t index, DocumentObject object);
  bool MoveBy(std::size_t index, std::int32_t dx, std::int32_t dy);
  // Puts the item's shown box at `target`. An image takes the rectangle; a
  // text keeps its proportions, its size following the box's height, and its
  // top-left corner goes to the target's.
  bool SetBox(std::size_t index, ItemBox target);
  bool Delete(std::size_t index);
  bool BringForward(std::size_t index);  // one step later in the drawing order
  bool SendBackward(std::size_t index);  // one step earlier
  bool SetPageSize(std::int32_t width, std::int32_t height);

  // Between these, the edits of one mouse drag make a single undo step.
  void BeginGesture();
  void EndGesture();

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  bool Undo();
  bool Redo();

  // True when the document differs from the one last loaded or saved.
  bool modified() const { return revision_ != saved_revision_; }
  // Records the present state as the one on disk.
  void MarkSaved() { saved_revision_ = revision_; }

 private:
  struct State {
    EditorDocument document;
    int selection = -1;
    std::uint64_t revision = 0;
  };

  bool Commit(EditorDocument next, int selection);
  State Snapshot() const { return {document_, selection_, revision_}; }
  void Restore(State state);

  EditorDocument document_;
  int selection_ = -1;
  std::uint64_t revision_ = 0;
  std::uint64_t saved_revision_ = 0;
  std::uint64_t next_revision_ = 1;
  std::vector<State> undo_;
  std::vector<State> redo_;
  bool in_gesture_ = false;
  bool gesture_recorded_ = false;
};

}  // namespace inkmark
