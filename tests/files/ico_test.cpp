// Icons: the best entry shown with its transparency, bytes kept for saving, no resizing,
// damaged files refused.
#include <QDirIterator>
#include <QTemporaryDir>

#include "documents/ico_codec.h"
#include "documents/picture_io.h"
#include "test_util.h"

namespace rv::test {
namespace {

TEST(IconRead, BmpEntryTheLargestIsShownWithItsMask) {
  const QByteArray file = ReadAll(DataFile("bmp_entry.ico"));
  auto icon = IconGraphic::Decode(file);
  ASSERT_EQ(icon->Width(), 8);
  ASSERT_EQ(icon->Height(), 8);
  const QImage& img = icon->Image();
  EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);  // masked
  EXPECT_EQ(qAlpha(img.pixel(1, 1)), 0);
  EXPECT_EQ(img.pixel(2, 0), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(0, 7), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(7, 7), qRgb(0, 0, 255));
  // Shown on white, the transparent corner is white.
  const QImage shown = icon->Render();
  EXPECT_EQ(shown.pixel(0, 0), qRgb(255, 255, 255));
  EXPECT_EQ(shown.pixel(7, 0), qRgb(0, 0, 255));
  EXPECT_EQ(icon->FileBytes(), file);
}

TEST(IconRead, PngEntryKeepsItsAlpha) {
  auto icon = IconGraphic::Decode(ReadAll(DataFile("png_entry.ico")));
  ASSERT_EQ(icon->Width(), 16);
  EXPECT_EQ(qAlpha(icon->Image().pixel(3, 0)), 0);
  EXPECT_EQ(qAlpha(icon->Image().pixel(3, 1)), 128);
  EXPECT_EQ(icon->Image().pixel(3, 5), qRgb(0, 255, 0));
}

TEST(IconRead, ResizingFailsAndSaveWritesTheFileAsItCame) {
  QTemporaryDir dir;
  const QByteArray file = ReadAll(DataFile("bmp_entry.ico"));
  ASSERT_TRUE(WriteAll(dir.filePath("a.ICO"), file));
  Picture pic;
  LoadPictureFile(pic, dir.filePath("a.ICO"));
  ASSERT_EQ(pic.Kind(), GraphicKind::Icon);
  for (int size : {8, 9}) {
    try {
      pic.SetHeight(size);
      ADD_FAILURE() << "resize accepted";
    } catch (const EngineError& e) {
      EXPECT_STREQ(e.what(), kMsgIconResize);
    }
  }
  EXPECT_EQ(pic.Width(), 8);
  // Saved in its own kind whatever the name says.
  ASSERT_TRUE(SavePictureFile(pic, dir.filePath("b.BMP")));
  EXPECT_EQ(ReadAll(dir.filePath("b.BMP")), file);
  auto clone = pic.Foreign()->Clone();
  EXPECT_EQ(clone->Kind(), GraphicKind::Icon);
  EXPECT_EQ(clone->Width(), 8);
}

TEST(IconRead, PublicIconsDecodeOrSayWhatIsWrong) {
  RV_REQUIRE_CORPORA("ico");
  const std::map<std::string, QSize> sizes = {
      {"hopper.ico", {16, 16}}, {"hopper_256x256.ico", {256, 256}}, {"pillow.ico", {256, 256}},
      {"python.ico", {48, 48}}, {"black_and_white.ico", {16, 16}}, {"hopper_draw.ico", {16, 16}},
  };
  QDirIterator it(CorporaDir("ico"), {"*.ico", "*.cur"});
  while (it.hasNext()) {
    const QString path = it.next();
    const std::string name = QFileInfo(path).fileName().toStdString();
    SCOPED_TRACE(name);
    std::unique_ptr<IconGraphic> icon;
    std::string error;
    try {
      icon = IconGraphic::Decode(ReadAll(path));
    } catch (const EngineError& e) {
      error = e.what();
    }
    if (name == "decompression_bomb.ico" || name == "no_cursors.cur") {
      EXPECT_FALSE(error.empty());
    } else if (sizes.count(name)) {
      ASSERT_TRUE(icon) << error;
      EXPECT_EQ(QSize(icon->Width(), icon->Height()), sizes.at(name));
    }
  }
}

TEST(IconRead, DamagedFilesFailCleanly) {
  const QByteArray whole = ReadAll(DataFile("bmp_entry.ico"));
  // Every cut of the directory fails; cuts inside the pixel data fall back to the small
  // entry or fail, never read past the end.
  for (qsizetype n = 0; n < whole.size(); ++n) {
    try {
      auto icon = IconGraphic::Decode(whole.left(n));
      EXPECT_GE(n, 6 + 32) << n;
    } catch (const EngineError&) {
    }
  }
  const struct {
    const char* what;
    QByteArray bytes;
    const char* msg;
  } cases[] = {
      {"not an icon", QByteArray::fromHex("0000030001000000"), "ｱｲｺﾝ ﾌｧｲﾙではありません"},
      {"no entries", QByteArray::fromHex("000001000000"), "1つも"},
      {"directory cut", QByteArray::fromHex("000001000200") + QByteArray(20, 0), "途中で切れています"},
      {"entry past the end",
       Le().u16(0).u16(1).u16(1).u32(0x00010808).u32(0x00040001).u32(100).u32(5000).b,
       "途中で切れています"},
      {"png entry claiming a huge size",
       Le().u16(0).u16(1).u16(1).u32(0).u32(0x00200001).u32(33).u32(22)
           .bytes(QByteArray::fromHex("89504e470d0a1a0a0000000d49484452"))
           .bytes(QByteArray::fromHex("00ffffff00ffffff08060000000000")).b,
       "大きさ"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      IconGraphic::Decode(c.bytes);
      ADD_FAILURE() << "accepted";
    } catch (const EngineError& e) {
      EXPECT_NE(std::string(e.what()).find(c.msg), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace rv::test
