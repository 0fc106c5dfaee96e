#include "media/qt/qt_convert.h"

#include <cstring>

namespace media {

BitmapRows RowsOf(const QImage& image) {
  int bits = 0;
  // 32-bit pixels are 0xAARRGGBB words: B, G, R, A in memory on a little-endian machine.
  const bool bgrx = Q_BYTE_ORDER == Q_LITTLE_ENDIAN;
  if (bgrx && (image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32)) bits = 32;
  if (image.format() == QImage::Format_BGR888) bits = 24;
  return {image.width(), image.height(), bits, [&image](int y) { return image.constScanLine(y); }};
}

Bitmap BitmapFromImage(const QImage& image) {
  const QImage bgr = image.convertToFormat(QImage::Format_BGR888);
  Bitmap bitmap(bgr.width(), bgr.height());
  for (int y = 0; y < bitmap.Height(); ++y)
    std::memcpy(bitmap.Row(y), bgr.constScanLine(y), std::size_t(bitmap.Width()) * 3);
  return bitmap;
}

QImage ImageOf(const PackedDIB& dib) {
  const bool indexed = dib.BitCount() == 8;
  const QImage::Format format = indexed ? QImage::Format_Indexed8 : QImage::Format_BGR888;
  // Rows in the order they are stored; a bottom-up DIB is turned over afterwards.
  QImage image(dib.Bits(), dib.Width(), dib.Height(), dib.RowSize(), format);
  if (indexed) {
    QList<QRgb> table(256);
    for (int i = 0; i < 256; ++i) table[i] = qRgb(dib.Color(i).Red, dib.Color(i).Green, dib.Color(i).Blue);
    image.setColorTable(table);
  }
  return dib.BottomUp() ? image.mirrored(false, true) : image;
}

}  // namespace media
