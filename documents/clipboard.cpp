#include "documents/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include "documents/metafile.h"

namespace rv {

std::unique_ptr<QMimeData> PictureMimeData(const Picture& picture) {
  if (const TBitmap* bmp = picture.Bitmap()) {
    auto data = std::make_unique<QMimeData>();
    const QImage image(reinterpret_cast<const uchar*>(bmp->Bits()), bmp->Width(), bmp->Height(),
                       bmp->BytesPerLine(), QImage::Format_RGB32);
    data->setImageData(image.copy());
    return data;
  }
  switch (picture.Kind()) {
    case GraphicKind::Icon:
      throw EngineError("ｱｲｺﾝはｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰできません");
    case GraphicKind::Metafile: {
      const auto* m = dynamic_cast<const MetafileGraphic*>(picture.Foreign());
      if (!m) return nullptr;
      auto data = std::make_unique<QMimeData>();
      data->setImageData(m->Render());
      const bool emf = m->Format() == MetafileFormat::Emf;
      data->setData(emf ? "image/emf" : "image/wmf", m->FileBytes());
      data->setData(emf ? "image/x-emf" : "image/x-wmf", m->FileBytes());
      return data;
    }
    default:
      return nullptr;
  }
}

void CopyPictureToClipboard(const Picture& picture) {
  // Built before the clipboard is touched, so a refused icon leaves it as it was.
  std::unique_ptr<QMimeData> data = PictureMimeData(picture);
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  if (data) clipboard->setMimeData(data.release());
}

}  // namespace rv
