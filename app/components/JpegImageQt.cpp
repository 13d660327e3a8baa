#include "JpegImage.h"

QImage decodeJpeg(const QByteArray& data) {
  return QImage::fromData(data, "JPEG").convertToFormat(QImage::Format_RGB888);
}
