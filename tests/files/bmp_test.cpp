// BMP reading and writing: the public suite against its reference images, hand-made
// variants with known pixels, damaged files, and the 24-bit round trip.
#include <QDirIterator>
#include <QTemporaryDir>
#include <algorithm>

#include <sys/stat.h>

#include "documents/bmp_codec.h"
#include "documents/picture_io.h"
#include "test_util.h"

namespace rv::test {
namespace {

std::string Message(const std::function<void()>& f) {
  try {
    f();
  } catch (const EngineError& e) {
    return e.what();
  }
  return "(no error)";
}

// Largest per-channel difference between our decode and a reference image.
int MaxDiff(const TBitmap& ours, const QImage& ref_in) {
  const QImage ref = ref_in.convertToFormat(QImage::Format_RGB32);
  if (ref.width() != ours.Width() || ref.height() != ours.Height()) return 999;
  int worst = 0;
  for (int y = 0; y < ref.height(); ++y) {
    const auto* r = reinterpret_cast<const std::uint32_t*>(ref.constScanLine(y));
    for (int x = 0; x < ref.width(); ++x) {
      const std::uint32_t a = ours.ScanLine(y)[x], b = r[x];
      for (int s = 0; s < 24; s += 8) {
        worst = std::max(worst, std::abs(static_cast<int>((a >> s) & 0xFF) -
                                         static_cast<int>((b >> s) & 0xFF)));
      }
    }
  }
  return worst;
}

TEST(BmpSuite, GoodFilesMatchTheirReferenceImages) {
  RV_REQUIRE_CORPORA("bmpsuite");
  // Every variant of one picture decodes to that picture's reference.
  const struct {
    const char* file;
    const char* reference;
  } cases[] = {
      {"pal1.bmp", "pal1.png"},         {"pal1wb.bmp", "pal1.png"},
      {"pal1bg.bmp", "pal1bg.png"},     {"pal4.bmp", "pal4.png"},
      {"pal4rle.bmp", "pal4.png"},      {"pal8.bmp", "pal8.png"},
      {"pal8-0.bmp", "pal8.png"},       {"pal8os2.bmp", "pal8.png"},
      {"pal8rle.bmp", "pal8.png"},      {"pal8topdown.bmp", "pal8.png"},
      {"pal8v4.bmp", "pal8.png"},       {"pal8v5.bmp", "pal8.png"},
      {"pal8w124.bmp", "pal8w124.png"}, {"pal8w125.bmp", "pal8w125.png"},
      {"pal8w126.bmp", "pal8w126.png"}, {"pal8nonsquare.bmp", "pal8nonsquare-e.png"},
      {"rgb16.bmp", "rgb16.png"},       {"rgb16-565.bmp", "rgb16-565.png"},
      {"rgb16-565pal.bmp", "rgb16-565.png"}, {"rgb24.bmp", "rgb24.png"},
      {"rgb24pal.bmp", "rgb24.png"},    {"rgb32.bmp", "rgb24.png"},
      {"rgb32bf.bmp", "rgb24.png"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const QByteArray bytes = ReadAll(CorporaDir("bmpsuite/g/") + c.file);
    ASSERT_FALSE(bytes.isEmpty());
    std::unique_ptr<TBitmap> bmp;
    ASSERT_NO_THROW(bmp = DecodeBmp(ToBytes(bytes)));
    const QImage ref(CorporaDir("bmpsuite/html/") + c.reference);
    ASSERT_FALSE(ref.isNull());
    // The references round one palette entry (0x2B) to 0x2A; the files say 0x2B.
    EXPECT_LE(MaxDiff(*bmp, ref), 1);
  }
}

TEST(BmpSuite, BadFilesAreRefusedWithAMessageOrSurvived) {
  RV_REQUIRE_CORPORA("bmpsuite");
  // These say what is wrong; the rest of b/ and all of q/ must only not crash.
  const std::map<std::string, std::string> refused = {
      {"badbitcount.bmp", "色数"},      {"badheadersize.bmp", "情報ﾍｯﾀﾞｰ"},
      {"badplanes.bmp", "ﾌﾟﾚｰﾝ"},       {"badrle.bmp", "RLE"},
      {"badwidth.bmp", "幅または高さ"}, {"reallybig.bmp", "大きすぎます"},
      {"rletopdown.bmp", "RLE"},        {"shortfile.bmp", "途中で切れています"},
  };
  for (const char* dir : {"b", "q"}) {
    QDirIterator it(CorporaDir(QString("bmpsuite/") + dir), {"*.bmp"});
    while (it.hasNext()) {
      const QString path = it.next();
      const std::string name = QFileInfo(path).fileName().toStdString();
      SCOPED_TRACE(name);
      const QByteArray bytes = ReadAll(path);
      const std::string msg = Message([&] { DecodeBmp(ToBytes(bytes)); });
      if (refused.count(name)) {
        EXPECT_NE(msg.find(refused.at(name)), std::string::npos) << msg;
      }
    }
  }
}

TEST(BmpRead, PalettedRowsTopDownAndBottomUp) {
  // 3 x 2 at 1 bit: bottom-up rows are stored last row first; rows pad to 4 bytes.
  const std::vector<std::uint32_t> pal = {0x000000, 0xFF8040};
  QByteArray px;
  px.append(QByteArray::fromHex("a0000000"));  // bottom row: 1 0 1
  px.append(QByteArray::fromHex("40000000"));  // top row:    0 1 0
  auto up = DecodeBmp(ToBytes(MakeBmp(3, 2, 1, 0, pal, px)));
  EXPECT_EQ(Rgb(*up, 0, 1), 0xFF8040u);
  EXPECT_EQ(Rgb(*up, 1, 1), 0u);
  EXPECT_EQ(Rgb(*up, 1, 0), 0xFF8040u);
  auto down = DecodeBmp(ToBytes(MakeBmp(3, -2, 1, 0, pal, px)));
  EXPECT_EQ(Rgb(*down, 0, 0), 0xFF8040u);
  EXPECT_EQ(Rgb(*down, 1, 1), 0xFF8040u);
}

TEST(BmpRead, Rle8WithRunsAbsoluteDeltaAndSkippedPixelsBlack) {
  const std::vector<std::uint32_t> pal = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000};
  // Row 0 (bottom): run of 2 x index 1, absolute run 2,3,1 (padded), end of line.
  // Row 1: delta (+1, +0), run 1 x index 3, end of bitmap.
  const QByteArray rle = QByteArray::fromHex("0201" "0003020301 00" "0000" "00020100" "0103" "0001");
  auto bmp = DecodeBmp(ToBytes(MakeBmp(5, 2, 8, 1, pal, rle)));
  EXPECT_EQ(Rgb(*bmp, 0, 1), 0x0000FFu);
  EXPECT_EQ(Rgb(*bmp, 1, 1), 0x0000FFu);
  EXPECT_EQ(Rgb(*bmp, 2, 1), 0x00FF00u);
  EXPECT_EQ(Rgb(*bmp, 3, 1), 0xFF0000u);
  EXPECT_EQ(Rgb(*bmp, 4, 1), 0x0000FFu);
  EXPECT_EQ(Rgb(*bmp, 0, 0), 0u);         // skipped by the delta
  EXPECT_EQ(Rgb(*bmp, 1, 0), 0xFF0000u);
  EXPECT_EQ(Rgb(*bmp, 4, 0), 0u);         // never written
}

TEST(BmpRead, Rle4AlternatesNibbles) {
  const std::vector<std::uint32_t> pal = {0x000000, 0x0000FF, 0x00FF00};
  const QByteArray rle = QByteArray::fromHex("0512" "0001");
  auto bmp = DecodeBmp(ToBytes(MakeBmp(5, 1, 4, 2, pal, rle)));
  const std::uint32_t want[] = {0x0000FF, 0x00FF00, 0x0000FF, 0x00FF00, 0x0000FF};
  for (int x = 0; x < 5; ++x) EXPECT_EQ(Rgb(*bmp, x, 0), want[x]) << x;
}

TEST(BmpRead, BitFieldsAndOs2CoreHeader) {
  // 16-bit 5-6-5 masks after a 40-byte header: pure red, pure green.
  Le masks;
  masks.u32(0xF800).u32(0x07E0).u32(0x001F);
  auto bf = DecodeBmp(ToBytes(MakeBmp(2, 1, 16, 3, {}, QByteArray::fromHex("00F8E007"), masks.b)));
  EXPECT_EQ(Rgb(*bf, 0, 0), 0xFF0000u);
  EXPECT_EQ(Rgb(*bf, 1, 0), 0x00FF00u);

  // OS/2 1.x: 12-byte header, 16-bit sizes, three-byte palette entries.
  Le os2;
  os2.u8('B').u8('M').u32(0).u32(0).u32(14 + 12 + 6);
  os2.u32(12).u16(2).u16(1).u16(1).u16(1);
  os2.u8(0).u8(0).u8(0).u8(0x30).u8(0x20).u8(0x10);  // black, then RGB 10 20 30
  os2.bytes(QByteArray::fromHex("40000000"));
  auto core = DecodeBmp(ToBytes(os2.b));
  EXPECT_EQ(Rgb(*core, 0, 0), 0u);
  EXPECT_EQ(Rgb(*core, 1, 0), 0x102030u);
}

TEST(BmpRead, DamagedFilesSayWhatIsWrong) {
  const std::vector<std::uint32_t> pal = {0, 0xFFFFFF};
  const struct {
    const char* what;
    QByteArray bytes;
    const char* expect;
  } cases[] = {
      {"not a bmp", QByteArray("PK\x03\x04 hello"), "BM"},
      {"empty", QByteArray(), "BM"},
      {"huge sides", MakeBmp(100000, 100000, 24, 0, {}, {}), "大きすぎます"},
      {"huge area", MakeBmp(32768, 32768, 1, 0, pal, {}), "大きすぎます"},
      {"int min height", MakeBmp(1, INT32_MIN, 24, 0, {}, {}), "大きすぎます"},
      {"zero width", MakeBmp(0, 1, 24, 0, {}, QByteArray(4, 0)), "幅または高さ"},
      {"pixels cut off", MakeBmp(100, 100, 24, 0, {}, QByteArray(100, 0)), "途中で切れています"},
      {"rle past the row", MakeBmp(2, 1, 8, 1, pal, QByteArray::fromHex("0301 0001")), "RLE"},
      {"rle cut mid-run", MakeBmp(4, 1, 8, 1, pal, QByteArray::fromHex("0004 0101")), "RLE"},
      {"rle delta past the top", MakeBmp(4, 1, 8, 1, pal, QByteArray::fromHex("00020005 0101")),
       "RLE"},
      {"embedded jpeg that is not one", MakeBmp(1, 1, 0, 4, {}, QByteArray(4, 0)), "埋め込まれた"},
      {"rle8 with 24 bits", MakeBmp(1, 1, 24, 1, {}, QByteArray(4, 0)), "圧縮形式"},
      {"huffman in an os/2 header", MakeBmp(1, 1, 1, 3, pal, QByteArray(4, 0), {}, 64), "圧縮形式"},
      {"bitfields not contiguous",
       MakeBmp(1, 1, 32, 3, {}, QByteArray(4, 0), Le().u32(0xF0F0).u32(0xFF00).u32(0xFF).b),
       "ﾋﾞｯﾄﾌｨｰﾙﾄﾞ"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string msg = Message([&] { DecodeBmp(ToBytes(c.bytes)); });
    EXPECT_NE(msg.find(c.expect), std::string::npos) << msg;
  }
}

TEST(BmpRead, LargeFilesReadInPiecesDecodeAsTheWhole) {
  std::uint32_t seed = 12345;
  const auto noise = [&](qsizetype n) {
    QByteArray b(n, Qt::Uninitialized);
    for (char& c : b) c = static_cast<char>((seed = seed * 1103515245 + 12345) >> 16);
    return b;
  };
  std::vector<std::uint32_t> pal(256);
  for (std::uint32_t i = 0; i < 256; ++i) pal[i] = i * 0x010203;
  const struct {
    const char* what;
    QByteArray file;
  } cases[] = {
      {"24-bit bottom-up", MakeBmp(1001, 200, 24, 0, {}, noise(3004 * 200))},
      {"16-bit 5-6-5 top-down",
       MakeBmp(700, -300, 16, 3, {}, noise(1400 * 300), Le().u32(0xF800).u32(0x07E0).u32(0x001F).b)},
      {"8-bit", MakeBmp(2000, 300, 8, 0, pal, noise(2000 * 300))},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Bytes all = ToBytes(c.file);
    int reads = 0;
    const auto reader = [&](std::int64_t off, std::int64_t len, std::uint8_t* dst) {
      ++reads;
      if (off < 0 || len < 0 || off + len > static_cast<std::int64_t>(all.size())) return false;
      std::memcpy(dst, all.data() + off, static_cast<std::size_t>(len));
      return true;
    };
    auto whole = DecodeBmp(all);
    auto pieces = DecodeBmpFrom(static_cast<std::int64_t>(all.size()), reader);
    EXPECT_GT(reads, 2);
    ASSERT_EQ(pieces->Width(), whole->Width());
    ASSERT_EQ(pieces->Height(), whole->Height());
    const std::size_t n = static_cast<std::size_t>(whole->Width()) * whole->Height();
    EXPECT_TRUE(std::equal(whole->Bits(), whole->Bits() + n, pieces->Bits()));
    // The file shrinking while it is read is a cut file, not a crash.
    int left = 3;
    const auto shrinking = [&](std::int64_t off, std::int64_t len, std::uint8_t* dst) {
      return --left > 0 && reader(off, len, dst);
    };
    EXPECT_EQ(Message([&] { DecodeBmpFrom(static_cast<std::int64_t>(all.size()), shrinking); }),
              "ﾋﾞｯﾄﾏｯﾌﾟ ﾌｧｲﾙが途中で切れています");
  }
}

TEST(BmpRead, EveryTruncationOfAFileFailsCleanly) {
  const std::vector<std::uint32_t> pal = {0, 0xFFFFFF, 0x808080};
  const QByteArray whole = MakeBmp(7, 3, 8, 0, pal, QByteArray(8 * 3, 1));
  ASSERT_NO_THROW(DecodeBmp(ToBytes(whole)));
  for (qsizetype n = 0; n < whole.size() - 1; ++n) {
    const QByteArray cut = whole.left(n);
    EXPECT_THROW(DecodeBmp(ToBytes(cut)), EngineError) << n;
  }
}

TEST(BmpWrite, TwentyFourBitRoundTripIsExact) {
  for (int w : {1, 2, 3, 5, 6, 7, 9, 33, 64}) {
    SCOPED_TRACE(w);
    TBitmap src(w, 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < w; ++x)
        src.ScanLine(y)[x] = 0xFF000000u | static_cast<std::uint32_t>((x * 0x3F1B27 + y * 0x1234) & 0xFFFFFF);
    const QByteArray file = EncodeBmp(src);
    const int row = (w * 3 + 3) / 4 * 4;
    ASSERT_EQ(file.size(), 54 + row * 3);
    EXPECT_EQ(LoadU16(ToBytes(file).data() + 28), 24);           // bits per pixel
    EXPECT_EQ(static_cast<std::int32_t>(LoadU32(ToBytes(file).data() + 22)), 3);  // bottom-up
    auto back = DecodeBmp(ToBytes(file));
    ASSERT_EQ(back->Width(), w);
    EXPECT_TRUE(std::equal(src.Bits(), src.Bits() + w * 3, back->Bits()));
    // Qt reads what we write the same way.
    QImage q = QImage::fromData(file, "BMP");
    EXPECT_EQ(MaxDiff(src, q), 0);
  }
}

TEST(PictureFiles, ExtensionChoosesTheReaderInAnyCase) {
  QTemporaryDir dir;
  TBitmap src(4, 2, 0x123456);
  const QByteArray bmp = EncodeBmp(src);
  for (const char* name : {"a.bmp", "b.BMP", "c.BmP"}) {
    ASSERT_TRUE(WriteAll(dir.filePath(name), bmp));
    Picture p;
    LoadPictureFile(p, dir.filePath(name));
    ASSERT_EQ(p.Kind(), GraphicKind::Bitmap);
    EXPECT_EQ(Rgb(*p.Bitmap(), 3, 1), ColorToPixel(0x123456) & 0xFFFFFF);
  }
  // Any other extension is refused by name, before the file is looked at.
  const struct {
    const char* name;
    const char* msg;
  } refused[] = {{"plan.png", "拡張子 .png の画像形式は処理できません"},
                 {"plan.Jpeg", "拡張子 .Jpeg の画像形式は処理できません"},
                 {"plan", "拡張子 . の画像形式は処理できません"}};
  for (const auto& r : refused) {
    Picture p;
    EXPECT_EQ(Message([&] { LoadPictureFile(p, dir.filePath(r.name)); }), r.msg);
    EXPECT_TRUE(p.Empty());
  }
  // A damaged or missing file leaves the picture as it was.
  ASSERT_TRUE(WriteAll(dir.filePath("bad.bmp"), bmp.left(60)));
  Picture kept;
  kept.SetBitmap(std::make_unique<TBitmap>(2, 2));
  EXPECT_THROW(LoadPictureFile(kept, dir.filePath("bad.bmp")), EngineError);
  EXPECT_THROW(LoadPictureFile(kept, dir.filePath("missing.bmp")), EngineError);
  EXPECT_EQ(Message([&] { LoadPictureFile(kept, DataFile("damaged.bmp")); }),
            "ﾋﾞｯﾄﾏｯﾌﾟ ﾌｧｲﾙが途中で切れています");
  // A folder or a pipe with a picture's name is refused at once, without waiting.
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder.bmp"));
  EXPECT_THROW(LoadPictureFile(kept, dir.filePath("folder.bmp")), EngineError);
  ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.emf")).constData(), 0600), 0);
  EXPECT_THROW(LoadPictureFile(kept, dir.filePath("pipe.emf")), EngineError);
  EXPECT_EQ(kept.Width(), 2);
}

TEST(PictureFiles, SaveReplacesAtomicallyAndFailureKeepsTheOldFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("plan.BMP");
  Picture pic;
  EXPECT_FALSE(SavePictureFile(pic, path));  // no graphic: nothing written
  EXPECT_FALSE(QFile::exists(path));

  pic.SetBitmap(std::make_unique<TBitmap>(3, 3, 0x0000FF));
  ASSERT_TRUE(SavePictureFile(pic, path));
  const QByteArray first = ReadAll(path);
  pic.SetBitmap(std::make_unique<TBitmap>(5, 5, 0x00FF00));
  ASSERT_TRUE(SavePictureFile(pic, path));
  Picture back;
  LoadPictureFile(back, path);
  EXPECT_EQ(back.Width(), 5);
  EXPECT_EQ(Rgb(*back.Bitmap(), 4, 4), 0x00FF00u);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);  // no temporary left behind

  // A target that cannot be replaced: error, and what was there is untouched.
  ASSERT_TRUE(QDir(dir.path()).mkdir("taken.bmp"));
  EXPECT_THROW(SavePictureFile(pic, dir.filePath("taken.bmp")), EngineError);
  EXPECT_TRUE(QFileInfo(dir.filePath("taken.bmp")).isDir());
  EXPECT_THROW(SavePictureFile(pic, dir.filePath("no/such/dir/x.bmp")), EngineError);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);

  // A picture with no rows (a window without client height) is refused, not written
  // as a file that cannot be opened again; the old file stays.
  Picture flat;
  flat.SetBitmap(std::make_unique<TBitmap>(112, 0));
  EXPECT_THROW(SavePictureFile(flat, path), EngineError);
  Picture still;
  LoadPictureFile(still, path);
  EXPECT_EQ(still.Width(), 5);
  (void)first;
}

}  // namespace
}  // namespace rv::test
