#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "canvas.h"

#include <sys/mman.h>

namespace rv {

namespace {

void CheckSize(int width, int height) {
  if (width < 0 || height < 0 || width > TBitmap::kMaxSide || height > TBitmap::kMaxSide ||
      static_cast<std::int64_t>(width) * height > TBitmap::kMaxPixels) {
    throw EngineError("ﾋﾞｯﾄﾏｯﾌﾟの大きさが大きすぎます (" + std::to_string(width) + " × " +
                      std::to_string(height) + ")");
  }
}

// Pixels for a bitmap of a size already checked; running out of memory is reported like any
// other failure instead of escaping as an allocation exception.
std::vector<std::uint32_t, PixelAllocator> Allocate(std::size_t count, std::uint32_t fill) {
  try {
    return std::vector<std::uint32_t, PixelAllocator>(count, fill);
  } catch (const std::bad_alloc&) {
    throw EngineError("ﾒﾓﾘが不足しています");
  }
}

constexpr std::size_t kHugePage = std::size_t{2} << 20;

}  // namespace

std::uint32_t* PixelAllocator::allocate(std::size_t n) {
  const std::size_t bytes = n * sizeof(std::uint32_t);
  if (bytes < 4 * kHugePage) return static_cast<std::uint32_t*>(::operator new(bytes));
  const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void* p = std::aligned_alloc(kHugePage, rounded);
  if (p == nullptr) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
  madvise(p, rounded, MADV_HUGEPAGE);  // advice only; nothing to do if it is declined
#endif
  return static_cast<std::uint32_t*>(p);
}

void PixelAllocator::deallocate(std::uint32_t* p, std::size_t n) {
  if (n * sizeof(std::uint32_t) < 4 * kHugePage) {
    ::operator delete(p);
  } else {
    std::free(p);
  }
}

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TColor fill) {
  CheckSize(width, height);
  width_ = width;
  height_ = height;
  pixels_ = Allocate(static_cast<std::size_t>(width) * height, ColorToPixel(fill));
}

void TBitmap::SetSize(int width, int height) {
  // A negative size means no pixels, as with a zero one.
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  CheckSize(width, height);
  std::vector<std::uint32_t, PixelAllocator> next =
      Allocate(static_cast<std::size_t>(width) * height, ColorToPixel(canvas_.Brush.Color));
  const int copy_w = std::min(width, width_);
  const int copy_h = std::min(height, height_);
  for (int y = 0; y < copy_h; ++y) {
    std::memcpy(next.data() + static_cast<std::size_t>(y) * width, ScanLine(y),
                static_cast<std::size_t>(copy_w) * 4);
  }
  pixels_.swap(next);
  width_ = width;
  height_ = height;
  canvas_.dirty_ = canvas_.dirty_.United(TRect{0, 0, width, height});
}

void TBitmap::Assign(const TBitmap& other) {
  if (&other == this) return;
  try {
    pixels_ = other.pixels_;
  } catch (const std::bad_alloc&) {
    throw EngineError("ﾒﾓﾘが不足しています");
  }
  width_ = other.width_;
  height_ = other.height_;
  canvas_.dirty_ = canvas_.dirty_.United(TRect{0, 0, width_, height_});
}

std::unique_ptr<TBitmap> TBitmap::Clone() const {
  auto copy = std::make_unique<TBitmap>();
  copy->Assign(*this);
  copy->canvas_.dirty_ = {};
  return copy;
}

}  // namespace rv
