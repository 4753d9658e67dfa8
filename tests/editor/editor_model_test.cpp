#include "editor/editor_model.h"

#include <gtest/gtest.h>

#include "editor/editor_text.h"
#include "editor_fixture.h"

namespace inkmark {
namespace {

using testing::SolidBmp;

DocumentObject Image(std::int32_t left, std::int32_t top) {
  return ImageObject(left, top, left + 10, top + 10, SolidBmp(2, 2, 0, 0, 0));
}

DocumentObject Text(const char* text, std::int32_t size = 20) {
  TextStyle style;
  style.face = "Liberation Sans";
  style.size = size;
  return *MakeTextObject(10, 40, text, style);
}

std::vector<std::int32_t> Lefts(const EditorModel& model) {
  std::vector<std::int32_t> out;
  for (const auto& o : model.document().objects) out.push_back(o.left);
  return out;
}

TEST(EditorModelTest, UndoAndRedoWalkEveryKindOfEdit) {
  EditorModel model;
  ASSERT_TRUE(model.Add(Image(0, 0)));
  ASSERT_TRUE(model.Add(Image(20, 0)));
  ASSERT_TRUE(model.MoveBy(0, 5, 7));
  ASSERT_TRUE(model.SetPageSize(300, 90));
  ASSERT_TRUE(model.Delete(1));
  EXPECT_EQ(Lefts(model), (std::vector<std::int32_t>{5}));

  ASSERT_TRUE(model.Undo());  // delete
  EXPECT_EQ(Lefts(model), (std::vector<std::int32_t>{5, 20}));
  ASSERT_TRUE(model.Undo());  // page size
  EXPECT_EQ(model.document().page_width, 512);
  ASSERT_TRUE(model.Undo());  // move
  EXPECT_EQ(model.object(0).top, 0);
  ASSERT_TRUE(model.Redo());
  EXPECT_EQ(model.object(0).top, 7);
  // A new edit drops what could have been redone.
  ASSERT_TRUE(model.Add(Image(50, 0)));
  EXPECT_FALSE(model.CanRedo());
  EXPECT_FALSE(model.Redo());
  while (model.Undo()) {
  }
  EXPECT_EQ(model.count(), 0u);
  EXPECT_FALSE(model.modified());
}

TEST(EditorModelTest, ModifiedFollowsTheSavedStateThroughUndo) {
  EditorModel model;
  EXPECT_FALSE(model.modified());
  model.Add(Image(0, 0));
  EXPECT_TRUE(model.modified());
  model.MarkSaved();
  EXPECT_FALSE(model.modified());
  model.MoveBy(0, 1, 0);
  EXPECT_TRUE(model.modified());
  model.Undo();
  EXPECT_FALSE(model.modified());
  model.Undo();
  EXPECT_TRUE(model.modified());
  model.Redo();
  EXPECT_FALSE(model.modified());
  // Undo, then a different edit: not the saved state although as many steps deep.
  model.Add(Image(3, 3));
  model.Undo();
  model.MoveBy(0, 3, 3);
  EXPECT_TRUE(model.modified());
}

TEST(EditorModelTest, ADragIsOneUndoStep) {
  EditorModel model;
  model.Add(Image(0, 0));
  model.BeginGesture();
  for (int i = 1; i <= 5; ++i) model.SetBox(0, {i, i, i + 10, i + 10});
  model.EndGesture();
  EXPECT_EQ(model.object(0).left, 5);
  model.Undo();
  EXPECT_EQ(model.object(0).left, 0);
  // A gesture without an edit leaves no step behind.
  model.BeginGesture();
  model.EndGesture();
  model.Undo();
  EXPECT_EQ(model.count(), 0u);
}

TEST(EditorModelTest, DrawingOrderMovesOneStepAndSelectionFollows) {
  EditorModel model;
  for (int left : {0, 1, 2}) model.Add(Image(left, 0));
  EXPECT_FALSE(model.BringForward(2));  // already on top
  EXPECT_FALSE(model.SendBackward(0));  // already at the bottom
  ASSERT_TRUE(model.BringForward(0));
  EXPECT_EQ(Lefts(model), (std::vector<std::int32_t>{1, 0, 2}));
  EXPECT_EQ(model.selection(), 1);
  ASSERT_TRUE(model.SendBackward(2));
  EXPECT_EQ(Lefts(model), (std::vector<std::int32_t>{1, 2, 0}));
  EXPECT_EQ(model.selection(), 1);
  model.Undo();
  EXPECT_EQ(Lefts(model), (std::vector<std::int32_t>{1, 0, 2}));
}

TEST(EditorModelTest, ItemAtFindsTheTopmostItem) {
  EditorModel model;
  model.Add(Image(0, 0));
  model.Add(Image(5, 5));
  EXPECT_EQ(model.ItemAt(7, 7), 1);
  EXPECT_EQ(model.ItemAt(2, 2), 0);
  EXPECT_EQ(model.ItemAt(15, 15), -1);  // right and bottom are exclusive
  model.Select(7);
  EXPECT_EQ(model.selection(), -1);
}

TEST(EditorModelTest, ResizingATextScalesItsFontAndKeepsItsCorner) {
  EditorModel model;
  model.Add(Text("Size"));
  const ItemBox before = model.box(0);
  ASSERT_TRUE(model.SetBox(0, {before.left + 3, before.top + 4, before.right + 3,
                               before.top + 4 + 2 * before.height()}));
  const ItemBox after = model.box(0);
  EXPECT_EQ(after.left, before.left + 3);
  EXPECT_EQ(after.top, before.top + 4);
  EXPECT_EQ(StyleOf(model.object(0)).size, 40);
  EXPECT_GT(after.width(), before.width());
  // The stored rectangle is the measured one, anchored at left and bottom.
  EXPECT_EQ(model.object(0).right, after.right);
  EXPECT_EQ(model.object(0).top, after.top);
}

TEST(EditorModelTest, RefusesEditsThatCannotBeStored) {
  EditorModel model;
  model.Add(Image(0, 0));
  EXPECT_FALSE(model.SetPageSize(0, 10));
  EXPECT_FALSE(model.SetPageSize(40000, 10));
  EXPECT_FALSE(model.SetPageSize(16384, 16384));  // more pixels than a page may have
  EXPECT_FALSE(model.SetBox(0, {10, 10, 10, 20}));
  EXPECT_FALSE(model.MoveBy(0, INT32_MAX, 0));
  EXPECT_FALSE(model.Replace(0, Text("kind")));  // an image stays an image
  DocumentObject long_text = Text("x");
  long_text.text.assign(41, 'x');
  EXPECT_FALSE(model.Add(long_text));
  EXPECT_FALSE(model.Delete(1));
  EXPECT_EQ(model.count(), 1u);
  EXPECT_EQ(model.object(0).left, 0);
  model.Undo();
  EXPECT_EQ(model.count(), 0u);  // only the addition was recorded
}

TEST(EditorModelTest, UndoHistoryIsBounded) {
  EditorModel model;
  model.Add(Image(0, 0));
  for (std::size_t i = 0; i < EditorModel::kUndoLimit + 20; ++i) model.MoveBy(0, 1, 0);
  int steps = 0;
  while (model.Undo()) ++steps;
  EXPECT_EQ(steps, static_cast<int>(EditorModel::kUndoLimit));
  EXPECT_EQ(model.count(), 1u);
}

}  // namespace
}  // namespace inkmark
