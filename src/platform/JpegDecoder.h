#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Customer pictures arrive as JPEG files from cameras and phones. They are decoded with
// libjpeg, turned upright by their EXIF orientation and reduced while decoding, so even a
// very large photo never needs its full size in memory.
namespace JpegDecoder {

// The long side of a decoded picture is at most this many pixels unless the caller asks
// for another limit.
constexpr int DefaultMaxSide = 2048;

// Decodes a JPEG file's bytes into an upright picture whose long side is at most maxSide.
// On failure returns a null image and the decoder's reason in `error` (a truncated file
// counts as a failure, not as a half grey picture).
QImage Decode(const QByteArray &jpeg, QString *error, int maxSide = DefaultMaxSide);

// The orientation tag (1 to 8) of an APP1 segment's contents ("Exif\0\0" and the TIFF
// data); 1 when it has none or cannot be read.
int ExifOrientation(const QByteArray &app1);

// The picture turned as an EXIF orientation says, so it shows upright.
QImage ApplyOrientation(const QImage &image, int orientation);

} // namespace JpegDecoder
