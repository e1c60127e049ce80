#include "documents/picture_io.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <vector>

#include "documents/bmp_codec.h"
#include "documents/graphics.h"
#include "documents/ico_codec.h"
#include "documents/metafile.h"


namespace rv {

namespace {

// Icons and metafiles are kept whole in memory; larger ones are not real pictures.
constexpr qint64 kMaxForeignFile = qint64{256} << 20;
// The largest BMP a bitmap can hold, with room for headers and a palette.
constexpr qint64 kMaxBmpFile = TBitmap::kMaxPixels * 4 + (qint64{1} << 20);

std::string FileErrorText(const QString& path) {
  return ("\"" + QFileInfo(path).fileName() + "\"").toStdString();
}

// A new BMP file written in place of `path`, a few rows at a time through one small buffer:
// no copy of the whole picture is ever held.
void WriteBmpAtomically(const QString& path, const TBitmap& bmp) {
  EncodedBmpSize(bmp);  // refuses a picture too large for the format before anything is written
  QSaveFile file(path);
  const auto fail = [&](const QString& why) {
    file.cancelWriting();
    throw EngineError("ﾌｧｲﾙ " + FileErrorText(path) + " に書き込めません (" + why.toStdString() + ")");
  };
  if (!file.open(QIODevice::WriteOnly)) fail(file.errorString());
  const std::int64_t row_bytes = EncodedBmpRowBytes(bmp);
  const int rows_per_chunk = static_cast<int>(std::max<std::int64_t>(1, (256 << 10) / std::max<std::int64_t>(row_bytes, 1)));
  std::vector<std::uint8_t> chunk(static_cast<std::size_t>(std::max<std::int64_t>(kBmpHeaderBytes, row_bytes * rows_per_chunk)));
  EncodeBmpHeader(bmp, chunk.data());
  if (file.write(reinterpret_cast<const char*>(chunk.data()), kBmpHeaderBytes) != kBmpHeaderBytes) fail(file.errorString());
  for (int y = 0; y < bmp.Height(); y += rows_per_chunk) {
    const int n = std::min(rows_per_chunk, bmp.Height() - y);
    for (int k = 0; k < n; ++k) EncodeBmpRow(bmp, y + k, chunk.data() + row_bytes * k);
    const qint64 bytes = row_bytes * n;
    if (file.write(reinterpret_cast<const char*>(chunk.data()), bytes) != bytes) fail(file.errorString());
  }
  if (!file.commit()) fail(file.errorString());
}

}  // namespace

QByteArray ReadFileBytes(const QString& path, qint64 max_size) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw EngineError("ﾌｧｲﾙ " + FileErrorText(path) + " を開けません (" +
                      file.errorString().toStdString() + ")");
  }
  if (file.size() > max_size) {
    throw EngineError("ﾌｧｲﾙ " + FileErrorText(path) + " が大きすぎます");
  }
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    throw EngineError("ﾌｧｲﾙ " + FileErrorText(path) + " を読めません (" +
                      file.errorString().toStdString() + ")");
  }
  return bytes;
}

void LoadPictureFile(Picture& picture, const QString& path) {
  const QFileInfo info(path);
  const QString suffix = info.suffix();
  const QString ext = suffix.toLower();
  // A folder or a pipe under a picture's name: opening a pipe would wait for a writer.
  if ((ext == "bmp" || ext == "ico" || ext == "emf" || ext == "wmf") && info.exists() && !info.isFile()) {
    throw EngineError("\"" + info.fileName().toStdString() + "\" は画像ﾌｧｲﾙではありません");
  }
  if (ext == "bmp") {
    // Read, not mapped: a file cut short by another program while it is being decoded
    // must give a message, not bring the program down.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
      throw EngineError("ﾌｧｲﾙ " + FileErrorText(path) + " を開けません (" +
                        file.errorString().toStdString() + ")");
    }
    if (file.size() > kMaxBmpFile) throw EngineError("ﾌｧｲﾙ " + FileErrorText(path) + " が大きすぎます");
    picture.SetBitmap(DecodeBmpFrom(file.size(), [&](std::int64_t offset, std::int64_t length, std::uint8_t* dst) {
      return file.seek(offset) && file.read(reinterpret_cast<char*>(dst), length) == length;
    }));
  } else if (ext == "ico") {
    picture.SetForeign(IconGraphic::Decode(ReadFileBytes(path, kMaxForeignFile)));
  } else if (ext == "emf" || ext == "wmf") {
    picture.SetForeign(MetafileGraphic::Decode(ReadFileBytes(path, kMaxForeignFile)));
  } else {
    throw EngineError("拡張子 ." + suffix.toStdString() + " の画像形式は処理できません");
  }
}

void WriteFileAtomically(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    throw EngineError("ﾌｧｲﾙ " + FileErrorText(path) + " に書き込めません (" +
                      file.errorString().toStdString() + ")");
  }
  if (file.write(bytes) != bytes.size() || !file.commit()) {
    const std::string why = file.errorString().toStdString();
    file.cancelWriting();
    throw EngineError("ﾌｧｲﾙ " + FileErrorText(path) + " に書き込めません (" + why + ")");
  }
}

bool SavePictureFile(const Picture& picture, const QString& path) {
  if (const TBitmap* bmp = picture.Bitmap()) {
    // A BMP file cannot hold a picture without rows or columns; writing one would leave a
    // file that no reader, ours included, opens again.
    if (bmp->Width() == 0 || bmp->Height() == 0) {
      throw EngineError("幅または高さが 0 の図は保存できません (" + std::to_string(bmp->Width()) +
                        " × " + std::to_string(bmp->Height()) + ")");
    }
    WriteBmpAtomically(path, *bmp);
    return true;
  }
  if (const auto* g = dynamic_cast<const DisplayableGraphic*>(picture.Foreign())) {
    WriteFileAtomically(path, g->FileBytes());
    return true;
  }
  return false;
}

}  // namespace rv
