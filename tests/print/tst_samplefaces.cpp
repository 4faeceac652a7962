// Renders sample postcard faces through ComposeFace to PNG files (300 dpi) for a look by eye,
// into the folder named by PELLOR3_SAMPLE_OUT or a fixed folder under the temp folder, and checks
// that every face has ink in its frames and none outside them.

#include "PrintTestData.h"
#include "core/TextHelpers.h"
#include "print/ComposeFace.h"
#include "print/PrintFrames.h"

#include <QImage>
#include <QPainter>
#include <QTest>

namespace {

constexpr int kDpi = 300;
constexpr int kPlainPostcard = 1; // "はがき"

struct Sample {
    QString File;
    bool Vertical = true;
    QString Font = kDefaultFontName;
    PrintRow Row;
    std::optional<TSenderBuff> Sender;
};

FaceSettings FaceOf(const Sample &sample) {
    PrintSettings settings =
        PostcardSettings(sample.Vertical, sample.Sender.has_value(), kPlainPostcard);
    settings.Font = sample.Font;
    return StoredFaceSettings(settings, std::nullopt, SampleZipDataPath());
}

double Dots(double mm) {
    return mm * kDpi / 25.4;
}

// A frame of the preview on the page, in dots; the preview's height stands for the paper's.
QRect FrameDots(const FaceSettings &face, PrintFrame frame) {
    const QRect &f = FrameOf(face.Frames, frame);
    const auto dots = [&face](int px) {
        return Rnd(Dots(px * face.PaperMm.height() / face.PictureHeight));
    };
    return QRect(dots(f.left()), dots(f.top()), dots(f.width()), dots(f.height()));
}

QImage NewPage(const FaceSettings &face) {
    QImage image(Rnd(Dots(face.PaperMm.width())), Rnd(Dots(face.PaperMm.height())),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(Rnd(kDpi / 0.0254));
    image.setDotsPerMeterY(Rnd(kDpi / 0.0254));
    image.fill(Qt::white);
    return image;
}

// The printed postcard: red postal code boxes, the sender's small boxes, the stamp corner.
void DrawPostcard(QPainter &p, const FaceSettings &face) {
    p.setPen(QPen(QColor(220, 40, 40), Dots(0.3)));
    p.setBrush(Qt::NoBrush);
    for (double offset : {0.0, 7.0, 14.0, 22.0, 29.0, 36.0, 43.0})
        p.drawRect(QRectF(Dots(44 + offset), Dots(12), Dots(5.7), Dots(8)));
    const QPointF sender = FrameOriginMm(FrameOf(face.Frames, PrintFrame::UnderPostCode),
                                         face.PaperMm.height(), face.PictureHeight);
    for (double offset : {0.0, 4.0, 8.0, 13.0, 17.0, 21.0, 25.0})
        p.drawRect(
            QRectF(Dots(sender.x() - 0.6 + offset), Dots(sender.y() - 0.4), Dots(3.6), Dots(5.4)));
    p.setPen(QPen(QColor(160, 160, 160), Dots(0.2), Qt::DashLine));
    p.drawRect(QRectF(Dots(8), Dots(8), Dots(22), Dots(26)));
}

struct Rendered {
    QImage Text;        // the face's ink alone
    QList<QRect> Boxes; // where ink may go
    QList<QRect> Inked; // where ink must be
};

Rendered Render(const FaceSettings &face, const Sample &sample) {
    Rendered out{NewPage(face), {}, {}};
    QPainter painter(&out.Text);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    ComposeFace(painter, face, kDpi, kDpi, Rnd(Dots(0.2)), sample.Row,
                sample.Sender.value_or(TSenderBuff()));
    out.Inked << FrameDots(face, PrintFrame::Address) << FrameDots(face, PrintFrame::Name)
              << FrameDots(face, PrintFrame::Costomer);
    if (sample.Sender)
        out.Inked << FrameDots(face, PrintFrame::Sender);
    out.Boxes = out.Inked;
    out.Boxes << FrameDots(face, PrintFrame::UpperPostCode);
    if (sample.Sender)
        out.Boxes << FrameDots(face, PrintFrame::UnderPostCode);
    return out;
}

bool IsInk(QRgb pixel) {
    return qGray(pixel) <= 128;
}

int InkOutside(const Rendered &r) {
    int outside = 0;
    for (int y = 0; y < r.Text.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(r.Text.constScanLine(y));
        for (int x = 0; x < r.Text.width(); ++x) {
            if (!IsInk(line[x]))
                continue;
            const bool inside = std::any_of(r.Boxes.begin(), r.Boxes.end(), [&](const QRect &b) {
                return b.contains(QPoint(x, y));
            });
            outside += inside ? 0 : 1;
        }
    }
    return outside;
}

bool HasInk(const QImage &image, const QRect &box) {
    const QImage part = image.copy(box);
    for (int y = 0; y < part.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(part.constScanLine(y));
        if (std::any_of(line, line + part.width(), IsInk))
            return true;
    }
    return false;
}

TSenderBuff PrivateSender() {
    TSenderBuff s;
    s.Name = QStringLiteral("鈴木 花子");
    s.ZipCode = QStringLiteral("1000001");
    s.ZipPrintState = false;
    s.Zip1 = QStringLiteral("東京都千代田区千代田2-3");
    s.Tel = QStringLiteral("090-1111-2222");
    s.TelCheck = true;
    return s;
}

void MarkJoints(PrintRow &row, const QList<bool> &marked) {
    for (int slot = 0; slot < kJointSlots; ++slot)
        row.Customer.checkRen[slot] = slot < marked.size() && marked[slot];
}

// At home, all three joint names marked.
Sample Personal(const QString &file, bool vertical) {
    Sample s;
    s.File = file;
    s.Vertical = vertical;
    s.Row = SampleCustomerRow(0, 0);
    MarkJoints(s.Row, {true, true, true});
    return s;
}

Sample Company(const QString &file, bool vertical, int printCtrl) {
    Sample s;
    s.File = file;
    s.Vertical = vertical;
    s.Row = SampleCustomerRow(1, printCtrl);
    s.Sender = SampleSender();
    return s;
}

} // namespace

Q_DECLARE_METATYPE(Sample)

class TestSampleFaces : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(!SampleZipDataPath().isEmpty());
        outFolder = SampleOutputFolder(QStringLiteral("pellor3-sample-faces"));
        qInfo("sample faces in %s", qPrintable(outFolder));
    }

    void rendersInsideFrames_data() {
        QTest::addColumn<Sample>("sample");
        Sample v = Personal(QStringLiteral("v_personal_joint3"), true);
        v.Sender = SampleSender();
        QTest::newRow("vertical personal, three joint names") << v;
        Sample h = Personal(QStringLiteral("h_personal_joint3"), false);
        h.Sender = PrivateSender();
        QTest::newRow("horizontal personal, three joint names") << h;
        for (bool vertical : {true, false}) {
            const QString d = vertical ? QStringLiteral("v_") : QStringLiteral("h_");
            QTest::newRow(qPrintable(d + "onchu")) << Company(d + "company_onchu", vertical, 1);
            QTest::newRow(qPrintable(d + "dono")) << Company(d + "company_dono", vertical, 2);
            QTest::newRow(qPrintable(d + "named")) << Company(d + "company_named", vertical, 3);
            Sample longAddress = Personal(d + "long_address", vertical);
            MarkJoints(longAddress.Row, {});
            longAddress.Row.Customer.address1 =
                QStringLiteral("北海道札幌市中央区北一条西二十丁目1-23-456ノースパレス");
            longAddress.Row.Customer.address2 =
                QStringLiteral("サンシャインマンション・レジデンス第一期南棟（東側）1203号室");
            longAddress.Sender = PrivateSender();
            QTest::newRow(qPrintable(d + "long address")) << longAddress;
            Sample marks = Personal(d + "mincho_marks", vertical);
            marks.Font = QStringLiteral("ＭＳ 明朝");
            MarkJoints(marks.Row, {true});
            marks.Row.Customer.renmei[0] = QStringLiteral("山田　ゆっこ");
            marks.Row.Customer.address1 = QStringLiteral("千葉市稲毛区緑町3-30-8");
            marks.Row.Customer.address2 = QStringLiteral("コーポ〜サンシャイン（南棟）、ａｂ号。");
            QTest::newRow(qPrintable(d + "marks")) << marks;
        }
    }
    void rendersInsideFrames() {
        QFETCH(Sample, sample);
        const FaceSettings face = FaceOf(sample);
        const Rendered rendered = Render(face, sample);
        QImage page = NewPage(face);
        {
            QPainter painter(&page);
            DrawPostcard(painter, face);
            painter.setCompositionMode(QPainter::CompositionMode_Multiply);
            painter.drawImage(0, 0, rendered.Text);
        }
        QVERIFY(page.save(QDir(outFolder).filePath(sample.File + QStringLiteral(".png"))));
        QCOMPARE(InkOutside(rendered), 0);
        for (const QRect &box : rendered.Inked)
            QVERIFY2(HasInk(rendered.Text, box),
                     qPrintable(QStringLiteral("no ink in %1,%2").arg(box.x()).arg(box.y())));
    }

private:
    QString outFolder;
};

QTEST_MAIN(TestSampleFaces)
#include "tst_samplefaces.moc"
