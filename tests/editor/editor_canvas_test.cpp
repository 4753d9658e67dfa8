// The editor's page on screen, offscreen: a picture dropped onto it becomes an
// image item where it was dropped; a file that is no picture changes nothing.
#include "editor/editor_canvas.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QUrl>

#include "support/compose_fixture.h"
#include "windows/qt_environment.h"

namespace inkmark::testing {
namespace {

// Drops `urls` at `at` on the canvas; whether the drag was taken.
bool DropAt(QWidget& canvas, const QList<QUrl>& urls, QPoint at) {
  QMimeData data;
  data.setUrls(urls);
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&canvas, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&canvas, &drop);
  return drop.isAccepted();
}

QUrl File(const std::filesystem::path& path) {
  return QUrl::fromLocalFile(QString::fromStdString(path.string()));
}

TEST(EditorCanvasTest, ADroppedPictureIsAnImageItemWhereItWasDroppedAndOnlyPicturesAreTaken) {
  TempDir work;
  const auto bmp = SolidBitmap(16, 8, kBlack24);
  const auto picture = work.Write("ロゴ.bmp", bmp);
  QImage png(12, 6, QImage::Format_ARGB32);
  png.fill(qRgba(255, 0, 0, 255));
  const auto png_path = work.path() / "Grüße.png";
  ASSERT_TRUE(png.save(QString::fromStdString(png_path.string()), "png"));
  const auto text = work.Write("notes.txt", "no picture");

  EditorDocument page;
  page.page_width = 256;
  page.page_height = 80;
  EditorModel model(page);
  EditorCanvas canvas(model);
  int edited = 0;
  std::vector<QString> refused;
  canvas.SetOnEdited([&] { ++edited; });
  canvas.SetOnDropRefused([&](const QString& path) { refused.push_back(path); });
  canvas.setAcceptDrops(true);
  canvas.show();

  ASSERT_TRUE(DropAt(canvas, {File(picture)}, QPoint(50, 30)));
  ASSERT_EQ(model.document().objects.size(), 1u);
  const ItemBox first = model.box(0);
  EXPECT_EQ(first.width(), 16);
  EXPECT_EQ(first.height(), 8);
  EXPECT_EQ(model.document().objects[0].kind, kImageObject);
  // 40 and 15 widget pixels further on at zoom 1 are as far on the page.
  ASSERT_EQ(canvas.zoom(), 1.0);
  ASSERT_TRUE(DropAt(canvas, {File(png_path)}, QPoint(90, 45)));
  ASSERT_EQ(model.document().objects.size(), 2u);
  const ItemBox second = model.box(1);
  EXPECT_EQ(second.left - first.left, 40);
  EXPECT_EQ(second.top - first.top, 15);
  EXPECT_EQ(second.width(), 12);
  EXPECT_EQ(model.selection(), 1);
  EXPECT_EQ(edited, 2);

  // Far outside the page, the item starts on it.
  ASSERT_TRUE(DropAt(canvas, {File(picture)}, QPoint(-500, -500)));
  ASSERT_EQ(model.document().objects.size(), 3u);
  EXPECT_EQ(model.box(2).left, 0);
  EXPECT_EQ(model.box(2).top, 0);

  // A file that is no picture is refused by name; a web address is no drop.
  EXPECT_TRUE(DropAt(canvas, {File(text)}, QPoint(60, 30)));
  EXPECT_EQ(refused, (std::vector<QString>{QString::fromStdString(text.string())}));
  EXPECT_FALSE(DropAt(canvas, {QUrl("https://example.com/logo.bmp")}, QPoint(60, 30)));
  EXPECT_EQ(model.document().objects.size(), 3u);
  EXPECT_EQ(edited, 3);
}

}  // namespace
}  // namespace inkmark::testing
