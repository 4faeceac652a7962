// Renders sample postcard faces to PNG files (300 dpi) for a look by eye, into the folder named by
// PELLOR3_SAMPLE_OUT or a fixed folder under the temp folder, and checks that no ink falls
// outside the placement frames.

#include "core/TextFile.h"
#include "core/TextHelpers.h"
#include "platform/CustomerBarcode.h"
#include "print/LayoutEngine.h"
#include "print/NameSenderLayout.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kDpi = 300;
constexpr double kPaperWidthMm = 100;
constexpr double kPaperHeightMm = 148;
// Preview of a postcard: 304 x 450 pixels.
constexpr double kPreviewPixelsPerMm = 304 / kPaperWidthMm;
constexpr double kPreviewHeight = 450;

struct Frame {
    int Left, Top, Width, Height;
};

// The default frames of the postcard for each writing direction, in preview pixels.
struct Frames {
    Frame PostCode, Address, Name, Sender, SenderPostCode, Barcode;
};
const Frames kVerticalFrames{{138, 39, 148, 24}, {216, 120, 66, 225}, {112, 120, 81, 225},
                             {16, 192, 81, 153}, {21, 407, 85, 21},   {110, 90, 160, 25}};
const Frames kHorizontalFrames{{138, 39, 148, 24},  {64, 150, 225, 36}, {64, 208, 225, 81},
                               {135, 312, 153, 81}, {21, 407, 85, 21},  {64, 120, 160, 25}};

struct JointName {
    QString Name;
    QString Title;
};

struct Face {
    QString File;
    bool Vertical = true;
    QString FaceName;
    QString PostalCode, Address1, Address2;
    QString Name, Honorific, Company, Department, Position, PrintControl, UseType;
    QList<JointName> Joints;
    std::optional<TSenderBuff> Sender;
};

QString KanjiDigits(QString text) {
    static const QString kanji = QStringLiteral("〇一二三四五六七八九");
    for (QChar &c : text)
        if (c >= QChar(0xFF10) && c <= QChar(0xFF19))
            c = kanji.at(c.unicode() - 0xFF10);
    return text;
}

LayoutBox Box(const Frame &f) {
    return ShapeToDeviceBox(f.Left, f.Top, f.Width, f.Height, kPreviewPixelsPerMm, kDpi, kDpi);
}

QRect FrameDots(const Frame &f) {
    const auto dots = [](double px) {
        return Rnd(px * kPaperHeightMm / kPreviewHeight * kDpi / 25.4);
    };
    return QRect(dots(f.Left), dots(f.Top), dots(f.Width), dots(f.Height));
}

double FrameMm(int pixels) {
    return pixels * kPaperHeightMm / kPreviewHeight;
}

QImage NewPage() {
    QImage image(Rnd(kDpi * kPaperWidthMm / 25.4), Rnd(kDpi * kPaperHeightMm / 25.4),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(Rnd(kDpi / 0.0254));
    image.setDotsPerMeterY(Rnd(kDpi / 0.0254));
    image.fill(Qt::white);
    return image;
}

// The printed postcard: red postal code boxes, the sender's small boxes, the stamp corner.
void DrawPostcard(QPainter &p) {
    const auto mm = [](double v) { return v * kDpi / 25.4; };
    p.setPen(QPen(QColor(220, 40, 40), mm(0.3)));
    p.setBrush(Qt::NoBrush);
    for (double offset : {0.0, 7.0, 14.0, 22.0, 29.0, 36.0, 43.0})
        p.drawRect(QRectF(mm(44 + offset), mm(12), mm(5.7), mm(8)));
    const double senderLeft = FrameMm(21) - 0.6, senderTop = FrameMm(407) - 0.4;
    for (double offset : {0.0, 4.0, 8.0, 13.0, 17.0, 21.0, 25.0})
        p.drawRect(QRectF(mm(senderLeft + offset), mm(senderTop), mm(3.6), mm(5.4)));
    p.setPen(QPen(QColor(160, 160, 160), mm(0.2), Qt::DashLine));
    p.drawRect(QRectF(mm(8), mm(8), mm(22), mm(26)));
}

struct Rendered {
    QImage Text;        // the face's ink alone
    QList<QRect> Boxes; // where ink may go
};

Rendered Render(const Face &face) {
    const Frames &frames = face.Vertical ? kVerticalFrames : kHorizontalFrames;
    const int gap = Rnd(kDpi * 0.2 / 25.4);
    Rendered out{NewPage(), {}};
    QPainter painter(&out.Text);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    LayoutCanvas canvas(painter, face.FaceName);
    const bool v = face.Vertical;

    const QString line1 = ToFullWidth(face.Address1);
    const QString line2 = ToFullWidth(face.Address2);
    const QString marked = face.PostalCode + kPostalCodeEndMarker;
    const TPrintCostomerData barcode = LayoutBarcode(
        canvas, kBarcodeFace, kDpi, Box(frames.Barcode), (line1 + line2).trimmed(), marked);
    if (barcode.Text != QStringLiteral("error"))
        DrawItemText(canvas, kSymbolCharSet, kDpi, barcode.Text, barcode.Left, barcode.Top, false,
                     Qt::black, barcode.FontSize, 0, kBarcodeFace);
    DrawPostalBoxes(canvas, marked, kDpi, FrameMm(frames.PostCode.Left),
                    FrameMm(frames.PostCode.Top));

    const QString printed1 = v ? KanjiDigits(line1) : line1;
    const QString printed2 = v ? KanjiDigits(line2) : line2;
    const TPrintAddressData address = LayoutAddress(canvas, face.FaceName, 0, kDpi, gap, v,
                                                    Box(frames.Address), printed2, printed1, 15);
    DrawItemText(canvas, kShiftJisCharSet, kDpi, printed1, address.Line1.x(), address.Line1.y(), v,
                 Qt::black, address.FontSize, 0, face.FaceName);
    DrawItemText(canvas, kShiftJisCharSet, kDpi, printed2, address.Line2.x(), address.Line2.y(), v,
                 Qt::black, address.FontSize, 0, face.FaceName);

    TPrintNameData name;
    name.CompanySize = 15;
    name.PostSize = 25;
    name.ExecutiveSize = 15;
    name.NameSize = 25;
    for (int i = 0; i < face.Joints.size(); ++i) {
        // A joint name without a space is all given part.
        const QString joint = ToFullWidth(face.Joints[i].Name).replace(QChar(0x3000), u' ');
        const qsizetype space = joint.indexOf(u' ');
        name.JointFamily[i] = space < 0 ? QString() : joint.left(space);
        name.JointGiven[i] = space < 0 ? joint : joint.mid(space + 1);
        name.JointTitle[i] = face.Joints[i].Title;
    }
    const int joints = int(face.Joints.size());
    const QString company = ToFullWidth(face.Company), department = ToFullWidth(face.Department),
                  position = ToFullWidth(face.Position), honorific = ToFullWidth(face.Honorific);
    name = LayoutName(canvas, face.FaceName, 0, kDpi, gap, v, name, face.PrintControl, face.UseType,
                      Box(frames.Name), joints, position, department, company, honorific,
                      ToFullWidth(face.Name));
    DrawNameBlock(canvas, kDpi, v, face.FaceName, name,
                  ChooseNameForm(face.PrintControl, face.UseType), joints, company, department,
                  position, honorific);

    if (face.Sender) {
        TPrintSenderData sender;
        sender.AddressSize = 12;
        sender.SenderNameSize = 18;
        sender.OfficeSize = 12;
        sender.ExecutiveTitleSize = 12;
        sender.TelFaxSize = 12;
        sender.MailSize = 12;
        sender.HpSize = 12;
        ComposeSenderPrintData(*face.Sender, sender);
        sender = LayoutSender(canvas, face.FaceName, 0, kDpi, gap, v, sender, Box(frames.Sender));
        if (sender.PrintPostCode.isEmpty())
            DrawSenderPostalBoxes(canvas, sender.MarkedZipCode, kDpi,
                                  FrameMm(frames.SenderPostCode.Left),
                                  FrameMm(frames.SenderPostCode.Top));
        if (v) {
            sender.PrintAddress1 = KanjiDigits(sender.PrintAddress1);
            sender.PrintAddress2 = KanjiDigits(sender.PrintAddress2);
        }
        DrawSenderBlock(canvas, kDpi, v, face.FaceName, sender);
        out.Boxes << FrameDots(frames.Sender) << FrameDots(frames.SenderPostCode);
    }
    out.Boxes << FrameDots(frames.Address) << FrameDots(frames.Name) << FrameDots(frames.Barcode)
              << FrameDots(frames.PostCode);
    return out;
}

int InkOutside(const Rendered &r) {
    int outside = 0;
    for (int y = 0; y < r.Text.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(r.Text.constScanLine(y));
        for (int x = 0; x < r.Text.width(); ++x) {
            if (qGray(line[x]) > 128)
                continue;
            const bool inside = std::any_of(r.Boxes.begin(), r.Boxes.end(), [&](const QRect &b) {
                return b.contains(QPoint(x, y));
            });
            outside += inside ? 0 : 1;
        }
    }
    return outside;
}

QString OutputFolder() {
    const QString wanted = qEnvironmentVariable("PELLOR3_SAMPLE_OUT");
    const QString folder =
        wanted.isEmpty() ? QDir::temp().filePath(QStringLiteral("pellor3-sample-faces")) : wanted;
    QDir().mkpath(folder);
    return folder;
}

TSenderBuff CompanySender() {
    TSenderBuff s;
    s.Name = QStringLiteral("鈴木　一郎");
    s.ZipCode = QStringLiteral("100-0001");
    s.Zip1 = QStringLiteral("東京都千代田区千代田1-1");
    s.Zip2 = QStringLiteral("皇居前ビル2F");
    s.Tel = QStringLiteral("03-1234-5678");
    s.TelCheck = true;
    s.Fax = QStringLiteral("03-1234-5679");
    s.FaxCheck = true;
    s.Mail = QStringLiteral("info@example.jp");
    s.MailCheck = true;
    s.Hp = QStringLiteral("http://");
    s.HpCheck = true;
    s.OfficeName = QStringLiteral("ブリスコ株式会社");
    s.OfficeCheck = true;
    s.Post = QStringLiteral("総務部");
    s.PostCheck = true;
    s.Executive = QStringLiteral("課長");
    s.ExecutiveCheck = true;
    return s;
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

Face Personal(const QString &file, bool vertical) {
    Face f;
    f.File = file;
    f.Vertical = vertical;
    f.FaceName = vertical ? QStringLiteral("@ＭＳ Ｐゴシック") : QStringLiteral("ＭＳ Ｐゴシック");
    f.PostalCode = QStringLiteral("263-0023");
    f.Address1 = QStringLiteral("千葉県千葉市稲毛区緑町3丁目30-8");
    f.Address2 = QStringLiteral("郵便ビル403号");
    f.Name = QStringLiteral("山田　太郎");
    f.Honorific = QStringLiteral("様");
    f.PrintControl = QStringLiteral("個人名");
    f.UseType = QStringLiteral("個人用");
    f.Joints = {{QStringLiteral("山田　花子"), QStringLiteral("様")},
                {QStringLiteral("山田　一郎"), QStringLiteral("様")},
                {QStringLiteral("さくら"), QStringLiteral("ちゃん")}};
    return f;
}

Face Company(const QString &file, bool vertical, const QString &printControl) {
    Face f = Personal(file, vertical);
    f.Joints.clear();
    f.PostalCode = QStringLiteral("110-0016");
    f.Address1 = QStringLiteral("東京都台東区台東5-6-3");
    f.Address2 = QStringLiteral("ABCビル10F");
    f.UseType = QStringLiteral("会社用");
    f.PrintControl = printControl;
    f.Company = QStringLiteral("株式会社ブリスコ商事");
    f.Department = QStringLiteral("営業部");
    f.Position = QStringLiteral("部長");
    f.Name = QStringLiteral("佐藤　健一");
    f.Sender = CompanySender();
    return f;
}

} // namespace

Q_DECLARE_METATYPE(Face)

class TestSampleFaces : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(zipFolder.isValid());
        const QString zipPath = zipFolder.filePath(QStringLiteral("zip.dat"));
        QVERIFY(TextFile::WriteLines(zipPath, {QStringLiteral("2630023,千葉県千葉市稲毛区緑町"),
                                               QStringLiteral("1100016,東京都台東区台東")}));
        CustomerBarcode::SetZipDataPath(zipPath);
        outFolder = OutputFolder();
        qInfo("sample faces in %s", qPrintable(outFolder));
    }
    void cleanupTestCase() { CustomerBarcode::SetZipDataPath({}); }

    void rendersInsideFrames_data() {
        QTest::addColumn<Face>("face");
        Face v = Personal(QStringLiteral("v_personal_joint3"), true);
        v.Sender = CompanySender();
        QTest::newRow("vertical personal, three joint names") << v;
        Face h = Personal(QStringLiteral("h_personal_joint3"), false);
        h.Sender = PrivateSender();
        QTest::newRow("horizontal personal, three joint names") << h;
        for (bool vertical : {true, false}) {
            const QString d = vertical ? QStringLiteral("v_") : QStringLiteral("h_");
            QTest::newRow(qPrintable(d + "onchu"))
                << Company(d + "company_onchu", vertical, QStringLiteral("会社部署御中"));
            QTest::newRow(qPrintable(d + "dono"))
                << Company(d + "company_dono", vertical, QStringLiteral("会社部署役職殿"));
            QTest::newRow(qPrintable(d + "named"))
                << Company(d + "company_named", vertical, QStringLiteral("会社部署役職氏名"));
            Face longAddress = Personal(d + "long_address", vertical);
            longAddress.Joints.clear();
            longAddress.Address1 =
                QStringLiteral("北海道札幌市中央区北一条西二十丁目1-23-456ノースパレス");
            longAddress.Address2 =
                QStringLiteral("サンシャインマンション・レジデンス第一期南棟（東側）1203号室");
            longAddress.Sender = PrivateSender();
            QTest::newRow(qPrintable(d + "long address")) << longAddress;
            Face marks = Personal(d + "mincho_marks", vertical);
            marks.FaceName = vertical ? QStringLiteral("@ＭＳ 明朝") : QStringLiteral("ＭＳ 明朝");
            marks.Joints = {{QStringLiteral("山田　ゆっこ"), QStringLiteral("様")}};
            marks.Address1 = QStringLiteral("千葉市稲毛区緑町3-30-8");
            marks.Address2 = QStringLiteral("コーポ〜サンシャイン（南棟）、ａｂ号。");
            QTest::newRow(qPrintable(d + "marks")) << marks;
        }
    }
    void rendersInsideFrames() {
        QFETCH(Face, face);
        const Rendered rendered = Render(face);
        QImage page = NewPage();
        {
            QPainter painter(&page);
            DrawPostcard(painter);
            painter.setCompositionMode(QPainter::CompositionMode_Multiply);
            painter.drawImage(0, 0, rendered.Text);
        }
        QVERIFY(page.save(QDir(outFolder).filePath(face.File + QStringLiteral(".png"))));
        QCOMPARE(InkOutside(rendered), 0);
    }

private:
    QTemporaryDir zipFolder;
    QString outFolder;
};

QTEST_MAIN(TestSampleFaces)
#include "tst_samplefaces.moc"
