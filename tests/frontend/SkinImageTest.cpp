#include "GuiFixture.h"

#include "frontend/qt/SkinImage.h"

#include <QPainter>

namespace quorvex::frontend::test {
namespace {

// Draws `description` into a transparent 40 x 40 picture at `scale`.
QImage Paint(const std::string& folder, const std::string& description, double scale = 1.0,
             bool* drawn = nullptr) {
  QImage out(40, 40, QImage::Format_ARGB32_Premultiplied);
  out.fill(Qt::transparent);
  QPainter p(&out);
  const bool ok = SkinImages::Draw(p, out.rect(), description, folder, scale);
  if (drawn != nullptr) {
    *drawn = ok;
  }
  return out;
}

TEST(SkinImageTest, DescriptionsPlaceFadeMaskAndRefuse) {
  App();
  quorvex::test::TempDir dir;
  const std::string folder = dir.path() + "/";
  quorvex::test::WriteTextFile(dir.File("red.svg"),
                               "<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10'>"
                               "<rect width='10' height='10' fill='#FF0000'/></svg>");
  QImage keyed(10, 10, QImage::Format_RGB32);
  keyed.fill(QColor(255, 0, 255));
  keyed.setPixel(0, 0, qRgb(0, 0, 255));
  ASSERT_TRUE(keyed.save(QString::fromStdString(dir.File("keyed.png"))));

  struct Case {
    const char* description;
    double scale;
    bool drawn;
    QPoint probe;
    QRgb expected;
  };
  const QRgb red = qRgb(255, 0, 0);
  const Case cases[] = {
      {"red.svg", 1.0, true, {39, 39}, red},                           // fills the target
      {"file='red.svg' dest='10,10,20,20'", 1.0, true, {15, 15}, red}, // inside dest
      {"file='red.svg' dest='10,10,20,20'", 1.0, true, {25, 25}, 0},   // outside dest
      {"file='red.svg' dest='10,10,20,20'", 2.0, true, {35, 35}, red}, // dest scales
      {"file='red.svg' fade='0'", 1.0, false, {5, 5}, 0},
      {"file='keyed.png' mask='#FFFF00FF'", 1.0, true, {30, 30}, 0}, // the key is see-through
      {"../red.svg", 1.0, false, {5, 5}, 0},                         // outside the skin folder
      {"missing.svg", 1.0, false, {5, 5}, 0},
      {"file='red.svg' bogus='1'", 1.0, false, {5, 5}, 0},
  };
  for (const Case& c : cases) {
    bool drawn = false;
    const QImage out = Paint(folder, c.description, c.scale, &drawn);
    EXPECT_EQ(drawn, c.drawn) << c.description;
    EXPECT_EQ(out.pixel(c.probe), c.expected == 0 ? 0u : c.expected) << c.description;
  }
  // Half faded: half the alpha.
  const QImage half = Paint(folder, "file='red.svg' fade='128'");
  EXPECT_NEAR(qAlpha(half.pixel(5, 5)), 128, 2);
}

} // namespace
} // namespace quorvex::frontend::test
