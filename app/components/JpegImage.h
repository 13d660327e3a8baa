#ifndef ZEMBRAX_APP_COMPONENTS_JPEGIMAGE_H_
#define ZEMBRAX_APP_COMPONENTS_JPEGIMAGE_H_

#include <QByteArray>
#include <QImage>

// Decodes a JPEG picture (with libjpeg, or Qt's reader where that is missing). A damaged or
// unreadable picture gives a null image; it never ends the program.
QImage decodeJpeg(const QByteArray& data);

#endif  // ZEMBRAX_APP_COMPONENTS_JPEGIMAGE_H_
