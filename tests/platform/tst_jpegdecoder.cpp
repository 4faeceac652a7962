#include "platform/JpegDecoder.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

// Red, green, blue and white quadrants, so every turn and mirror shows at the corners.
QImage Quadrants(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    const int w = width / 2, h = height / 2;
    painter.fillRect(0, 0, w, h, Qt::red);
    painter.fillRect(w, 0, width - w, h, Qt::green);
    painter.fillRect(0, h, w, height - h, Qt::blue);
    painter.fillRect(w, h, width - w, height - h, Qt::white);
    return image;
}

QByteArray ToJpeg(const QImage &image, bool progressive = false) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QImageWriter writer(&buffer, "JPG");
    writer.setQuality(95);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

// The TIFF part of an EXIF block holding only the orientation tag.
QByteArray ExifApp1(int orientation, bool bigEndian = false) {
    const auto u16 = [&](int v) {
        const char high = char(v >> 8), low = char(v & 0xFF);
        return bigEndian ? QByteArray(1, high) + low : QByteArray(1, low) + high;
    };
    const auto u32 = [&](int v) { return bigEndian ? u16(0) + u16(v) : u16(v) + u16(0); };
    QByteArray tiff = bigEndian ? QByteArray("MM") : QByteArray("II");
    tiff += u16(42) + u32(8) + u16(1);
    tiff += u16(0x0112) + u16(3) + u32(1) + u16(orientation) + u16(0);
    tiff += u32(0);
    return QByteArray("Exif\0\0", 6) + tiff;
}

// The JPEG with an APP1 segment right after its start marker.
QByteArray WithApp1(const QByteArray &jpeg, const QByteArray &app1) {
    const int length = static_cast<int>(app1.size()) + 2;
    QByteArray segment("\xFF\xE1", 2);
    segment += char(length >> 8);
    segment += char(length & 0xFF);
    segment += app1;
    return jpeg.left(2) + segment + jpeg.mid(2);
}

// A large JPEG written row by row, so the test itself never holds the whole picture.
QByteArray LargeJpeg(int width, int height) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char *out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 50, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
    for (int x = 0; x < width; ++x) {
        const bool left = x < width / 2;
        row[x * 3] = left ? 255 : 0;
        row[x * 3 + 1] = 0;
        row[x * 3 + 2] = left ? 0 : 255;
    }
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&cinfo, &pointer, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray bytes(reinterpret_cast<const char *>(out), static_cast<qsizetype>(size));
    std::free(out);
    return bytes;
}

// The JPEG with the size in its frame header replaced; the data stays that of the small picture.
QByteArray ClaimingSize(QByteArray jpeg, int width, int height) {
    qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    if (sof < 0)
        sof = jpeg.indexOf(QByteArray("\xFF\xC2", 2));
    jpeg[sof + 5] = char(height >> 8);
    jpeg[sof + 6] = char(height & 0xFF);
    jpeg[sof + 7] = char(width >> 8);
    jpeg[sof + 8] = char(width & 0xFF);
    return jpeg;
}

bool Near(QRgb actual, QColor expected) {
    return qAbs(qRed(actual) - expected.red()) < 40 &&
           qAbs(qGreen(actual) - expected.green()) < 40 &&
           qAbs(qBlue(actual) - expected.blue()) < 40;
}

} // namespace

class TestJpegDecoder : public QObject {
    Q_OBJECT
private slots:
    void storedUpright_data() {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<bool>("bigEndian");
        QTest::addColumn<QSize>("size");
        // Colours at the top left, top right, bottom left and bottom right.
        QTest::addColumn<QList<QColor>>("corners");
        const QColor r = Qt::red, g = Qt::green, b = Qt::blue, w = Qt::white;
        QTest::newRow("1 as stored") << 1 << false << QSize(64, 32) << QList<QColor>{r, g, b, w};
        QTest::newRow("2 mirrored") << 2 << false << QSize(64, 32) << QList<QColor>{g, r, w, b};
        QTest::newRow("3 upside down") << 3 << false << QSize(64, 32) << QList<QColor>{w, b, g, r};
        QTest::newRow("4 flipped") << 4 << false << QSize(64, 32) << QList<QColor>{b, w, r, g};
        QTest::newRow("5 transposed") << 5 << false << QSize(32, 64) << QList<QColor>{r, b, g, w};
        QTest::newRow("6 turned right") << 6 << false << QSize(32, 64) << QList<QColor>{b, r, w, g};
        QTest::newRow("6 big endian") << 6 << true << QSize(32, 64) << QList<QColor>{b, r, w, g};
        QTest::newRow("7 transverse") << 7 << false << QSize(32, 64) << QList<QColor>{w, g, b, r};
        QTest::newRow("8 turned left") << 8 << false << QSize(32, 64) << QList<QColor>{g, w, r, b};
    }
    void storedUpright() {
        QFETCH(int, orientation);
        QFETCH(bool, bigEndian);
        QFETCH(QSize, size);
        QFETCH(QList<QColor>, corners);
        const QByteArray jpeg =
            WithApp1(ToJpeg(Quadrants(64, 32)), ExifApp1(orientation, bigEndian));
        QString error;
        const QImage image = JpegDecoder::Decode(jpeg, &error);
        QVERIFY2(!image.isNull(), qPrintable(error));
        QCOMPARE(image.size(), size);
        const int right = size.width() - 4, bottom = size.height() - 4;
        QVERIFY(Near(image.pixel(3, 3), corners[0]));
        QVERIFY(Near(image.pixel(right, 3), corners[1]));
        QVERIFY(Near(image.pixel(3, bottom), corners[2]));
        QVERIFY(Near(image.pixel(right, bottom), corners[3]));
    }

    void unreadableOrientationIsIgnored_data() {
        QTest::addColumn<QByteArray>("app1");
        QTest::newRow("no tag") << QByteArray("Exif\0\0II*\0\x08\0\0\0\0\0", 16);
        QTest::newRow("offset beyond the data") << QByteArray("Exif\0\0II*\0\xFF\0\0\0", 14);
        QTest::newRow("cut inside the entry") << ExifApp1(6).left(20);
        QTest::newRow("value out of range") << ExifApp1(9);
        QTest::newRow("not exif") << QByteArray("http://ns.adobe.com/xap/1.0/");
    }
    void unreadableOrientationIsIgnored() {
        QFETCH(QByteArray, app1);
        QCOMPARE(JpegDecoder::ExifOrientation(app1), 1);
        const QImage image =
            JpegDecoder::Decode(WithApp1(ToJpeg(Quadrants(64, 32)), app1), nullptr);
        QCOMPARE(image.size(), QSize(64, 32));
    }

    void badInputFails_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = ToJpeg(Quadrants(200, 100));
        QByteArray badTable = good;
        const qsizetype dht = badTable.indexOf(QByteArray("\xFF\xC4", 2));
        for (qsizetype i = dht + 4; i < dht + 24; ++i)
            badTable[i] = char(0xFF);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not a jpeg") << QByteArray("BM this is no picture at all");
        QTest::newRow("truncated") << good.left(good.size() / 2);
        QTest::newRow("header only") << good.left(good.indexOf(QByteArray("\xFF\xDA", 2)));
        QTest::newRow("broken huffman table") << badTable;
    }
    void badInputFails() {
        QFETCH(QByteArray, bytes);
        QString error;
        QVERIFY(JpegDecoder::Decode(bytes, &error).isNull());
        QVERIFY(!error.isEmpty());
    }

    void hugeClaimsRefused_data() {
        QTest::addColumn<int>("side");
        QTest::addColumn<bool>("progressive");
        QTest::addColumn<QString>("reason");
        QTest::newRow("3.6 gigapixels") << 60000 << false << QString("大きすぎます");
        QTest::newRow("within the limit, data missing") << 10000 << false << QString("premature");
        QTest::newRow("progressive, data missing") << 10000 << true << QString("premature");
    }
    void hugeClaimsRefused() {
        QFETCH(int, side);
        QFETCH(bool, progressive);
        QFETCH(QString, reason);
        QString error;
        const QByteArray jpeg = ClaimingSize(ToJpeg(Quadrants(64, 32), progressive), side, side);
        QVERIFY(JpegDecoder::Decode(jpeg, &error).isNull());
        QVERIFY2(error.contains(reason, Qt::CaseInsensitive), qPrintable(error));
    }

    // Damaged copies either decode whole or are refused with a reason; none turns into a picture
    // whose lower part is the grey libjpeg paints where data is missing.
    void mutatedFilesNeverBecomeGrey() {
        const QByteArray good = ToJpeg(Quadrants(200, 100));
        const qsizetype scan = good.indexOf(QByteArray("\xFF\xDA", 2));
        QRandomGenerator random(20240515);
        int refused = 0;
        for (int i = 0; i < 300; ++i) {
            QByteArray bytes = good;
            if (i % 3 == 0) {
                bytes.truncate(random.bounded(scan, good.size() - 2));
            } else {
                for (int n = random.bounded(1, 4); n > 0; --n)
                    bytes[random.bounded(2, int(bytes.size()))] = char(random.bounded(256));
            }
            QString error;
            const QImage image = JpegDecoder::Decode(bytes, &error);
            if (image.isNull()) {
                QVERIFY(!error.isEmpty());
                ++refused;
                continue;
            }
            QVERIFY2(i % 3 != 0, "a cut file was accepted");
            QCOMPARE(image.size(), QSize(200, 100));
            const QRgb corner = image.pixel(199, 99);
            const auto grey = [](int c) { return c > 124 && c < 132; };
            QVERIFY2(!(grey(qRed(corner)) && grey(qGreen(corner)) && grey(qBlue(corner))),
                     qPrintable(QString("copy %1 ends grey").arg(i)));
        }
        QVERIFY(refused >= 100);
    }

    void largePhotoIsReducedWhileDecoding() {
        const QByteArray jpeg = LargeJpeg(11000, 9000);
        QString error;
        const QImage image = JpegDecoder::Decode(jpeg, &error);
        QVERIFY2(!image.isNull(), qPrintable(error));
        QCOMPARE(image.size(), QSize(1375, 1125));
        QVERIFY(Near(image.pixel(10, 500), Qt::red));
        QVERIFY(Near(image.pixel(1365, 500), Qt::blue));
    }

    void reducedBeyondEighthByAveraging() {
        // An eighth of 2000 is 250, still above the limit of 100: blocks of 3 are averaged.
        const QImage image = JpegDecoder::Decode(ToJpeg(Quadrants(2000, 1000)), nullptr, 100);
        QCOMPARE(image.size(), QSize(83, 41));
        QVERIFY(Near(image.pixel(2, 2), Qt::red));
        QVERIFY(Near(image.pixel(80, 38), Qt::white));
    }

    void sizeWithinLimitKept() {
        const QImage image = JpegDecoder::Decode(ToJpeg(Quadrants(2048, 1024)), nullptr);
        QCOMPARE(image.size(), QSize(2048, 1024));
    }
};

QTEST_MAIN(TestJpegDecoder)
#include "tst_jpegdecoder.moc"
