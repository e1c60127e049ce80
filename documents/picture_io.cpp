#include "documents/picture_io.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
  const QString suffix = QFileInfo(path).suffix();
  const QString ext = suffix.toLower();
  if (ext == "bmp") {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
      throw EngineError("ﾌｧｲﾙ " + FileErrorText(path) + " を開けません (" +
                        file.errorString().toStdString() + ")");
    }
    if (file.size() > kMaxBmpFile) {
      throw EngineError("ﾌｧｲﾙ " + FileErrorText(path) + " が大きすぎます");
    }
    // Mapped when the system allows it: no copy of a large file.
    if (file.size() > 0) {
      if (uchar* mapped = file.map(0, file.size())) {
        auto bmp = DecodeBmp(Bytes(mapped, static_cast<std::size_t>(file.size())));
        file.unmap(mapped);
        picture.SetBitmap(std::move(bmp));
        return;
      }
    }
    file.close();
    const QByteArray bytes = ReadFileBytes(path, kMaxBmpFile);
    picture.SetBitmap(DecodeBmp(AsBytes(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
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
    WriteFileAtomically(path, EncodeBmp(*bmp));
    return true;
  }
  if (const auto* g = dynamic_cast<const DisplayableGraphic*>(picture.Foreign())) {
    WriteFileAtomically(path, g->FileBytes());
    return true;
  }
  return false;
}

}  // namespace rv
