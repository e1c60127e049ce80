#include "documents/metafile.h"

#include <algorithm>
#include <cmath>

#include "documents/metafile_player.h"
#include "drawing/canvas.h"

namespace rv {

namespace {

constexpr std::uint16_t kWmfSetWindowExt = 0x020C;

int ClampSide(double v) {
  if (!(v > 0)) return 0;
  return static_cast<int>(std::min<double>(std::lround(std::min(v, 1e9)), TBitmap::kMaxSide));
}

}  // namespace

std::unique_ptr<MetafileGraphic> MetafileGraphic::Decode(const QByteArray& file) {
  std::unique_ptr<MetafileGraphic> g(new MetafileGraphic());
  g->bytes_ = file;
  const Bytes data = AsBytes(g->bytes_.constData(), static_cast<std::size_t>(g->bytes_.size()));
  if (LooksLikeEmf(data)) {
    g->format_ = MetafileFormat::Emf;
    auto emf = std::make_shared<EmfFile>(ParseEmf(data));
    // The frame is in 0.01 mm; the screen has 96 pixels per inch.
    const double fw = static_cast<double>(emf->frame[2]) - emf->frame[0];
    const double fh = static_cast<double>(emf->frame[3]) - emf->frame[1];
    if (fw > 0 && fh > 0) {
      g->width_ = ClampSide(fw * 96.0 / 2540.0);
      g->height_ = ClampSide(fh * 96.0 / 2540.0);
    } else {
      g->width_ = ClampSide(static_cast<double>(emf->bounds[2]) - emf->bounds[0] + 1);
      g->height_ = ClampSide(static_cast<double>(emf->bounds[3]) - emf->bounds[1] + 1);
    }
    g->emf_ = std::move(emf);
  } else {
    g->format_ = MetafileFormat::Wmf;
    auto wmf = std::make_shared<WmfFile>(ParseWmf(data));
    if (wmf->placeable) {
      const double inch = wmf->units_per_inch ? wmf->units_per_inch : 1440;
      g->width_ = ClampSide(std::abs(static_cast<double>(wmf->bbox[2]) - wmf->bbox[0]) * 96.0 / inch);
      g->height_ = ClampSide(std::abs(static_cast<double>(wmf->bbox[3]) - wmf->bbox[1]) * 96.0 / inch);
    } else {
      // Without the placeable header the size is the window extent the file sets first.
      g->width_ = g->height_ = 256;
      for (const MetaRecord& rec : wmf->records) {
        if (rec.type == kWmfSetWindowExt && rec.params.size() >= 4) {
          g->height_ = ClampSide(std::abs(static_cast<std::int16_t>(LoadU16(rec.params.data()))));
          g->width_ = ClampSide(std::abs(static_cast<std::int16_t>(LoadU16(rec.params.data() + 2))));
          break;
        }
      }
    }
    g->wmf_ = std::move(wmf);
  }
  // Play every record once on a tiny image, so a damaged record fails the reading.
  QImage probe(1, 1, QImage::Format_RGB32);
  QPainter p(&probe);
  g->Play(p, QRectF(0, 0, std::max(g->width_, 1), std::max(g->height_, 1)));
  return g;
}

void MetafileGraphic::SetSize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
}

std::unique_ptr<ForeignGraphic> MetafileGraphic::Clone() const {
  return std::unique_ptr<MetafileGraphic>(new MetafileGraphic(*this));
}

void MetafileGraphic::Play(QPainter& painter, const QRectF& target) const {
  if (emf_) {
    PlayEmf(*emf_, painter, target);
  } else if (wmf_) {
    PlayWmf(*wmf_, painter, target);
  }
}

void MetafileGraphic::Paint(QPainter& painter, QPoint topLeft) const {
  if (width_ <= 0 || height_ <= 0) return;
  const QRectF target(topLeft, QSizeF(width_, height_));
  painter.save();
  painter.setClipRect(target, Qt::IntersectClip);
  try {
    Play(painter, target);
  } catch (const EngineError&) {
    // Checked when the file was read; nothing more to show.
  }
  painter.restore();
}

QImage MetafileGraphic::Render() const {
  if (static_cast<std::int64_t>(width_) * height_ > TBitmap::kMaxPixels) {
    throw EngineError("ﾒﾀﾌｧｲﾙの表示の大きさ (" + std::to_string(width_) + " × " +
                      std::to_string(height_) + ") が大きすぎます");
  }
  QImage out(std::max(width_, 1), std::max(height_, 1), QImage::Format_RGB32);
  out.fill(Qt::white);
  QPainter p(&out);
  Paint(p, QPoint(0, 0));
  return out;
}

}  // namespace rv
