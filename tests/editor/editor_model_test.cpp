#include "editor/editor_model.h"

#include <gtest/gtest.h>

#include "editor/editor_text.h"
#include "support/compose_fixture.h"

namespace inkmark::testing {
namespace {

DocumentObject Image(std::int32_t left, std::int32_t top) {
  return ImageObject(left, top, left + 10, top + 10, SolidBitmap(2, 2, kBlack24));
}

TEST(EditorModelTest, UndoRedoModifiedAndDragsWalkEveryKindOfEditWithinABoundedHistory) {
  EditorModel model;
  ASSERT_TRUE(model.Add(Image(0, 0)) && model.Add(Image(20, 0)));
  model.MarkSaved();
  ASSERT_TRUE(model.MoveBy(0, 5, 7) && model.SetPageSize(300, 90) && model.Delete(1));
  ASSERT_TRUE(model.modified() && model.Undo());  // delete
  EXPECT_EQ(model.count(), 2u);
  ASSERT_TRUE(model.Undo());  // page size
  EXPECT_EQ(model.document().page_width, 512);
  ASSERT_TRUE(model.Undo());  // move
  EXPECT_EQ(model.object(0).top, 0);
  EXPECT_FALSE(model.modified());
  ASSERT_TRUE(model.Redo());
  EXPECT_EQ(model.object(0).top, 7);
  EXPECT_TRUE(model.Undo() && model.Undo() && model.modified());  // past the saved state
  // A different edit as many steps deep is not the saved state, and drops the redo steps.
  ASSERT_TRUE(model.Add(Image(20, 0)));
  EXPECT_TRUE(model.modified() && !model.Redo());

  // A drag is one step; a gesture without an edit leaves none behind.
  model.BeginGesture();
  for (int i = 1; i <= 5; ++i) model.SetBox(0, {i, i, i + 10, i + 10});
  model.EndGesture();
  model.BeginGesture();
  model.EndGesture();
  EXPECT_EQ(model.object(0).left, 5);
  model.Undo();
  EXPECT_EQ(model.object(0).left, 0);
  for (std::size_t i = 0; i < EditorModel::kUndoLimit + 20; ++i) model.MoveBy(0, 1, 0);
  std::size_t steps = 0;
  while (model.Undo()) ++steps;
  EXPECT_EQ(steps, EditorModel::kUndoLimit);
  EXPECT_EQ(model.object(0).left, 20);  // the oldest steps were dropped
}

TEST(EditorModelTest, RefusedEditsLeaveNoStepAndTextsResizeByTheirFont) {
  EditorModel model;
  model.Add(Image(0, 0));
  EXPECT_FALSE(model.SetPageSize(0, 10));
  EXPECT_FALSE(model.SetPageSize(40000, 10));
  EXPECT_FALSE(model.SetPageSize(16384, 16384));  // more pixels than a page may have
  EXPECT_FALSE(model.SetBox(0, {10, 10, 10, 20}));
  EXPECT_FALSE(model.MoveBy(0, INT32_MAX, 0));
  EXPECT_FALSE(model.Replace(
      0, *MakeTextObject(0, 20, "kind", TextStyle{"Liberation Sans"})));  // stays an image
  DocumentObject long_text = TextObject(0, 20, "x", "Liberation Sans", -12, 0);
  long_text.text.assign(41, 'x');
  EXPECT_FALSE(model.Add(long_text));
  EXPECT_EQ((std::array{model.object(0).left, model.object(0).right}), (std::array{0, 10}));
  model.Undo();
  EXPECT_EQ(model.count(), 0u);  // only the addition was recorded

  for (int left : {0, 1, 5}) model.Add(Image(left, left));
  EXPECT_EQ(model.ItemAt(7, 7), 2);
  EXPECT_EQ(model.ItemAt(15, 15), -1);  // right and bottom are exclusive
  // A text's font follows its box's height; its top-left corner goes where asked.
  model.Add(*MakeTextObject(10, 40, "Size", TextStyle{"Liberation Sans", 20}));
  const ItemBox before = model.box(3);
  ASSERT_TRUE(model.SetBox(3, {before.left + 3, before.top + 4, before.right + 3,
                               before.top + 4 + 2 * before.height()}));
  const ItemBox after = model.box(3);
  EXPECT_EQ((std::array{after.left, after.top}), (std::array{before.left + 3, before.top + 4}));
  EXPECT_EQ(StyleOf(model.object(3)).size, 40);
  // The stored rectangle is the measured one, anchored at left and bottom.
  EXPECT_EQ((std::array{model.object(3).top, model.object(3).right}),
            (std::array{after.top, after.right}));
}

}  // namespace
}  // namespace inkmark::testing
