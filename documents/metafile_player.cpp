#include "documents/metafile_player.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QStringDecoder>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "documents/bmp_codec.h"

namespace rv {

namespace {

// ---- GDI values ----

constexpr int kMmText = 1, kMmLoMetric = 2, kMmHiMetric = 3, kMmLoEnglish = 4,
              kMmHiEnglish = 5, kMmTwips = 6, kMmIsotropic = 7, kMmAnisotropic = 8;
constexpr int kTransparent = 1;
constexpr int kPsNull = 5;
constexpr int kBsSolid = 0, kBsNull = 1, kBsHatched = 2, kBsPattern = 3, kBsDibPattern = 5,
              kBsDibPatternPt = 6;
constexpr int kTaUpdateCp = 1, kTaRight = 2, kTaCenter = 6, kTaBottom = 8, kTaBaseline = 24;
constexpr int kEtoOpaque = 2, kEtoClipped = 4;
constexpr int kRgnAnd = 1, kRgnOr = 2, kRgnXor = 3, kRgnDiff = 4, kRgnCopy = 5;
constexpr int kAdClockwise = 2;
constexpr std::uint32_t kRopBlackness = 0x00000042, kRopWhiteness = 0x00FF0062,
                        kRopPatCopy = 0x00F00021;
// Pictures inside a metafile above this are not drawn.
constexpr std::int64_t kMaxDibPixels = std::int64_t{1} << 24;
// More points than this in one record is no real drawing.
constexpr std::uint64_t kMaxPoints = std::uint64_t{1} << 22;
// Longer strings are cut: no picture shows more characters in one record.
constexpr qsizetype kMaxTextChars = 1 << 16;
// Clip outlines beyond this many elements are replaced by their bounding box.
constexpr int kMaxClipElements = 20000;
// Text taller than this on the display is not drawn: no real picture needs it.
constexpr double kMaxTextPixels = 4096;

constexpr double kPi = 3.14159265358979323846;

QColor ColorRef(std::uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

bool Finite(double v) { return std::isfinite(v) && std::abs(v) < 1e12; }

struct GdiPen {
  int style = 0;  // PS_SOLID
  double width = 0;
  QColor color = Qt::black;
  int cap = 0, join = 0;
};

struct GdiBrush {
  int style = kBsSolid;
  QColor color = Qt::white;
  int hatch = 0;
  QImage pattern;
};

struct GdiFont {
  double height = 0;
  double escapement = 0;
  int weight = 400;
  bool italic = false, underline = false, strikeout = false;
  int charset = 0;
  QString face;
};

struct GdiObject {
  enum Kind { kPen, kBrush, kFont, kOther } kind = kOther;
  GdiPen pen;
  GdiBrush brush;
  GdiFont font;
};

struct DcState {
  int map_mode = kMmText;
  QPointF win_org{0, 0}, win_ext{1, 1}, vp_org{0, 0}, vp_ext{1, 1};
  QTransform world;
  GdiPen pen;
  GdiBrush brush;
  GdiFont font;
  QColor text_color = Qt::black, bk_color = Qt::white;
  int bk_mode = 2;  // OPAQUE
  int text_align = 0;
  Qt::FillRule fill_rule = Qt::OddEvenFill;
  int arc_direction = 1;
  QPointF pos;  // current position, logical
  std::optional<QPainterPath> clip;  // display coordinates
};

// The drawing side shared by both formats. Logical coordinates go through the world
// transform (EMF only), the window-to-viewport mapping and then the device-to-display map.
class Gdi {
 public:
  Gdi(QPainter& painter, const QRectF& target) : p_(painter), target_(target) {
    p_.save();
    base_clip_ = p_.hasClipping() ? p_.clipPath() : QPainterPath();
    base_transform_ = p_.transform();
    base_has_clip_ = p_.hasClipping();
    p_.setRenderHint(QPainter::Antialiasing, false);
  }
  ~Gdi() { p_.restore(); }

  DcState dc;
  QTransform device_to_display;
  // Pixels of the reference device per millimetre, for the fixed mapping modes.
  double dev_px_per_mm_x = 96 / 25.4, dev_px_per_mm_y = 96 / 25.4;
  bool path_open = false;
  QPainterPath path;  // display coordinates
  std::vector<DcState> saved;

  QTransform Page() const {
    double sx = 1, sy = 1;
    switch (dc.map_mode) {
      case kMmText: return QTransform::fromTranslate(dc.vp_org.x() - dc.win_org.x(), dc.vp_org.y() - dc.win_org.y());
      case kMmLoMetric: sx = 0.1 * dev_px_per_mm_x; sy = -0.1 * dev_px_per_mm_y; break;
      case kMmHiMetric: sx = 0.01 * dev_px_per_mm_x; sy = -0.01 * dev_px_per_mm_y; break;
      case kMmLoEnglish: sx = 0.254 * dev_px_per_mm_x; sy = -0.254 * dev_px_per_mm_y; break;
      case kMmHiEnglish: sx = 0.0254 * dev_px_per_mm_x; sy = -0.0254 * dev_px_per_mm_y; break;
      case kMmTwips: sx = 25.4 / 1440 * dev_px_per_mm_x; sy = -25.4 / 1440 * dev_px_per_mm_y; break;
      default: {
        if (dc.win_ext.x() == 0 || dc.win_ext.y() == 0) return QTransform(0, 0, 0, 0, 0, 0);
        sx = dc.vp_ext.x() / dc.win_ext.x();
        sy = dc.vp_ext.y() / dc.win_ext.y();
        if (dc.map_mode == kMmIsotropic) {
          const double m = std::min(std::abs(sx), std::abs(sy));
          sx = std::copysign(m, sx);
          sy = std::copysign(m, sy);
        }
      }
    }
    // device = (logical - window origin) * scale + viewport origin
    return QTransform(sx, 0, 0, sy, dc.vp_org.x() - dc.win_org.x() * sx, dc.vp_org.y() - dc.win_org.y() * sy);
  }
  QTransform Full() const { return dc.world * Page() * device_to_display; }
  // Display units per logical unit, roughly, for pen widths and text.
  static double ScaleOf(const QTransform& t) { return std::sqrt(std::abs(t.determinant())); }

  QPen MakePen(const QTransform& t) const {
    const GdiPen& gp = dc.pen;
    if ((gp.style & 0x0F) == kPsNull) return Qt::NoPen;
    QPen pen(gp.color);
    const double w = gp.width * ScaleOf(t);
    if (!(w > 1.5) || !Finite(w)) {
      pen.setWidth(0);  // one display pixel
      pen.setCosmetic(true);
    } else {
      pen.setWidthF(std::min(w, 1e6));
      pen.setCosmetic(true);  // width already in display units
    }
    switch (gp.style & 0x0F) {
      case 1: pen.setStyle(Qt::DashLine); break;
      case 2: pen.setStyle(Qt::DotLine); break;
      case 3: pen.setStyle(Qt::DashDotLine); break;
      case 4: pen.setStyle(Qt::DashDotDotLine); break;
      default: pen.setStyle(Qt::SolidLine); break;
    }
    pen.setCapStyle(gp.cap == 0x100 ? Qt::SquareCap : gp.cap == 0x200 ? Qt::FlatCap : Qt::RoundCap);
    pen.setJoinStyle(gp.join == 0x1000 ? Qt::BevelJoin : gp.join == 0x2000 ? Qt::MiterJoin : Qt::RoundJoin);
    return pen;
  }

  QBrush MakeBrush() const {
    const GdiBrush& b = dc.brush;
    switch (b.style) {
      case kBsNull: return Qt::NoBrush;
      case kBsHatched: {
        static const Qt::BrushStyle hatches[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                                 Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(b.color, b.hatch >= 0 && b.hatch < 6 ? hatches[b.hatch] : Qt::SolidPattern);
      }
      case kBsPattern:
      case kBsDibPattern:
      case kBsDibPatternPt:
        if (!b.pattern.isNull()) return QBrush(b.pattern);
        return QBrush(Qt::black);
      default: return QBrush(b.color);
    }
  }

  void ApplyClip() {
    p_.setTransform(base_transform_);
    if (dc.clip) {
      QPainterPath c = *dc.clip;
      if (base_has_clip_) c = c.intersected(base_clip_);
      p_.setClipPath(c);
    } else if (base_has_clip_) {
      p_.setClipPath(base_clip_);
    } else {
      p_.setClipping(false);
    }
  }

  // A figure in logical coordinates: added to the open path, or drawn.
  void Emit(const QPainterPath& logical, bool fill, bool stroke) {
    const QTransform t = Full();
    if (path_open) {
      path.addPath(t.map(logical));
      return;
    }
    QPainterPath shape = t.map(logical);
    shape.setFillRule(dc.fill_rule);
    DrawDisplayPath(shape, fill, stroke, t);
  }

  void DrawDisplayPath(const QPainterPath& shape, bool fill, bool stroke, const QTransform& t) {
    ApplyClip();
    p_.setTransform(base_transform_);
    if (fill) p_.fillPath(shape, MakeBrush());
    if (stroke) p_.strokePath(shape, MakePen(t));
  }

  // The current position and lines through it.
  void MoveTo(QPointF pt) {
    dc.pos = pt;
    if (path_open) path.moveTo(Full().map(pt));
  }
  void LineTo(QPointF pt) {
    if (path_open) {
      if (path.elementCount() == 0) path.moveTo(Full().map(dc.pos));
      path.lineTo(Full().map(pt));
    } else {
      QPainterPath l;
      l.moveTo(dc.pos);
      l.lineTo(pt);
      Emit(l, false, true);
    }
    dc.pos = pt;
  }
  void PolyTo(const std::vector<QPointF>& pts, bool bezier) {
    QPainterPath l;
    l.moveTo(dc.pos);
    if (bezier) {
      for (std::size_t i = 0; i + 2 < pts.size(); i += 3) l.cubicTo(pts[i], pts[i + 1], pts[i + 2]);
    } else {
      for (const QPointF& q : pts) l.lineTo(q);
    }
    if (!bezier && !pts.empty()) dc.pos = pts.back();
    if (bezier && pts.size() >= 3) dc.pos = pts[pts.size() / 3 * 3 - 1];
    if (path_open) {
      if (path.elementCount() == 0) path.moveTo(Full().map(l.elementAt(0)));
      const QPainterPath m = Full().map(l);
      for (int i = 1; i < m.elementCount(); ++i) {
        const QPainterPath::Element e = m.elementAt(i);
        if (e.isLineTo()) {
          path.lineTo(e);
        } else if (e.type == QPainterPath::CurveToElement && i + 2 < m.elementCount()) {
          path.cubicTo(e, m.elementAt(i + 1), m.elementAt(i + 2));
          i += 2;
        }
      }
    } else {
      Emit(l, false, true);
    }
  }
  void Poly(const std::vector<QPointF>& pts, bool closed, bool bezier) {
    if (pts.empty()) return;
    QPainterPath l;
    l.moveTo(pts[0]);
    if (bezier) {
      for (std::size_t i = 1; i + 2 < pts.size(); i += 3) l.cubicTo(pts[i], pts[i + 1], pts[i + 2]);
    } else {
      for (std::size_t i = 1; i < pts.size(); ++i) l.lineTo(pts[i]);
    }
    if (closed) l.closeSubpath();
    Emit(l, closed, true);
  }
  void PolyPoly(const std::vector<std::vector<QPointF>>& polys, bool closed) {
    QPainterPath l;
    for (const auto& pts : polys) {
      if (pts.empty()) continue;
      l.moveTo(pts[0]);
      for (std::size_t i = 1; i < pts.size(); ++i) l.lineTo(pts[i]);
      if (closed) l.closeSubpath();
    }
    Emit(l, closed, true);
  }

  static QRectF Box(double l, double t, double r, double b) {
    return QRectF(QPointF(std::min(l, r), std::min(t, b)), QPointF(std::max(l, r), std::max(t, b)));
  }
  void Rectangle(QRectF r) {
    QPainterPath l;
    l.addRect(r);
    Emit(l, true, true);
  }
  void RoundRect(QRectF r, double w, double h) {
    QPainterPath l;
    l.addRoundedRect(r, std::abs(w) / 2, std::abs(h) / 2);
    Emit(l, true, true);
  }
  void Ellipse(QRectF r) {
    QPainterPath l;
    l.addEllipse(r);
    Emit(l, true, true);
  }

  // kind 0 arc, 1 chord, 2 pie, 3 arc-to (from and to the current position).
  void ArcFamily(QRectF r, QPointF start, QPointF end, int kind) {
    const QPointF c = r.center();
    const double rx = r.width() / 2, ry = r.height() / 2;
    if (!(rx > 0) || !(ry > 0)) return;
    // Parametric angles of the rays through the two points, counter-clockwise on screen.
    const auto angle = [&](QPointF q) {
      return std::atan2(-(q.y() - c.y()) / ry, (q.x() - c.x()) / rx) * 180 / kPi;
    };
    const double a1 = angle(start), a2 = angle(end);
    double sweep = std::fmod(a2 - a1 + 720, 360);
    if (sweep == 0) sweep = 360;
    if (dc.arc_direction == kAdClockwise) sweep -= 360;
    // Drawn on the unit circle, then stretched to the box: angles stay parametric.
    QPainterPath unit;
    const QPointF unit_start(std::cos(a1 * kPi / 180), -std::sin(a1 * kPi / 180));
    if (kind == 2) {
      unit.moveTo(0, 0);
      unit.lineTo(unit_start);
    } else {
      unit.moveTo(unit_start);
    }
    unit.arcTo(QRectF(-1, -1, 2, 2), a1, sweep);
    if (kind == 1 || kind == 2) unit.closeSubpath();
    const QTransform stretch = QTransform::fromScale(rx, ry) * QTransform::fromTranslate(c.x(), c.y());
    QPainterPath l = stretch.map(unit);
    if (kind == 3) {
      QPainterPath with_line;
      with_line.moveTo(dc.pos);
      with_line.lineTo(l.elementAt(0));
      with_line.connectPath(l);
      dc.pos = l.currentPosition();
      if (path_open) {
        path.connectPath(Full().map(with_line));
        return;
      }
      Emit(with_line, false, true);
      return;
    }
    Emit(l, kind != 0, true);
  }

  void SetPixel(QPointF pt, QColor color) {
    if (path_open) return;
    ApplyClip();
    const QPointF d = Full().map(pt);
    p_.fillRect(QRectF(std::floor(d.x()), std::floor(d.y()), 1, 1), color);
  }

  // Draws a picture into a logical rectangle, from `src` of the image.
  void Blit(const QImage& img, QRectF dest, QRectF src) {
    if (path_open || img.isNull()) return;
    const QTransform t = Full();
    ApplyClip();
    p_.setTransform(t * base_transform_);
    p_.drawImage(dest, img, src);
    p_.setTransform(base_transform_);
  }
  void FillLogicalRect(QRectF r, const QBrush& brush) {
    if (path_open) return;
    QPainterPath l;
    l.addRect(r);
    ApplyClip();
    p_.setTransform(base_transform_);
    p_.fillPath(Full().map(l), brush);
  }

  // Text at a logical point; `advances` are logical widths per character, or empty.
  void Text(QPointF at, QString text, const std::vector<double>& advances, int options,
            std::optional<QRectF> rect) {
    if (path_open) return;
    const QTransform t = Full();
    if (rect && (options & kEtoOpaque)) FillLogicalRect(*rect, dc.bk_color);
    if (text.isEmpty()) return;
    if (text.size() > kMaxTextChars) text.truncate(kMaxTextChars);
    if (text.size() > text_chars_left) return;
    text_chars_left -= text.size();
    const bool update_cp = dc.text_align & kTaUpdateCp;
    if (update_cp) at = dc.pos;
    // Sizes on the display: the font is drawn unscaled at the mapped point.
    const double sx = std::hypot(t.m11(), t.m12());
    const double sy = std::hypot(t.m21(), t.m22());
    double px = std::abs(dc.font.height) * sy;
    if (dc.font.height == 0) px = 12 * sy;
    if (!Finite(px) || px > kMaxTextPixels || !Finite(sx)) return;
    if (px < 1) px = 1;
    QFont font(dc.font.face.isEmpty() ? QStringLiteral("IPAPGothic") : dc.font.face);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(px))));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(dc.font.weight == 0 ? 400 : dc.font.weight, 100, 900)));
    font.setItalic(dc.font.italic);
    font.setUnderline(dc.font.underline);
    font.setStrikeOut(dc.font.strikeout);
    if (dc.font.height > 0) {
      // A positive height is the character cell, ascent plus descent, not the em size.
      const QFontMetricsF cell(font);
      const double cell_px = cell.ascent() + cell.descent();
      if (cell_px > 0) font.setPixelSize(std::max(1, static_cast<int>(std::lround(px * px / cell_px))));
    }
    const QFontMetricsF fm(font);
    double width = 0;
    std::vector<double> xs;  // display offsets along the baseline
    if (!advances.empty()) {
      for (qsizetype i = 0; i < text.size(); ++i) {
        xs.push_back(width);
        width += (static_cast<std::size_t>(i) < advances.size() ? advances[i] : 0) * sx;
      }
    } else {
      width = fm.horizontalAdvance(text);
    }
    if (!Finite(width)) return;
    double dx = 0, dy = 0;
    const int halign = dc.text_align & 6;
    if (halign == kTaCenter) dx = -width / 2;
    else if (halign == kTaRight) dx = -width;
    const int valign = dc.text_align & 24;
    if (valign == kTaBaseline) dy = 0;
    else if (valign == kTaBottom) dy = -fm.descent();
    else dy = fm.ascent();
    const QPointF origin = t.map(at);
    ApplyClip();
    if (rect && (options & kEtoClipped)) {
      QPainterPath r;
      r.addRect(*rect);
      p_.setClipPath(t.map(r), Qt::IntersectClip);
    }
    // Escapement in tenths of a degree, counter-clockwise as seen.
    QTransform place = QTransform().rotate(-dc.font.escapement / 10) *
                       QTransform::fromTranslate(origin.x(), origin.y()) * base_transform_;
    p_.setTransform(place);
    p_.setFont(font);
    if (dc.bk_mode != kTransparent) {
      p_.fillRect(QRectF(dx, dy - fm.ascent(), width, fm.height()), dc.bk_color);
    }
    p_.setPen(dc.text_color);
    if (xs.empty()) {
      p_.drawText(QPointF(dx, dy), text);
    } else {
      for (qsizetype i = 0; i < text.size(); ++i) {
        p_.drawText(QPointF(dx + xs[static_cast<std::size_t>(i)], dy), QString(text[i]));
      }
    }
    p_.setTransform(base_transform_);
    if (update_cp && sx > 0) {
      // The position moves along x by the drawn width, back in logical units.
      bool ok = false;
      const QTransform inv = t.inverted(&ok);
      if (ok) dc.pos = inv.map(origin + QPointF(width, 0));
    }
  }

  // Combines the clip with a display-coordinate area.
  void Clip(const QPainterPath& area, int mode) {
    const QPainterPath whole = [&] {
      QPainterPath w;
      w.addRect(target_.adjusted(-1, -1, 1, 1));
      return w;
    }();
    const QPainterPath current = dc.clip ? *dc.clip : whole;
    switch (mode) {
      case kRgnAnd: dc.clip = current.intersected(area); break;
      case kRgnOr: dc.clip = current.united(area); break;
      case kRgnXor: dc.clip = current.united(area).subtracted(current.intersected(area)); break;
      case kRgnDiff: dc.clip = current.subtracted(area); break;
      case kRgnCopy: dc.clip = area; break;
      default: break;
    }
    // Combining ever more complex clips costs more each time: keep the outline simple.
    if (dc.clip && dc.clip->elementCount() > kMaxClipElements) {
      QPainterPath box;
      box.addRect(dc.clip->boundingRect());
      dc.clip = box;
    }
  }
  void ClipLogicalRect(QRectF r, bool exclude) {
    QPainterPath l;
    l.addRect(r);
    Clip(Full().map(l), exclude ? kRgnDiff : kRgnAnd);
  }

  void SaveDc() {
    if (saved.size() < 4096) saved.push_back(dc);
  }
  void RestoreDc(int n) {
    // Negative: relative to the newest; positive: an absolute level counted from 1.
    std::size_t keep;
    if (n < 0) {
      const std::size_t back = static_cast<std::size_t>(-static_cast<std::int64_t>(n));
      if (back > saved.size()) return;
      keep = saved.size() - back;
    } else {
      if (n == 0 || static_cast<std::size_t>(n) > saved.size()) return;
      keep = static_cast<std::size_t>(n) - 1;
    }
    dc = saved[keep];
    saved.resize(keep);
  }

  void FillPath(bool fill, bool stroke) {
    path.setFillRule(dc.fill_rule);
    DrawDisplayPath(path, fill, stroke, Full());
    path = QPainterPath();
    path_open = false;
  }

  void SelectStock(std::uint32_t index) {
    switch (index) {
      case 0: dc.brush = {kBsSolid, Qt::white, 0, {}}; break;
      case 1: dc.brush = {kBsSolid, QColor(0xC0, 0xC0, 0xC0), 0, {}}; break;
      case 2: dc.brush = {kBsSolid, QColor(0x80, 0x80, 0x80), 0, {}}; break;
      case 3: dc.brush = {kBsSolid, QColor(0x40, 0x40, 0x40), 0, {}}; break;
      case 4: dc.brush = {kBsSolid, Qt::black, 0, {}}; break;
      case 5: dc.brush = {kBsNull, Qt::black, 0, {}}; break;
      case 6: dc.pen = {0, 0, Qt::white, 0, 0}; break;
      case 7: dc.pen = {0, 0, Qt::black, 0, 0}; break;
      case 8: dc.pen = {kPsNull, 0, Qt::black, 0, 0}; break;
      case 10: case 11: case 12: case 13: case 14: case 16: case 17:
        dc.font = GdiFont{};
        break;
      default: break;
    }
  }
  void Select(const GdiObject& o) {
    switch (o.kind) {
      case GdiObject::kPen: dc.pen = o.pen; break;
      case GdiObject::kBrush: dc.brush = o.brush; break;
      case GdiObject::kFont: dc.font = o.font; break;
      default: break;
    }
  }

  const QRectF& Target() const { return target_; }

  // Work one playback may do on pictures and text, so a hostile file cannot make every
  // repaint take minutes: past the budget, further pictures and strings are left out.
  std::int64_t dib_pixels_left = std::int64_t{1} << 27;
  std::int64_t text_chars_left = std::int64_t{1} << 20;

  // A DIB from a metafile, or null when it would pass the budget.
  QImage BudgetedDib(Bytes bmi, Bytes bits) {
    std::int64_t w = 0, h = 0;
    if (bmi.size() >= 12 && LoadU32(bmi.data()) == 12) {
      w = LoadU16(bmi.data() + 4);
      h = LoadU16(bmi.data() + 6);
    } else if (bmi.size() >= 12) {
      w = std::abs(static_cast<std::int64_t>(static_cast<std::int32_t>(LoadU32(bmi.data() + 4))));
      h = std::abs(static_cast<std::int64_t>(static_cast<std::int32_t>(LoadU32(bmi.data() + 8))));
    }
    // One too large is refused as damaged; one over what is left is skipped.
    if (w * h <= kMaxDibPixels) {
      if (w * h > dib_pixels_left) return {};
      dib_pixels_left -= w * h;
    }
    return DecodeDib(bmi, bits, kMaxDibPixels);
  }

 private:
  QPainter& p_;
  QRectF target_;
  QPainterPath base_clip_;
  QTransform base_transform_;
  bool base_has_clip_ = false;
};

// ---- EMF ----

class EmfPlayer {
 public:
  EmfPlayer(const EmfFile& f, QPainter& painter, const QRectF& target) : f_(f), g_(painter, target) {
    // Reference-device pixels to 0.01 mm, then the frame onto the target.
    double mm_x = 96 / 25.4, mm_y = 96 / 25.4;
    if (f.device_px[0] > 0 && f.device_mm[0] > 0 && f.device_px[1] > 0 && f.device_mm[1] > 0) {
      mm_x = static_cast<double>(f.device_px[0]) / f.device_mm[0];
      mm_y = static_cast<double>(f.device_px[1]) / f.device_mm[1];
    }
    g_.dev_px_per_mm_x = mm_x;
    g_.dev_px_per_mm_y = mm_y;
    double fl = f.frame[0], ft = f.frame[1];
    double fw = static_cast<double>(f.frame[2]) - f.frame[0];
    double fh = static_cast<double>(f.frame[3]) - f.frame[1];
    QTransform to_frame = QTransform::fromScale(100 / mm_x, 100 / mm_y);
    if (!(fw > 0 && fh > 0)) {
      // No frame: the bounds in device pixels stand in.
      to_frame = QTransform();
      fl = f.bounds[0];
      ft = f.bounds[1];
      fw = static_cast<double>(f.bounds[2]) - f.bounds[0] + 1;
      fh = static_cast<double>(f.bounds[3]) - f.bounds[1] + 1;
    }
    if (!(fw > 0 && fh > 0)) fw = fh = 1;
    g_.device_to_display = to_frame * QTransform::fromTranslate(-fl, -ft) *
                           QTransform::fromScale(target.width() / fw, target.height() / fh) *
                           QTransform::fromTranslate(target.left(), target.top());
  }

  void Play() {
    for (const MetaRecord& rec : f_.records) Record(rec);
  }

 private:
  [[noreturn]] void Bad(const MetaRecord& rec) const {
    throw EngineError("ｴﾝﾊﾝｽ ﾒﾀﾌｧｲﾙのﾚｺｰﾄﾞ (種類 " + std::to_string(rec.type) + ") が壊れています");
  }
  ByteReader Reader(const MetaRecord& rec) const {
    return ByteReader(rec.params, "ｴﾝﾊﾝｽ ﾒﾀﾌｧｲﾙのﾚｺｰﾄﾞ (種類 " + std::to_string(rec.type) + ") が壊れています");
  }
  static QPointF Pt32(ByteReader& r) {
    const double x = r.I32();
    return {x, static_cast<double>(r.I32())};
  }
  static QPointF Pt16(ByteReader& r) {
    const double x = r.I16();
    return {x, static_cast<double>(r.I16())};
  }
  static QRectF Rect32(ByteReader& r) {
    const double l = r.I32(), t = r.I32(), rr = r.I32(), b = r.I32();
    return Gdi::Box(l, t, rr, b);
  }
  std::vector<QPointF> Points(ByteReader& r, std::uint32_t count, bool small, const MetaRecord& rec) {
    if (count > kMaxPoints || !r.Has(std::size_t{count} * (small ? 4 : 8))) Bad(rec);
    std::vector<QPointF> pts;
    pts.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) pts.push_back(small ? Pt16(r) : Pt32(r));
    return pts;
  }
  // A sub-range of the record given as offsets from the record's start (type and size
  // included, which the params do not hold).
  Bytes Sub(const MetaRecord& rec, std::uint32_t off, std::uint32_t size) const {
    if (size == 0) return {};
    if (off < 8 || off - 8 > rec.params.size() || size > rec.params.size() - (off - 8)) Bad(rec);
    return rec.params.subspan(off - 8, size);
  }
  QImage Dib(const MetaRecord& rec, std::uint32_t off_bmi, std::uint32_t cb_bmi, std::uint32_t off_bits,
             std::uint32_t cb_bits) {
    const Bytes bmi = Sub(rec, off_bmi, cb_bmi);
    const Bytes bits = Sub(rec, off_bits, cb_bits);
    if (bmi.empty() || bits.empty()) return {};
    return g_.BudgetedDib(bmi, bits);
  }
  GdiObject& NewObject(std::uint32_t index) {
    GdiObject& o = objects_[index];
    o = GdiObject{};
    return o;
  }
  void Region(ByteReader& r, std::uint32_t size, const MetaRecord& rec, QPainterPath* out) {
    // RGNDATAHEADER then rectangles in device units.
    if (size < 32 || !r.Has(size)) Bad(rec);
    const std::size_t start = r.Pos();
    r.Skip(8);
    const std::uint32_t count = r.U32();
    r.Skip(4 + 16);
    if (std::size_t{count} * 16 > size - 32) Bad(rec);
    QPainterPath p;
    for (std::uint32_t i = 0; i < count; ++i) p.addRect(Rect32(r));
    *out = g_.device_to_display.map(p);
    r.Seek(start + size);
  }

  void Record(const MetaRecord& rec) {
    ByteReader r = Reader(rec);
    DcState& dc = g_.dc;
    switch (rec.type) {
      case 1: case 14: case 70: break;  // header, end of file, comment
      case 2: case 3: case 4: case 5: case 6:
      case 85: case 86: case 87: case 88: case 89: {
        const bool small = rec.type >= 85;
        const int kind = small ? static_cast<int>(rec.type) - 83 : static_cast<int>(rec.type);
        r.Skip(16);
        const std::uint32_t count = r.U32();
        const auto pts = Points(r, count, small, rec);
        switch (kind) {
          case 2: g_.Poly(pts, false, true); break;
          case 3: g_.Poly(pts, true, false); break;
          case 4: g_.Poly(pts, false, false); break;
          case 5: g_.PolyTo(pts, true); break;
          case 6: g_.PolyTo(pts, false); break;
        }
        break;
      }
      case 7: case 8: case 90: case 91: {
        const bool small = rec.type >= 90;
        const bool closed = rec.type == 8 || rec.type == 91;
        r.Skip(16);
        const std::uint32_t polys = r.U32();
        const std::uint32_t total = r.U32();
        if (!r.Has(std::size_t{polys} * 4)) Bad(rec);
        std::vector<std::uint32_t> counts(polys);
        std::uint64_t sum = 0;
        for (auto& c : counts) sum += (c = r.U32());
        if (sum != total) Bad(rec);
        const auto pts = Points(r, total, small, rec);
        std::vector<std::vector<QPointF>> list;
        std::size_t at = 0;
        for (std::uint32_t c : counts) {
          list.emplace_back(pts.begin() + static_cast<std::ptrdiff_t>(at),
                            pts.begin() + static_cast<std::ptrdiff_t>(at + c));
          at += c;
        }
        g_.PolyPoly(list, closed);
        break;
      }
      case 9: dc.win_ext = Pt32(r); break;
      case 10: dc.win_org = Pt32(r); break;
      case 11: dc.vp_ext = Pt32(r); break;
      case 12: dc.vp_org = Pt32(r); break;
      case 13: case 16: case 20: case 21: case 23: case 28: break;
      case 15: {
        const QPointF pt = Pt32(r);
        g_.SetPixel(pt, ColorRef(r.U32()));
        break;
      }
      case 17: dc.map_mode = static_cast<int>(r.U32()); break;
      case 18: dc.bk_mode = static_cast<int>(r.U32()); break;
      case 19: dc.fill_rule = r.U32() == 2 ? Qt::WindingFill : Qt::OddEvenFill; break;
      case 22: dc.text_align = static_cast<int>(r.U32()); break;
      case 24: dc.text_color = ColorRef(r.U32()); break;
      case 25: dc.bk_color = ColorRef(r.U32()); break;
      case 26: {
        const QPointF d = Pt32(r);
        if (dc.clip) {
          const QPointF shift = g_.device_to_display.map(d) - g_.device_to_display.map(QPointF(0, 0));
          dc.clip->translate(shift);
        }
        break;
      }
      case 27: g_.MoveTo(Pt32(r)); break;
      case 29: g_.ClipLogicalRect(Rect32(r), true); break;
      case 30: g_.ClipLogicalRect(Rect32(r), false); break;
      case 31: case 32: {
        const double xn = r.I32(), xd = r.I32(), yn = r.I32(), yd = r.I32();
        if (xd == 0 || yd == 0) break;
        QPointF& ext = rec.type == 31 ? dc.vp_ext : dc.win_ext;
        ext = QPointF(ext.x() * xn / xd, ext.y() * yn / yd);
        break;
      }
      case 33: g_.SaveDc(); break;
      case 34: g_.RestoreDc(r.I32()); break;
      case 35: case 36: {
        double m[6];
        for (double& v : m) {
          v = r.F32();
          if (!Finite(v)) return;
        }
        const QTransform x(m[0], m[1], m[2], m[3], m[4], m[5]);
        const std::uint32_t mode = rec.type == 35 ? 4 : r.U32();
        switch (mode) {
          case 1: dc.world = QTransform(); break;
          case 2: dc.world = x * dc.world; break;
          case 3: dc.world = dc.world * x; break;
          case 4: dc.world = x; break;
        }
        break;
      }
      case 37: {
        const std::uint32_t h = r.U32();
        if (h & 0x80000000u) {
          g_.SelectStock(h & 0x7FFFFFFF);
        } else if (auto it = objects_.find(h); it != objects_.end()) {
          g_.Select(it->second);
        }
        break;
      }
      case 38: {
        const std::uint32_t h = r.U32();
        GdiObject& o = NewObject(h);
        o.kind = GdiObject::kPen;
        const std::uint32_t style = r.U32();
        o.pen.style = static_cast<int>(style & 0x0F);
        o.pen.cap = static_cast<int>(style & 0xF00);
        o.pen.join = static_cast<int>(style & 0xF000);
        o.pen.width = r.I32();
        r.I32();
        o.pen.color = ColorRef(r.U32());
        break;
      }
      case 95: {  // ExtCreatePen
        const std::uint32_t h = r.U32();
        r.Skip(16);  // pattern bitmap
        GdiObject& o = NewObject(h);
        o.kind = GdiObject::kPen;
        const std::uint32_t style = r.U32();
        o.pen.style = static_cast<int>(style & 0x0F);
        o.pen.cap = static_cast<int>(style & 0xF00);
        o.pen.join = static_cast<int>(style & 0xF000);
        o.pen.width = r.U32();
        if (!(style & 0x10000)) o.pen.width = 0;  // cosmetic
        const std::uint32_t brush_style = r.U32();
        o.pen.color = ColorRef(r.U32());
        if (brush_style == kBsNull) o.pen.style = kPsNull;
        break;
      }
      case 39: {
        const std::uint32_t h = r.U32();
        GdiObject& o = NewObject(h);
        o.kind = GdiObject::kBrush;
        o.brush.style = static_cast<int>(r.U32());
        o.brush.color = ColorRef(r.U32());
        o.brush.hatch = static_cast<int>(r.U32());
        break;
      }
      case 93: case 94: {  // mono and DIB pattern brushes
        const std::uint32_t h = r.U32();
        r.U32();  // usage
        const std::uint32_t ob = r.U32(), cb = r.U32(), obits = r.U32(), cbits = r.U32();
        QImage pattern = Dib(rec, ob, cb, obits, cbits);
        GdiObject& o = NewObject(h);
        o.kind = GdiObject::kBrush;
        o.brush.style = kBsDibPatternPt;
        o.brush.pattern = std::move(pattern);
        break;
      }
      case 40: objects_.erase(r.U32()); break;
      case 41: {  // AngleArc
        const QPointF c = Pt32(r);
        const double radius = r.U32();
        const double start = r.F32(), sweep = r.F32();
        if (!Finite(start) || !Finite(sweep)) break;
        const double a1 = start * kPi / 180, a2 = (start + sweep) * kPi / 180;
        const QPointF p1(c.x() + radius * std::cos(a1), c.y() - radius * std::sin(a1));
        const QPointF p2(c.x() + radius * std::cos(a2), c.y() - radius * std::sin(a2));
        g_.LineTo(p1);
        QPainterPath l;
        l.moveTo(p1);
        l.arcTo(QRectF(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius), start, sweep);
        g_.Emit(l, false, true);
        dc.pos = p2;
        break;
      }
      case 42: g_.Ellipse(Rect32(r)); break;
      case 43: g_.Rectangle(Rect32(r)); break;
      case 44: {
        const QRectF b = Rect32(r);
        const double w = r.I32(), h = r.I32();
        g_.RoundRect(b, w, h);
        break;
      }
      case 45: case 46: case 47: case 55: {
        const QRectF b = Rect32(r);
        const QPointF s = Pt32(r), e = Pt32(r);
        const int kind = rec.type == 45 ? 0 : rec.type == 46 ? 1 : rec.type == 47 ? 2 : 3;
        g_.ArcFamily(b, s, e, kind);
        break;
      }
      case 54: g_.LineTo(Pt32(r)); break;
      case 56: case 92: {  // PolyDraw
        const bool small = rec.type == 92;
        r.Skip(16);
        const std::uint32_t count = r.U32();
        const auto pts = Points(r, count, small, rec);
        if (!r.Has(count)) Bad(rec);
        const Bytes types = r.Take(count);
        for (std::uint32_t i = 0; i < count; ++i) {
          const int t = types[i] & ~1;
          if (t == 6) {
            g_.MoveTo(pts[i]);
          } else if (t == 4 && i + 2 < count) {
            g_.PolyTo({pts[i], pts[i + 1], pts[i + 2]}, true);
            i += 2;
          } else {
            g_.LineTo(pts[i]);
          }
          if ((types[i] & 1) && g_.path_open) g_.path.closeSubpath();
        }
        break;
      }
      case 57: dc.arc_direction = static_cast<int>(r.U32()); break;
      case 58: break;
      case 59:
        g_.path = QPainterPath();
        g_.path_open = true;
        break;
      case 60: g_.path_open = false; break;
      case 61:
        if (g_.path_open) g_.path.closeSubpath();
        break;
      case 62: g_.path_open = false; g_.FillPath(true, false); break;
      case 63: g_.path_open = false; g_.FillPath(true, true); break;
      case 64: g_.path_open = false; g_.FillPath(false, true); break;
      case 65: case 66: break;
      case 67: {
        const int mode = static_cast<int>(r.U32());
        QPainterPath area = g_.path;
        area.setFillRule(dc.fill_rule);
        g_.Clip(area, mode);
        g_.path = QPainterPath();
        g_.path_open = false;
        break;
      }
      case 68:
        g_.path = QPainterPath();
        g_.path_open = false;
        break;
      case 71: case 74: {  // FillRgn, PaintRgn
        r.Skip(16);
        const std::uint32_t size = r.U32();
        std::optional<GdiBrush> brush;
        if (rec.type == 71) {
          const std::uint32_t h = r.U32();
          if (h & 0x80000000u) {
            DcState keep = dc;
            g_.SelectStock(h & 0x7FFFFFFF);
            brush = dc.brush;
            dc = keep;
          } else if (auto it = objects_.find(h); it != objects_.end() && it->second.kind == GdiObject::kBrush) {
            brush = it->second.brush;
          }
        }
        QPainterPath area;
        Region(r, size, rec, &area);
        const GdiBrush keep = dc.brush;
        if (brush) dc.brush = *brush;
        g_.DrawDisplayPath(area, true, false, g_.Full());
        dc.brush = keep;
        break;
      }
      case 72: case 73: break;  // FrameRgn, InvertRgn
      case 75: {  // ExtSelectClipRgn
        const std::uint32_t size = r.U32();
        const int mode = static_cast<int>(r.U32());
        if (size == 0) {
          if (mode == kRgnCopy) dc.clip.reset();
          break;
        }
        QPainterPath area;
        Region(r, size, rec, &area);
        g_.Clip(area, mode);
        break;
      }
      case 76: case 77: {  // BitBlt, StretchBlt
        r.Skip(16);
        const double xd = r.I32(), yd = r.I32(), cxd = r.I32(), cyd = r.I32();
        const std::uint32_t rop = r.U32();
        const double xs = r.I32(), ys = r.I32();
        r.Skip(24 + 4 + 4);  // source transform, background colour, usage
        const std::uint32_t ob = r.U32(), cb = r.U32(), obits = r.U32(), cbits = r.U32();
        double cxs = cxd, cys = cyd;
        if (rec.type == 77) {
          cxs = r.I32();
          cys = r.I32();
        }
        const QRectF dest(xd, yd, cxd, cyd);
        if (cb == 0) {
          if (rop == kRopBlackness) g_.FillLogicalRect(dest, Qt::black);
          else if (rop == kRopWhiteness) g_.FillLogicalRect(dest, Qt::white);
          else if (rop == kRopPatCopy) g_.FillLogicalRect(dest, g_.MakeBrush());
          break;
        }
        g_.Blit(Dib(rec, ob, cb, obits, cbits), dest, QRectF(xs, ys, cxs, cys));
        break;
      }
      case 80: {  // SetDIBitsToDevice
        r.Skip(16);
        const double xd = r.I32(), yd = r.I32(), xs = r.I32(), ys = r.I32(), cx = r.I32(), cy = r.I32();
        const std::uint32_t ob = r.U32(), cb = r.U32(), obits = r.U32(), cbits = r.U32();
        const QImage img = Dib(rec, ob, cb, obits, cbits);
        g_.Blit(img, QRectF(xd, yd, cx, cy), QRectF(xs, img.height() - ys - cy, cx, cy));
        break;
      }
      case 81: {  // StretchDIBits
        r.Skip(16);
        const double xd = r.I32(), yd = r.I32(), xs = r.I32(), ys = r.I32(), cxs = r.I32(), cys = r.I32();
        const std::uint32_t ob = r.U32(), cb = r.U32(), obits = r.U32(), cbits = r.U32();
        r.U32();  // usage
        r.U32();  // raster operation
        const double cxd = r.I32(), cyd = r.I32();
        const QImage img = Dib(rec, ob, cb, obits, cbits);
        // The source rectangle counts rows from the bottom of a bottom-up DIB.
        g_.Blit(img, QRectF(xd, yd, cxd, cyd), QRectF(xs, img.height() - ys - cys, cxs, cys));
        break;
      }
      case 82: {  // ExtCreateFontIndirectW
        const std::uint32_t h = r.U32();
        GdiObject& o = NewObject(h);
        o.kind = GdiObject::kFont;
        o.font.height = r.I32();
        r.I32();  // width
        o.font.escapement = r.I32();
        r.I32();  // orientation
        o.font.weight = r.I32();
        o.font.italic = r.U8();
        o.font.underline = r.U8();
        o.font.strikeout = r.U8();
        o.font.charset = r.U8();
        r.Skip(4);
        char16_t face[33] = {};
        for (int i = 0; i < 32; ++i) face[i] = r.U16();
        o.font.face = QString::fromUtf16(face);
        break;
      }
      case 83: case 84: {  // ExtTextOutA / W
        r.Skip(16 + 4 + 8);  // bounds, graphics mode, scales
        const QPointF ref = Pt32(r);
        const std::uint32_t chars = r.U32();
        const std::uint32_t off_string = r.U32();
        const int options = static_cast<int>(r.U32());
        const QRectF rect = Rect32(r);
        const std::uint32_t off_dx = r.U32();
        const bool wide = rec.type == 84;
        const std::uint64_t bytes = std::uint64_t{chars} * (wide ? 2 : 1);
        if (bytes > 0xFFFFFFFFu) Bad(rec);
        const Bytes str = Sub(rec, off_string, static_cast<std::uint32_t>(bytes));
        QString text;
        if (wide) {
          std::u16string s(chars, u'\0');
          for (std::uint32_t i = 0; i < chars; ++i) s[i] = LoadU16(str.data() + 2 * i);
          text = QString::fromStdU16String(s);
        } else {
          text = QString::fromLatin1(reinterpret_cast<const char*>(str.data()), static_cast<qsizetype>(str.size()));
        }
        std::vector<double> dx;
        if (off_dx != 0 && chars > 0) {
          const Bytes adv = Sub(rec, off_dx, chars * 4);
          for (std::uint32_t i = 0; i < chars; ++i) dx.push_back(static_cast<std::int32_t>(LoadU32(adv.data() + 4 * i)));
        }
        std::optional<QRectF> clip_rect;
        if (options & (kEtoOpaque | kEtoClipped)) clip_rect = rect;
        g_.Text(ref, text, dx, options, clip_rect);
        break;
      }
      default:
        break;  // records that do not change the picture
    }
  }

  const EmfFile& f_;
  Gdi g_;
  std::map<std::uint32_t, GdiObject> objects_;
};

// ---- WMF ----

QString DecodeAnsi(Bytes s, int charset) {
  const char* data = reinterpret_cast<const char*>(s.data());
  qsizetype n = static_cast<qsizetype>(s.size());
  if (charset == 128) {  // SHIFTJIS_CHARSET
    QStringDecoder dec("Shift_JIS");
    if (dec.isValid()) {
      QString out = dec.decode(QByteArrayView(data, n));
      if (!dec.hasError()) return out;
    }
  }
  return QString::fromLatin1(data, n);
}

class WmfPlayer {
 public:
  WmfPlayer(const WmfFile& f, QPainter& painter, const QRectF& target) : f_(f), g_(painter, target) {
    objects_.resize(f.objects);
    for (std::uint16_t i = 0; i < f.objects; ++i) free_.insert(free_.end(), i);
    // The window is the placeable header's box until the file sets its own; it is mapped
    // onto the target.
    g_.dc.map_mode = kMmAnisotropic;
    if (f.placeable) {
      g_.dc.win_org = QPointF(f.bbox[0], f.bbox[1]);
      g_.dc.win_ext = QPointF(static_cast<double>(f.bbox[2]) - f.bbox[0], static_cast<double>(f.bbox[3]) - f.bbox[1]);
    } else {
      g_.dc.win_ext = QPointF(std::max(1.0, target.width()), std::max(1.0, target.height()));
    }
    if (g_.dc.win_ext.x() == 0) g_.dc.win_ext.setX(1);
    if (g_.dc.win_ext.y() == 0) g_.dc.win_ext.setY(1);
    UpdateViewport();
  }

  void Play() {
    for (const MetaRecord& rec : f_.records) Record(rec);
  }

 private:
  void UpdateViewport() {
    g_.dc.vp_org = QPointF(0, 0);
    g_.dc.vp_ext = QPointF(g_.Target().width(), g_.Target().height());
    g_.device_to_display = QTransform::fromTranslate(g_.Target().left(), g_.Target().top());
  }
  [[noreturn]] void Bad(const MetaRecord& rec) const {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", rec.type);
    throw EngineError(std::string("ﾒﾀﾌｧｲﾙのﾚｺｰﾄﾞ (関数 0x") + buf + ") が壊れています");
  }
  ByteReader Reader(const MetaRecord& rec) const {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", rec.type);
    return ByteReader(rec.params, std::string("ﾒﾀﾌｧｲﾙのﾚｺｰﾄﾞ (関数 0x") + buf + ") が壊れています");
  }
  // Parameters are stored last first: y before x, bottom-right before top-left.
  static QPointF PtYX(ByteReader& r) {
    const double y = r.I16();
    return {static_cast<double>(r.I16()), y};
  }
  static QRectF RectBRTL(ByteReader& r) {
    const double b = r.I16(), rr = r.I16(), t = r.I16(), l = r.I16();
    return Gdi::Box(l, t, rr, b);
  }
  std::vector<QPointF> Points(ByteReader& r, std::size_t count, const MetaRecord& rec) {
    if (!r.Has(count * 4)) Bad(rec);
    std::vector<QPointF> pts;
    pts.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      const double x = r.I16();
      pts.emplace_back(x, static_cast<double>(r.I16()));
    }
    return pts;
  }
  // A new object takes the lowest free slot; with the table full it is lost, as the
  // system would fail to create it.
  void Add(GdiObject o) {
    if (free_.empty()) return;
    objects_[*free_.begin()] = std::move(o);
    free_.erase(free_.begin());
  }
  // `from_bottom`: the source rectangle counts rows from the bottom of the DIB.
  void Blit(ByteReader& r, double dx, double dy, double dw, double dh, double sx, double sy, double sw,
            double sh, bool from_bottom) {
    const Bytes dib = r.Take(r.Remaining());
    const QImage img = g_.BudgetedDib(dib, {});
    if (from_bottom) sy = img.height() - sy - sh;
    g_.Blit(img, QRectF(dx, dy, dw, dh), QRectF(sx, sy, sw, sh));
  }

  void Record(const MetaRecord& rec) {
    ByteReader r = Reader(rec);
    DcState& dc = g_.dc;
    switch (rec.type) {
      case 0x0201: dc.bk_color = ColorRef(r.U32()); break;
      case 0x0102: dc.bk_mode = r.U16(); break;
      case 0x0103: break;  // the window always maps onto the target
      case 0x0106: dc.fill_rule = r.U16() == 2 ? Qt::WindingFill : Qt::OddEvenFill; break;
      case 0x0209: dc.text_color = ColorRef(r.U32()); break;
      case 0x012E: dc.text_align = r.U16(); break;
      case 0x020B: dc.win_org = PtYX(r); break;
      case 0x020C: {
        const QPointF e = PtYX(r);
        if (e.x() != 0 && e.y() != 0) dc.win_ext = e;
        break;
      }
      case 0x020F: dc.win_org += PtYX(r); break;
      case 0x0410: {
        const double yd = r.I16(), yn = r.I16(), xd = r.I16(), xn = r.I16();
        if (xd != 0 && yd != 0 && xn != 0 && yn != 0) dc.win_ext = QPointF(dc.win_ext.x() * xn / xd, dc.win_ext.y() * yn / yd);
        break;
      }
      case 0x020D: case 0x020E: case 0x0211: case 0x0412: break;  // the viewport is the target
      case 0x0213: g_.LineTo(PtYX(r)); break;
      case 0x0214: g_.MoveTo(PtYX(r)); break;
      case 0x0415: g_.ClipLogicalRect(RectBRTL(r), true); break;
      case 0x0416: g_.ClipLogicalRect(RectBRTL(r), false); break;
      case 0x0220: {
        const QPointF d = PtYX(r);
        if (dc.clip) {
          const QTransform t = g_.Full();
          dc.clip->translate(t.map(d) - t.map(QPointF(0, 0)));
        }
        break;
      }
      case 0x0817: case 0x0830: case 0x081A: {
        const QPointF end = PtYX(r), start = PtYX(r);
        const QRectF box = RectBRTL(r);
        g_.ArcFamily(box, start, end, rec.type == 0x0817 ? 0 : rec.type == 0x0830 ? 1 : 2);
        break;
      }
      case 0x0418: g_.Ellipse(RectBRTL(r)); break;
      case 0x041B: g_.Rectangle(RectBRTL(r)); break;
      case 0x061C: {
        const double h = r.I16(), w = r.I16();
        g_.RoundRect(RectBRTL(r), w, h);
        break;
      }
      case 0x061D: {  // PatBlt
        const std::uint32_t rop = r.U32();
        const double h = r.I16(), w = r.I16(), y = r.I16(), x = r.I16();
        const QRectF box(x, y, w, h);
        if (rop == kRopBlackness) g_.FillLogicalRect(box, Qt::black);
        else if (rop == kRopWhiteness) g_.FillLogicalRect(box, Qt::white);
        else g_.FillLogicalRect(box, g_.MakeBrush());
        break;
      }
      case 0x001E: g_.SaveDc(); break;
      case 0x0127: g_.RestoreDc(r.I16()); break;
      case 0x041F: {
        const std::uint32_t c = r.U32();
        g_.SetPixel(PtYX(r), ColorRef(c));
        break;
      }
      case 0x0521: {  // TextOut
        const std::uint16_t n = r.U16();
        const Bytes s = r.Take(n);
        if (n & 1) r.Skip(1);
        const QPointF at = PtYX(r);
        g_.Text(at, DecodeAnsi(s, dc.font.charset), {}, 0, std::nullopt);
        break;
      }
      case 0x0A32: {  // ExtTextOut
        const QPointF at = PtYX(r);
        const std::uint16_t n = r.U16();
        const int options = r.U16();
        std::optional<QRectF> rect;
        if (options & (kEtoOpaque | kEtoClipped)) {
          const double l = r.I16(), t = r.I16(), rr = r.I16(), b = r.I16();
          rect = Gdi::Box(l, t, rr, b);
        }
        const Bytes s = r.Take(n);
        if ((n & 1) && r.Remaining() > 0) r.Skip(1);
        std::vector<double> dx;
        if (r.Remaining() >= std::size_t{n} * 2) {
          for (int i = 0; i < n; ++i) dx.push_back(r.I16());
        }
        const QString text = DecodeAnsi(s, dc.font.charset);
        // Advances are per byte; with multi-byte characters they no longer line up.
        if (text.size() != n) dx.clear();
        g_.Text(at, text, dx, options, rect);
        break;
      }
      case 0x0324: case 0x0325: {
        const std::uint16_t n = r.U16();
        g_.Poly(Points(r, n, rec), rec.type == 0x0324, false);
        break;
      }
      case 0x0538: {  // PolyPolygon
        const std::uint16_t polys = r.U16();
        if (!r.Has(std::size_t{polys} * 2)) Bad(rec);
        std::vector<std::uint16_t> counts(polys);
        for (auto& c : counts) c = r.U16();
        std::vector<std::vector<QPointF>> list;
        for (std::uint16_t c : counts) list.push_back(Points(r, c, rec));
        g_.PolyPoly(list, true);
        break;
      }
      case 0x012D: {
        const std::uint16_t i = r.U16();
        if (i < objects_.size() && objects_[i]) g_.Select(*objects_[i]);
        break;
      }
      case 0x01F0: {
        const std::uint16_t i = r.U16();
        if (i < objects_.size() && objects_[i]) {
          objects_[i].reset();
          free_.insert(i);
        }
        break;
      }
      case 0x02FA: {  // CreatePenIndirect
        GdiObject o;
        o.kind = GdiObject::kPen;
        const std::uint16_t style = r.U16();
        o.pen.style = style & 0x0F;
        o.pen.cap = style & 0xF00;
        o.pen.join = style & 0xF000;
        o.pen.width = r.I16();
        r.I16();
        o.pen.color = ColorRef(r.U32());
        Add(std::move(o));
        break;
      }
      case 0x02FC: {  // CreateBrushIndirect
        GdiObject o;
        o.kind = GdiObject::kBrush;
        o.brush.style = r.U16();
        o.brush.color = ColorRef(r.U32());
        o.brush.hatch = r.U16();
        Add(std::move(o));
        break;
      }
      case 0x0142: {  // DIBCreatePatternBrush
        GdiObject o;
        o.kind = GdiObject::kBrush;
        o.brush.style = kBsDibPatternPt;
        r.U16();  // style
        r.U16();  // usage
        const Bytes dib = r.Take(r.Remaining());
        o.brush.pattern = g_.BudgetedDib(dib, {});
        Add(std::move(o));
        break;
      }
      case 0x02FB: {  // CreateFontIndirect
        GdiObject o;
        o.kind = GdiObject::kFont;
        o.font.height = r.I16();
        r.I16();
        o.font.escapement = r.I16();
        r.I16();
        o.font.weight = r.I16();
        o.font.italic = r.U8();
        o.font.underline = r.U8();
        o.font.strikeout = r.U8();
        o.font.charset = r.U8();
        r.Skip(4);
        const Bytes face = r.Take(std::min<std::size_t>(32, r.Remaining()));
        std::size_t len = 0;
        while (len < face.size() && face[len] != 0) ++len;
        o.font.face = DecodeAnsi(face.first(len), o.font.charset);
        Add(std::move(o));
        break;
      }
      case 0x00F7: case 0x01F9: case 0x06FF: Add(GdiObject{}); break;  // palette, pattern, region
      case 0x012C: dc.clip.reset(); break;  // SelectClipRegion: regions are kept empty
      case 0x0B41: {  // DIBStretchBlt
        r.U32();
        const double sh = r.I16(), sw = r.I16(), sy = r.I16(), sx = r.I16();
        if (r.Remaining() <= 10) break;  // the form without a bitmap
        const double dh = r.I16(), dw = r.I16(), dy = r.I16(), dx = r.I16();
        Blit(r, dx, dy, dw, dh, sx, sy, sw, sh, false);
        break;
      }
      case 0x0940: {  // DIBBitBlt
        r.U32();
        const double sy = r.I16(), sx = r.I16();
        if (r.Remaining() <= 10) break;
        const double h = r.I16(), w = r.I16(), dy = r.I16(), dx = r.I16();
        Blit(r, dx, dy, w, h, sx, sy, w, h, false);
        break;
      }
      case 0x0F43: {  // StretchDIB
        r.U32();
        r.U16();
        const double sh = r.I16(), sw = r.I16(), sy = r.I16(), sx = r.I16();
        const double dh = r.I16(), dw = r.I16(), dy = r.I16(), dx = r.I16();
        Blit(r, dx, dy, dw, dh, sx, sy, sw, sh, true);
        break;
      }
      default:
        break;  // records that do not change the picture
    }
  }

  const WmfFile& f_;
  Gdi g_;
  std::vector<std::optional<GdiObject>> objects_;
  std::set<std::uint16_t> free_;
};

}  // namespace

void PlayEmf(const EmfFile& file, QPainter& painter, const QRectF& target) {
  EmfPlayer player(file, painter, target);
  player.Play();
}

void PlayWmf(const WmfFile& file, QPainter& painter, const QRectF& target) {
  WmfPlayer player(file, painter, target);
  player.Play();
}

}  // namespace rv
