#include "platform/JpegDecoder.h"

#include <QTransform>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace JpegDecoder {

namespace {

// A progressive JPEG keeps all its coefficients in memory; beyond this the decoder reports
// an error instead of exhausting the machine.
constexpr long MemoryLimit = 512L * 1024 * 1024;

// No camera or phone delivers more; a header claiming more is refused before any decoding.
constexpr unsigned long long MaxPixels = 100'000'000ULL;

// libjpeg ends a failed decode by calling error_exit, which by default ends the process;
// ours jumps back to the decode instead.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

// Everything the decode touches lives here, outside the frame that calls setjmp, so a jump
// back skips no destructor and finds every value as it was left.
struct DecodeJob {
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    const QByteArray *input = nullptr;
    int maxSide = DefaultMaxSide;
    int reduction = 1; // box reduction after libjpeg's own scaling
    QImage image;
    QString refusal; // our own reason, when the picture is refused rather than broken
    QByteArray exif;
    std::vector<JSAMPLE> decoded; // one scanline as libjpeg delivers it
    std::vector<uchar> rgb;       // the same scanline as RGB
    std::vector<quint32> sums;    // sums of the source pixels of one target row
    std::vector<quint32> counts;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
    auto *errors = reinterpret_cast<ErrorManager *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(errors->jump, 1);
}

// Any damage in the data (a cut file, a bad code, a lost marker) ends the decode at once:
// libjpeg would go on painting grey, which would replace the old picture with a broken one, and
// a small damaged file could keep it busy for seconds.
void EmitMessage(j_common_ptr cinfo, int level) {
    if (level != -1)
        return;
    switch (cinfo->err->msg_code) {
    case JWRN_ADOBE_XFORM:
    case JWRN_JFIF_MAJOR:
        return; // about the headers only; the pixels are sound
    default:
        ErrorExit(cinfo);
    }
}

bool RefuseHuge(DecodeJob *job) {
    const jpeg_decompress_struct &cinfo = job->cinfo;
    if (static_cast<unsigned long long>(cinfo.image_width) * cinfo.image_height <= MaxPixels)
        return false;
    job->refusal =
        QStringLiteral("画像が大きすぎます（%1×%2画素）。1億画素以下の画像を使ってください。")
            .arg(cinfo.image_width)
            .arg(cinfo.image_height);
    return true;
}

void CollectExif(DecodeJob *job) {
    for (jpeg_saved_marker_ptr marker = job->cinfo.marker_list; marker; marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1 && marker->data_length >= 6 &&
            std::memcmp(marker->data, "Exif\0\0", 6) == 0) {
            job->exif = QByteArray(reinterpret_cast<const char *>(marker->data),
                                   static_cast<qsizetype>(marker->data_length));
            return;
        }
    }
}

// libjpeg scales by n/8 while decoding, which costs nothing; a picture larger than eight
// times the limit is then reduced further by averaging blocks of pixels.
void ChooseScale(DecodeJob *job) {
    jpeg_decompress_struct *cinfo = &job->cinfo;
    const long longSide = std::max(cinfo->image_width, cinfo->image_height);
    unsigned int eighths = 8;
    while (eighths > 1 && (longSide * eighths + 7) / 8 > job->maxSide)
        --eighths;
    cinfo->scale_num = eighths;
    cinfo->scale_denom = 8;
    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_calc_output_dimensions(cinfo);
    const long scaledLong = std::max(cinfo->output_width, cinfo->output_height);
    job->reduction = static_cast<int>((scaledLong + job->maxSide - 1) / job->maxSide);
}

bool PrepareOutput(DecodeJob *job) {
    const jpeg_decompress_struct &cinfo = job->cinfo;
    const int k = job->reduction;
    const int width = std::max(1, static_cast<int>(cinfo.output_width) / k);
    const int height = std::max(1, static_cast<int>(cinfo.output_height) / k);
    job->image = QImage(width, height, QImage::Format_RGB888);
    if (job->image.isNull())
        return false;
    job->decoded.assign(static_cast<size_t>(cinfo.output_width) * cinfo.output_components, 0);
    job->rgb.assign(static_cast<size_t>(cinfo.output_width) * 3, 0);
    if (k > 1) {
        job->sums.assign(static_cast<size_t>(width) * 3, 0);
        job->counts.assign(static_cast<size_t>(width), 0);
    }
    return true;
}

void ToRgb(DecodeJob *job) {
    const jpeg_decompress_struct &cinfo = job->cinfo;
    if (cinfo.out_color_space != JCS_CMYK) {
        std::copy(job->decoded.begin(), job->decoded.end(), job->rgb.begin());
        return;
    }
    // Adobe writes CMYK inverted, which is how nearly every CMYK JPEG is stored.
    const bool inverted = cinfo.saw_Adobe_marker;
    for (size_t x = 0; x < cinfo.output_width; ++x) {
        const JSAMPLE *p = &job->decoded[x * 4];
        const int k = inverted ? p[3] : 255 - p[3];
        for (int c = 0; c < 3; ++c) {
            const int ink = inverted ? p[c] : 255 - p[c];
            job->rgb[x * 3 + c] = static_cast<uchar>(ink * k / 255);
        }
    }
}

void StoreRow(DecodeJob *job, int y) {
    const int k = job->reduction;
    QImage &image = job->image;
    if (k == 1) {
        std::memcpy(image.scanLine(y), job->rgb.data(), job->rgb.size());
        return;
    }
    const int width = image.width();
    const int height = image.height();
    const int sourceWidth = static_cast<int>(job->cinfo.output_width);
    for (int x = 0; x < sourceWidth; ++x) {
        const int tx = std::min(x / k, width - 1);
        for (int c = 0; c < 3; ++c)
            job->sums[tx * 3 + c] += job->rgb[x * 3 + c];
        ++job->counts[tx];
    }
    const int ty = std::min(y / k, height - 1);
    const bool lastOfBlock = y == static_cast<int>(job->cinfo.output_height) - 1 ||
                             std::min((y + 1) / k, height - 1) != ty;
    if (!lastOfBlock)
        return;
    uchar *line = image.scanLine(ty);
    for (int tx = 0; tx < width; ++tx) {
        const quint32 n = std::max<quint32>(1, job->counts[tx]);
        for (int c = 0; c < 3; ++c)
            line[tx * 3 + c] = static_cast<uchar>(job->sums[tx * 3 + c] / n);
    }
    std::fill(job->sums.begin(), job->sums.end(), 0);
    std::fill(job->counts.begin(), job->counts.end(), 0);
}

void ReadRows(DecodeJob *job) {
    jpeg_decompress_struct *cinfo = &job->cinfo;
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW row = job->decoded.data();
        const int y = static_cast<int>(cinfo->output_scanline);
        if (jpeg_read_scanlines(cinfo, &row, 1) != 1)
            break;
        ToRgb(job);
        StoreRow(job, y);
    }
}

// The only frame that calls setjmp; it holds no object with a destructor.
bool RunDecode(DecodeJob *job) {
    jpeg_decompress_struct *cinfo = &job->cinfo;
    cinfo->err = jpeg_std_error(&job->errors.pub);
    job->errors.pub.error_exit = ErrorExit;
    job->errors.pub.emit_message = EmitMessage;
    job->errors.message[0] = '\0';
    if (setjmp(job->errors.jump)) {
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    jpeg_create_decompress(cinfo);
    cinfo->mem->max_memory_to_use = MemoryLimit;
    jpeg_mem_src(cinfo, reinterpret_cast<const unsigned char *>(job->input->constData()),
                 static_cast<unsigned long>(job->input->size()));
    jpeg_save_markers(cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(cinfo, TRUE);
    if (RefuseHuge(job)) {
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    CollectExif(job);
    ChooseScale(job);
    jpeg_start_decompress(cinfo);
    if (!PrepareOutput(job)) {
        std::snprintf(job->errors.message, sizeof job->errors.message,
                      "Not enough memory for a %u x %u picture", cinfo->output_width,
                      cinfo->output_height);
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    ReadRows(job);
    jpeg_finish_decompress(cinfo);
    jpeg_destroy_decompress(cinfo);
    return true;
}

} // namespace

QImage Decode(const QByteArray &jpeg, QString *error, int maxSide) {
    auto job = std::make_unique<DecodeJob>();
    job->input = &jpeg;
    job->maxSide = std::max(1, maxSide);
    if (!RunDecode(job.get())) {
        if (error)
            *error =
                job->refusal.isEmpty() ? QString::fromLocal8Bit(job->errors.message) : job->refusal;
        return {};
    }
    return ApplyOrientation(job->image, ExifOrientation(job->exif));
}

int ExifOrientation(const QByteArray &app1) {
    constexpr int headerSize = 6;
    if (app1.size() < headerSize + 8 || !app1.startsWith(QByteArray("Exif\0\0", headerSize)))
        return 1;
    const QByteArray tiff = app1.mid(headerSize);
    bool little;
    if (tiff.startsWith("II"))
        little = true;
    else if (tiff.startsWith("MM"))
        little = false;
    else
        return 1;
    const auto byteAt = [&](qsizetype i) { return static_cast<quint32>(uchar(tiff[i])); };
    const auto read16 = [&](qsizetype at) -> quint32 {
        return little ? byteAt(at) | byteAt(at + 1) << 8 : byteAt(at) << 8 | byteAt(at + 1);
    };
    const auto read32 = [&](qsizetype at) -> quint32 {
        return little ? read16(at) | read16(at + 2) << 16 : read16(at) << 16 | read16(at + 2);
    };
    if (read16(2) != 42)
        return 1;
    const qsizetype ifd = read32(4);
    if (ifd < 8 || ifd + 2 > tiff.size())
        return 1;
    const quint32 entries = read16(ifd);
    for (quint32 i = 0; i < entries; ++i) {
        const qsizetype entry = ifd + 2 + 12 * static_cast<qsizetype>(i);
        if (entry + 12 > tiff.size())
            break;
        if (read16(entry) != 0x0112)
            continue;
        constexpr quint32 typeShort = 3;
        const quint32 value = read16(entry + 2) == typeShort ? read16(entry + 8) : 0;
        return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
    }
    return 1;
}

QImage ApplyOrientation(const QImage &image, int orientation) {
    const auto turned = [&](int degrees) {
        return image.transformed(QTransform().rotate(degrees));
    };
    switch (orientation) {
    case 2:
        return image.mirrored(true, false);
    case 3:
        return turned(180);
    case 4:
        return image.mirrored(false, true);
    case 5:
        return turned(90).mirrored(true, false);
    case 6:
        return turned(90);
    case 7:
        return turned(90).mirrored(false, true);
    case 8:
        return turned(270);
    default:
        return image;
    }
}

} // namespace JpegDecoder
