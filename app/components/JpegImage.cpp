#include "JpegImage.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

// libjpeg reports a fatal error by calling `error_exit`, which must not
// return; this one jumps back to the decoder, which gives up cleanly.
struct ErrorManager {
  jpeg_error_mgr manager;
  std::jmp_buf recovery;
};

[[noreturn]] void leaveDecoder(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->recovery, 1);
}

// Warnings about a damaged picture are not worth a word on the console.
void ignoreMessage(j_common_ptr) {}

// Decodes `data` into `image`, which lives in the caller's frame: between
// setjmp and a jump back to it only libjpeg's own frames run and every local
// here is plain data, so the jump skips no destructor.
bool readJpeg(const QByteArray& data, QImage& image) {
  jpeg_decompress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = leaveDecoder;
  errors.manager.output_message = ignoreMessage;
  if (setjmp(errors.recovery) != 0) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()),
               static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                 QImage::Format_RGB888);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = image.scanLine(static_cast<int>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

QImage decodeJpeg(const QByteArray& data) {
  QImage image;
  if (!readJpeg(data, image)) return QImage();
  return image;
}
