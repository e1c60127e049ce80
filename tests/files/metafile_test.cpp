// Metafiles: small EMF and WMF files written here record by record, played and checked
// pixel by pixel; damaged files refused with their message; bytes kept for saving.
#include <QTemporaryDir>
#include <functional>

#include "documents/clipboard.h"
#include "documents/metafile.h"
#include "documents/picture_io.h"
#include "test_util.h"

namespace rv::test {
namespace {

// ---- EMF writing ----

struct Emf {
  std::vector<QByteArray> records;
  Emf& rec(std::uint32_t type, const QByteArray& params) {
    Le r;
    r.u32(type).u32(static_cast<std::uint32_t>(8 + params.size())).bytes(params);
    records.push_back(r.b);
    return *this;
  }
  Emf& rec(std::uint32_t type, std::initializer_list<std::int32_t> v) {
    Le p;
    for (std::int32_t x : v) p.i32(x);
    return rec(type, p.b);
  }
  // 100 x 100 pixels on a 96-dpi reference device.
  QByteArray file() const {
    Le h;
    h.i32(0).i32(0).i32(99).i32(99);          // bounds
    h.i32(0).i32(0).i32(2646).i32(2646);      // frame, 0.01 mm
    h.u32(0x464D4520).u32(0x10000);           // signature, version
    std::uint32_t total = 88;
    for (const auto& r : records) total += static_cast<std::uint32_t>(r.size());
    total += 20;
    h.u32(total).u32(static_cast<std::uint32_t>(records.size() + 2)).u16(8).u16(0);
    h.u32(0).u32(0).u32(0);                   // description, palette
    h.i32(960).i32(960).i32(254).i32(254);    // device pixels and millimetres
    Le out;
    out.u32(1).u32(88).bytes(h.b);
    for (const auto& r : records) out.bytes(r);
    out.u32(14).u32(20).u32(0).u32(16).u32(20);
    return out.b;
  }
};

QByteArray Points16(std::initializer_list<std::pair<int, int>> pts) {
  Le p;
  p.i32(0).i32(0).i32(0).i32(0).u32(static_cast<std::uint32_t>(pts.size()));
  for (auto [x, y] : pts) p.i16(x).i16(y);
  return p.b;
}

// A solid brush and a null pen, selected.
Emf& Solid(Emf& e, std::uint32_t colorref, std::uint32_t handle = 1) {
  e.rec(39, {static_cast<std::int32_t>(handle), 0, static_cast<std::int32_t>(colorref), 0});
  e.rec(37, {static_cast<std::int32_t>(handle)});
  e.rec(37, {static_cast<std::int32_t>(0x80000008)});  // NULL_PEN
  return e;
}

// A 24-bit DIB, `w` x 1, colours as 0x00RRGGBB.
std::pair<QByteArray, QByteArray> Dib24(const std::vector<std::uint32_t>& px) {
  Le bmi;
  bmi.u32(40).i32(static_cast<std::int32_t>(px.size())).i32(1).u16(1).u16(24).u32(0).u32(0)
      .i32(0).i32(0).u32(0).u32(0);
  Le bits;
  for (std::uint32_t c : px) bits.u8(c).u8(c >> 8).u8(c >> 16);
  bits.pad4();
  return {bmi.b, bits.b};
}

QByteArray StretchDibits(int x, int y, int w, int h, const std::vector<std::uint32_t>& px) {
  auto [bmi, bits] = Dib24(px);
  const std::uint32_t fixed = 8 + 72;
  Le p;
  p.i32(0).i32(0).i32(0).i32(0);
  p.i32(x).i32(y).i32(0).i32(0).i32(static_cast<std::int32_t>(px.size())).i32(1);
  p.u32(fixed).u32(static_cast<std::uint32_t>(bmi.size()))
      .u32(fixed + static_cast<std::uint32_t>(bmi.size())).u32(static_cast<std::uint32_t>(bits.size()));
  p.u32(0).u32(0x00CC0020).i32(w).i32(h);
  p.bytes(bmi).bytes(bits);
  return p.b;
}

QByteArray ExtTextOutW(int x, int y, const QString& text) {
  const std::uint32_t fixed = 8 + 68;
  Le p;
  p.i32(0).i32(0).i32(0).i32(0).u32(1).f32(1).f32(1);
  p.i32(x).i32(y).u32(static_cast<std::uint32_t>(text.size())).u32(fixed).u32(0);
  p.i32(0).i32(0).i32(-1).i32(-1).u32(0);
  for (QChar c : text) p.u16(c.unicode());
  p.pad4();
  return p.b;
}

QByteArray Font(std::uint32_t handle, int height) {
  Le p;
  p.u32(handle).i32(height).i32(0).i32(0).i32(0).i32(400).u8(0).u8(0).u8(0).u8(1).u32(0);
  const QString face = "IPAPGothic";
  for (int i = 0; i < 32; ++i) p.u16(i < face.size() ? face[i].unicode() : 0);
  return p.b;
}

struct Expect {
  int x, y;
  QRgb color;
};

void CheckPixels(const QImage& img, const std::vector<Expect>& want) {
  for (const Expect& e : want) {
    const QRgb got = img.pixel(e.x, e.y);
    EXPECT_EQ(got & 0xFFFFFF, e.color & 0xFFFFFF)
        << "at " << e.x << "," << e.y << " got " << std::hex << got;
  }
}

constexpr QRgb kWhite = 0xFFFFFF, kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF,
               kYellow = 0xFFFF00, kMagenta = 0xFF00FF, kBlack = 0;

TEST(EmfPlay, RecordsDrawWhereTheyShould) {
  const struct {
    const char* what;
    std::function<void(Emf&)> build;
    std::vector<Expect> expect;
  } cases[] = {
      {"rectangle with a solid brush",
       [](Emf& e) { Solid(e, 0xFF0000).rec(43, {10, 10, 40, 40}); },
       {{25, 25, kBlue}, {11, 11, kBlue}, {5, 25, kWhite}, {45, 25, kWhite}}},
      {"anisotropic window onto a smaller viewport",
       [](Emf& e) {
         Solid(e, 0x0000FF).rec(17, {8}).rec(9, {200, 200}).rec(11, {100, 100});
         e.rec(43, {20, 20, 80, 80});
       },
       {{25, 25, kRed}, {12, 12, kRed}, {45, 25, kWhite}}},
      {"window origin moves the picture",
       [](Emf& e) { Solid(e, 0x00FF00).rec(10, {-50, 0}).rec(43, {0, 0, 10, 10}); },
       {{55, 5, kGreen}, {5, 5, kWhite}}},
      {"hi-metric mapping has y growing upwards",
       [](Emf& e) {
         // 1 mm = 100 units; viewport origin 50 px down: (0,0)-(1000,1000) sits above it.
         Solid(e, 0x0000FF).rec(17, {3}).rec(12, {0, 50}).rec(43, {0, 0, 1000, 1000});
       },
       {{2, 40, kRed}, {2, 60, kWhite}, {40, 40, kWhite}}},
      {"ellipse",
       [](Emf& e) { Solid(e, 0x0000FF).rec(42, {10, 10, 90, 90}); },
       {{50, 50, kRed}, {12, 12, kWhite}, {50, 12, kRed}}},
      {"polygon and polypolygon in 16-bit points",
       [](Emf& e) {
         Solid(e, 0x00FF00).rec(86, Points16({{0, 0}, {40, 0}, {0, 40}}));
         Le pp;
         pp.i32(0).i32(0).i32(0).i32(0).u32(2).u32(8).u32(4).u32(4);
         for (auto [x, y] : {std::pair{60, 60}, {70, 60}, {70, 70}, {60, 70},
                             {80, 80}, {90, 80}, {90, 90}, {80, 90}})
           pp.i16(x).i16(y);
         e.rec(91, pp.b);
       },
       {{5, 5, kGreen}, {35, 35, kWhite}, {65, 65, kGreen}, {85, 85, kGreen}, {75, 75, kWhite}}},
      {"polyline with a wide pen",
       [](Emf& e) {
         e.rec(38, {2, 0, 6, 0, 0x000000FF}).rec(37, {2});
         e.rec(87, Points16({{10, 50}, {90, 50}}));
       },
       {{50, 50, kRed}, {50, 52, kRed}, {50, 56, kWhite}}},
      {"pie fills the quarter between its rays",
       [](Emf& e) {
         // Counter-clockwise from the ray to the right to the ray upwards: top-right quarter.
         Solid(e, 0xFF0000).rec(47, {10, 10, 90, 90, 100, 50, 50, 0});
       },
       {{70, 30, kBlue}, {30, 30, kWhite}, {70, 70, kWhite}}},
      {"clip rectangle inside SaveDC, gone after RestoreDC",
       [](Emf& e) {
         Solid(e, 0x00FFFF).rec(33, {}).rec(30, {50, 60, 100, 100});
         e.rec(43, {40, 55, 100, 100}).rec(34, {-1});
         e.rec(43, {0, 0, 10, 10});
       },
       {{75, 80, kYellow}, {45, 80, kWhite}, {75, 57, kWhite}, {5, 5, kYellow}}},
      {"world transform translates and is reset",
       [](Emf& e) {
         Le x;
         x.f32(1).f32(0).f32(0).f32(1).f32(5).f32(65);
         Solid(e, 0xFF00FF).rec(35, x.b).rec(43, {0, 0, 20, 20});
         Le id;
         id.f32(1).f32(0).f32(0).f32(1).f32(0).f32(0).u32(1);
         e.rec(36, id.b).rec(43, {80, 0, 90, 10});
       },
       {{15, 75, kMagenta}, {5, 5, kWhite}, {85, 5, kMagenta}}},
      {"path filled",
       [](Emf& e) {
         Solid(e, 0x00FF00).rec(59, {}).rec(27, {10, 10}).rec(54, {90, 10}).rec(54, {10, 90});
         e.rec(61, {}).rec(60, {}).rec(62, {0, 0, 0, 0});
       },
       {{20, 20, kGreen}, {80, 80, kWhite}}},
      {"path as the clip",
       [](Emf& e) {
         Solid(e, 0x0000FF).rec(59, {}).rec(43, {0, 0, 50, 100}).rec(60, {}).rec(67, {1});
         e.rec(43, {0, 0, 100, 100});
       },
       {{25, 50, kRed}, {75, 50, kWhite}}},
      {"clip region in device units, then reset",
       [](Emf& e) {
         Le rgn;
         rgn.u32(48).u32(5);                                   // size of region data, RGN_COPY
         rgn.u32(32).u32(1).u32(1).u32(16).i32(0).i32(0).i32(50).i32(100);  // header
         rgn.i32(0).i32(0).i32(50).i32(100);                   // one rectangle
         Solid(e, 0x0000FF).rec(75, rgn.b).rec(43, {0, 0, 100, 50});
         e.rec(75, Le().u32(0).u32(5).b).rec(43, {0, 90, 100, 100});
       },
       {{25, 25, kRed}, {75, 25, kWhite}, {75, 95, kRed}}},
      {"bit block transfer without a source fills with the brush",
       [](Emf& e) {
         Solid(e, 0x00FF00);
         Le blt;
         blt.i32(0).i32(0).i32(0).i32(0).i32(60).i32(60).i32(20).i32(20).u32(0x00F00021);
         blt.i32(0).i32(0).f32(1).f32(0).f32(0).f32(1).f32(0).f32(0).u32(0).u32(0);
         blt.u32(0).u32(0).u32(0).u32(0);
         e.rec(76, blt.b);
       },
       {{70, 70, kGreen}, {50, 50, kWhite}}},
      {"clockwise arc direction takes the other side",
       [](Emf& e) {
         Solid(e, 0xFF0000).rec(57, {2}).rec(47, {10, 10, 90, 90, 100, 50, 50, 0});
       },
       {{70, 30, kWhite}, {30, 70, kBlue}, {70, 70, kBlue}}},
      {"DIB stretched",
       [](Emf& e) { e.rec(81, StretchDibits(10, 88, 20, 10, {0xFF0000, 0x0000FF})); },
       {{14, 93, kRed}, {26, 93, kBlue}, {35, 93, kWhite}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Emf e;
    c.build(e);
    std::unique_ptr<MetafileGraphic> g;
    ASSERT_NO_THROW(g = MetafileGraphic::Decode(e.file()));
    ASSERT_EQ(g->Format(), MetafileFormat::Emf);
    ASSERT_EQ(g->Width(), 100);
    ASSERT_EQ(g->Height(), 100);
    CheckPixels(g->Render(), c.expect);
  }
}

int DarkPixels(const QImage& img, QRect area) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) n += qGray(img.pixel(x, y)) < 128;
  return n;
}

TEST(EmfPlay, TextLandsAtItsReferencePoint) {
  Emf e;
  e.rec(82, Font(3, -24)).rec(37, {3}).rec(18, {1});  // transparent background
  e.rec(84, ExtTextOutW(20, 30, QStringLiteral("間取")));
  const QImage img = MetafileGraphic::Decode(e.file())->Render();
  EXPECT_GT(DarkPixels(img, QRect(20, 30, 50, 26)), 40);
  EXPECT_EQ(DarkPixels(img, QRect(0, 0, 100, 28)), 0);
  EXPECT_EQ(DarkPixels(img, QRect(0, 60, 100, 40)), 0);
}

TEST(EmfPlay, PositiveFontHeightIsTheCellNegativeTheEm) {
  const auto ink_rows = [](int height) {
    Emf e;
    e.rec(82, Font(3, height)).rec(37, {3}).rec(18, {1});
    e.rec(84, ExtTextOutW(5, 5, QStringLiteral("田")));
    const QImage img = MetafileGraphic::Decode(e.file())->Render();
    int rows = 0;
    for (int y = 0; y < img.height(); ++y) rows += DarkPixels(img, QRect(0, y, img.width(), 1)) > 0;
    return rows;
  };
  const int em = ink_rows(-40), cell = ink_rows(40);
  EXPECT_GT(em, 30);
  EXPECT_LT(cell, em);
}

TEST(EmfPlay, DisplaySizeChangesWithSetSizeAndScalesTheDrawing) {
  Emf e;
  Solid(e, 0xFF0000).rec(43, {50, 50, 100, 100});
  auto g = MetafileGraphic::Decode(e.file());
  Picture pic;
  pic.SetForeign(std::move(g));
  pic.SetWidth(200);
  pic.SetHeight(50);
  EXPECT_EQ(pic.Width(), 200);
  EXPECT_EQ(pic.Height(), 50);
  const QImage img = static_cast<const MetafileGraphic*>(pic.Foreign())->Render();
  ASSERT_EQ(img.size(), QSize(200, 50));
  CheckPixels(img, {{150, 40, kBlue}, {90, 40, kWhite}, {150, 20, kWhite}});
  pic.SetWidth(-5);  // no negative display size
  EXPECT_EQ(pic.Width(), 0);
}

TEST(EmfRead, DamagedFilesSayWhichRecord) {
  const QByteArray good = [] {
    Emf e;
    Solid(e, 0xFF).rec(86, Points16({{0, 0}, {10, 0}, {0, 10}}));
    return e.file();
  }();
  ASSERT_NO_THROW(MetafileGraphic::Decode(good));
  const auto with = [](std::function<void(Emf&)> f) {
    Emf e;
    f(e);
    return e.file();
  };
  Le past_end;
  past_end.u32(43).u32(0x7FFFFFF0).i32(0).i32(0);
  QByteArray size_past_end = with([](Emf&) {});
  size_past_end.insert(88, past_end.b);
  const struct {
    const char* what;
    QByteArray bytes;
    const char* msg;
  } cases[] = {
      {"not an EMF", QByteArray(100, 'x'), "ﾍｯﾀﾞｰ"},
      {"record size past the end", size_past_end, "大きさ"},
      {"polygon count past the record",
       with([](Emf& e) {
         Le p;
         p.i32(0).i32(0).i32(0).i32(0).u32(1000).i16(0).i16(0);
         e.rec(86, p.b);
       }),
       "種類 86"},
      {"polypolygon counts not adding up",
       with([](Emf& e) {
         Le p;
         p.i32(0).i32(0).i32(0).i32(0).u32(1).u32(1).u32(0xFFFFFFFF);
         p.i16(0).i16(0);
         e.rec(91, p.b);
       }),
       "種類 91"},
      {"text string outside the record",
       with([](Emf& e) {
         QByteArray t = ExtTextOutW(0, 0, "abc");
         t[36] = '\x7F';  // offString
         e.rec(84, t);
       }),
       "種類 84"},
      {"DIB offset outside the record",
       with([](Emf& e) {
         QByteArray t = StretchDibits(0, 0, 1, 1, {0});
         t[40] = '\x7F';  // offBmiSrc
         e.rec(81, t);
       }),
       "種類 81"},
      {"DIB of absurd size",
       with([](Emf& e) {
         QByteArray t = StretchDibits(0, 0, 1, 1, {0});
         Le big;
         big.i32(1 << 20).i32(1 << 20);
         t.replace(72 + 4, 8, big.b);
         e.rec(81, t);
       }),
       "大きすぎます"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      MetafileGraphic::Decode(c.bytes);
      ADD_FAILURE() << "accepted";
    } catch (const EngineError& e) {
      EXPECT_NE(std::string(e.what()).find(c.msg), std::string::npos) << e.what();
    }
  }
  // Every cut of a good file fails cleanly or plays what is there.
  for (qsizetype n = 0; n < good.size(); ++n) {
    try {
      MetafileGraphic::Decode(good.left(n));
    } catch (const EngineError&) {
    }
  }
}

// ---- WMF writing ----

struct Wmf {
  std::vector<QByteArray> records;
  Wmf& rec(std::uint16_t fn, std::initializer_list<int> words) {
    Le r;
    r.u32(static_cast<std::uint32_t>(3 + words.size())).u16(fn);
    for (int w : words) r.i16(w);
    records.push_back(r.b);
    return *this;
  }
  Wmf& raw(std::uint16_t fn, const QByteArray& params) {
    Le r;
    r.u32(static_cast<std::uint32_t>(3 + params.size() / 2)).u16(fn).bytes(params);
    records.push_back(r.b);
    return *this;
  }
  // Placeable: (0,0)-(200,200) at 192 units per inch, so 100 x 100 pixels.
  QByteArray file(bool placeable = true) const {
    Le out;
    if (placeable) {
      out.u32(0x9AC6CDD7).u16(0).i16(0).i16(0).i16(200).i16(200).u16(192).u32(0).u16(0);
    }
    std::uint32_t words = 9 + 3;
    for (const auto& r : records) words += static_cast<std::uint32_t>(r.size() / 2);
    out.u16(1).u16(9).u16(0x0300).u32(words).u16(8).u32(0).u16(0);
    for (const auto& r : records) out.bytes(r);
    out.u32(3).u16(0);
    return out.b;
  }
};

Wmf& WmfSolid(Wmf& w, std::uint32_t colorref) {
  // Objects take the lowest free slot: the brush 0, the pen 1.
  w.rec(0x02FC, {0, static_cast<int>(colorref & 0xFFFF), static_cast<int>(colorref >> 16), 0});
  w.rec(0x012D, {0});
  w.rec(0x02FA, {5, 0, 0, 0, 0});
  w.rec(0x012D, {1});
  return w;
}

TEST(WmfPlay, RecordsDrawWhereTheyShould) {
  const struct {
    const char* what;
    std::function<void(Wmf&)> build;
    std::vector<Expect> expect;
  } cases[] = {
      {"rectangle, parameters last first",
       [](Wmf& w) { WmfSolid(w, 0xFF0000).rec(0x041B, {80, 80, 20, 20}); },
       {{25, 25, kBlue}, {5, 5, kWhite}, {45, 25, kWhite}}},
      {"own window extent maps onto the picture",
       [](Wmf& w) { WmfSolid(w, 0x0000FF).rec(0x020C, {100, 100}).rec(0x041B, {50, 50, 0, 0}); },
       {{45, 45, kRed}, {55, 55, kWhite}}},
      {"window origin",
       [](Wmf& w) { WmfSolid(w, 0x00FF00).rec(0x020B, {0, -100}).rec(0x041B, {20, 20, 0, 0}); },
       {{55, 5, kGreen}, {5, 5, kWhite}}},
      {"polygon and polypolygon",
       [](Wmf& w) {
         WmfSolid(w, 0x00FF00).rec(0x0324, {3, 0, 0, 80, 0, 0, 80});
         w.rec(0x0538, {2, 4, 4, 120, 120, 140, 120, 140, 140, 120, 140,
                        160, 160, 180, 160, 180, 180, 160, 180});
       },
       {{5, 5, kGreen}, {35, 35, kWhite}, {65, 65, kGreen}, {85, 85, kGreen}, {75, 75, kWhite}}},
      {"ellipse and chord",
       [](Wmf& w) {
         WmfSolid(w, 0x0000FF).rec(0x0418, {100, 100, 0, 0});
         // Chord from the ray left to the ray right, counter-clockwise: the lower half.
         w.rec(0x0830, {150, 200, 150, 100, 200, 200, 100, 100});
       },
       {{25, 25, kRed}, {2, 2, kWhite}, {75, 90, kRed}, {75, 60, kWhite}}},
      {"clip and restore",
       [](Wmf& w) {
         WmfSolid(w, 0x00FFFF).rec(0x001E, {}).rec(0x0416, {200, 200, 120, 100});
         w.rec(0x041B, {200, 200, 80, 80}).rec(0x0127, {-1}).rec(0x041B, {20, 20, 0, 0});
       },
       {{75, 80, kYellow}, {45, 80, kWhite}, {75, 55, kWhite}, {5, 5, kYellow}}},
      {"a deleted object's slot is the next one taken",
       [](Wmf& w) {
         w.rec(0x02FC, {0, 0x00FF, 0, 0});  // red in slot 0
         w.rec(0x02FC, {0, 0, 0x00FF, 0});  // blue in slot 1
         w.rec(0x01F0, {0});
         w.rec(0x02FC, {0, 0xFF00, 0, 0});  // green takes slot 0 again
         w.rec(0x02FA, {5, 0, 0, 0, 0});    // null pen in slot 2
         w.rec(0x012D, {0}).rec(0x012D, {2}).rec(0x041B, {80, 80, 20, 20});
       },
       {{25, 25, kGreen}}},
      {"DIB stretched",
       [](Wmf& w) {
         auto [bmi, bits] = Dib24({0xFF0000, 0x0000FF});
         Le p;
         p.u32(0x00CC0020).u16(0).i16(1).i16(2).i16(0).i16(0).i16(20).i16(40).i16(176).i16(20);
         p.bytes(bmi).bytes(bits);
         w.raw(0x0F43, p.b);
       },
       {{14, 93, kRed}, {26, 93, kBlue}, {35, 93, kWhite}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Wmf w;
    c.build(w);
    std::unique_ptr<MetafileGraphic> g;
    ASSERT_NO_THROW(g = MetafileGraphic::Decode(w.file()));
    ASSERT_EQ(g->Format(), MetafileFormat::Wmf);
    ASSERT_EQ(g->Width(), 100);
    CheckPixels(g->Render(), c.expect);
  }
}

TEST(WmfPlay, ShiftJisTextAndNonPlaceableSize) {
  Wmf w;
  w.rec(0x020C, {120, 160});  // no placeable header: the window extent is the size
  Le font;
  font.i16(-24).i16(0).i16(0).i16(0).i16(400).u8(0).u8(0).u8(0).u8(128).u32(0);
  font.bytes(QByteArray("IPAPGothic")).u8(0).pad4();
  w.raw(0x02FB, font.b);
  w.rec(0x012D, {0}).rec(0x0102, {1}).rec(0x012E, {0});
  const QByteArray sjis = QByteArray::fromHex("8AD48EE6");  // 間取
  Le text;
  text.u16(static_cast<unsigned>(sjis.size())).bytes(sjis).i16(30).i16(20);
  w.raw(0x0521, text.b);
  auto g = MetafileGraphic::Decode(w.file(false));
  EXPECT_EQ(g->Width(), 160);
  EXPECT_EQ(g->Height(), 120);
  const QImage img = g->Render();
  EXPECT_GT(DarkPixels(img, QRect(20, 30, 50, 26)), 40);
  EXPECT_EQ(DarkPixels(img, QRect(0, 0, 160, 28)), 0);
}

TEST(WmfRead, DamagedFilesSayWhatIsWrong) {
  Wmf w;
  WmfSolid(w, 0xFF).rec(0x0324, {3, 0, 0, 80, 0, 0, 80});
  const QByteArray good = w.file();
  ASSERT_NO_THROW(MetafileGraphic::Decode(good));
  QByteArray zero_size = good;
  zero_size.replace(22 + 18, 4, QByteArray(4, '\0'));
  QByteArray past_end = good;
  past_end.replace(22 + 18, 4, QByteArray::fromHex("ffff0000"));
  Wmf bad_poly;
  bad_poly.rec(0x0324, {500, 0, 0});
  Wmf bad_pp;
  bad_pp.rec(0x0538, {3000});
  const struct {
    const char* what;
    QByteArray bytes;
    const char* msg;
  } cases[] = {
      {"not a metafile", QByteArray(40, 'z'), "ﾍｯﾀﾞｰ"},
      {"record of zero size", zero_size, "大きさ"},
      {"record past the end", past_end, "大きさ"},
      {"polygon count past the record", bad_poly.file(), "0x0324"},
      {"polypolygon counts past the record", bad_pp.file(), "0x0538"},
      {"cut in a record", good.left(good.size() - 10), "大きさ"},
      {"cut in the header", good.left(30), "途中で切れています"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      MetafileGraphic::Decode(c.bytes);
      ADD_FAILURE() << "accepted";
    } catch (const EngineError& e) {
      EXPECT_NE(std::string(e.what()).find(c.msg), std::string::npos) << e.what();
    }
  }
  for (qsizetype n = 0; n < good.size(); ++n) {
    try {
      MetafileGraphic::Decode(good.left(n));
    } catch (const EngineError&) {
    }
  }
}

TEST(MetafileFiles, SaveWritesTheBytesBackAndCopyGivesEmfAndImage) {
  QTemporaryDir dir;
  Emf e;
  Solid(e, 0xFF).rec(43, {0, 0, 50, 50});
  const QByteArray emf = e.file();
  ASSERT_TRUE(WriteAll(dir.filePath("a.EMF"), emf));
  Picture pic;
  LoadPictureFile(pic, dir.filePath("a.EMF"));
  ASSERT_EQ(pic.Kind(), GraphicKind::Metafile);
  pic.SetWidth(30);  // display size only: the bytes stay
  ASSERT_TRUE(SavePictureFile(pic, dir.filePath("b.emf")));
  EXPECT_EQ(ReadAll(dir.filePath("b.emf")), emf);

  auto mime = PictureMimeData(pic);
  ASSERT_TRUE(mime);
  EXPECT_EQ(mime->data("image/emf"), emf);
  EXPECT_EQ(mime->data("image/x-emf"), emf);
  const QImage shown = qvariant_cast<QImage>(mime->imageData());
  EXPECT_EQ(shown.size(), QSize(30, 100));
  EXPECT_EQ(shown.pixel(10, 10) & 0xFFFFFF, kRed);

  Wmf w;
  WmfSolid(w, 0xFF).rec(0x041B, {80, 80, 20, 20});
  ASSERT_TRUE(WriteAll(dir.filePath("c.wmf"), w.file()));
  Picture wp;
  LoadPictureFile(wp, dir.filePath("c.wmf"));
  auto wm = PictureMimeData(wp);
  EXPECT_EQ(wm->data("image/x-wmf"), w.file());
  EXPECT_FALSE(wm->hasFormat("image/emf"));
  EXPECT_TRUE(wm->hasImage());
}

TEST(MetafileFiles, PublicSamplesPlay) {
  RV_REQUIRE_CORPORA("metafile");
  for (const char* name : {"drawing.emf", "drawing.wmf"}) {
    SCOPED_TRACE(name);
    auto g = MetafileGraphic::Decode(ReadAll(CorporaDir("metafile/") + name));
    EXPECT_EQ(g->Width(), 110);
    EXPECT_EQ(g->Height(), 110);
    // A red disc with a dark outline.
    const QImage img = g->Render();
    int red = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) red += (img.pixel(x, y) & 0xFFFFFF) == kRed;
    EXPECT_GT(red, 3000);
  }
}

}  // namespace
}  // namespace rv::test
