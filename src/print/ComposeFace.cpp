#include "print/ComposeFace.h"

#include "core/TextHelpers.h"
#include "print/LayoutEngine.h"
#include "print/NameSenderLayout.h"
#include "print/PrintFrames.h"

#include <QPainter>

namespace {

const QString kBarcodeError = QStringLiteral("error");

// Start sizes in points, before the user's shifts.
constexpr double kAddressStart = 15;
constexpr double kCompanyStart = 15;
constexpr double kPostStart = 25;
constexpr double kExecutiveStart = 15;
constexpr double kNameStart = 25;
constexpr double kSenderAddressStart = 12;
constexpr double kSenderNameStart = 18;
constexpr double kSenderSmallStart = 12;
constexpr double kBarcodeStart = 10;
constexpr double kPostalLineStart = 30;

LayoutBox DeviceBox(const FaceSettings &face, PrintFrame frame, int dpiX, int dpiY) {
    const QRect &r = FrameOf(face.Frames, frame);
    return ShapeToDeviceBox(r.left(), r.top(), r.width(), r.height(), face.PreviewPixelsPerMm, dpiX,
                            dpiY);
}

QPointF BoxesOriginMm(const FaceSettings &face, PrintFrame frame) {
    return FrameOriginMm(FrameOf(face.Frames, frame), face.PaperMm.height(), face.PictureHeight);
}

// A joint name is split at its first space; without one it is all given part.
void SetJointName(TPrintNameData &name, int index, const QString &joint, const QString &title) {
    const QString text = ToFullWidth(joint).replace(QChar(0x3000), u' ');
    const qsizetype space = text.indexOf(u' ');
    name.JointFamily[index] = space < 0 ? QString() : text.left(space);
    name.JointGiven[index] = space < 0 ? text : text.mid(space + 1);
    name.JointTitle[index] = title;
}

void DrawSender(LayoutCanvas &canvas, const FaceSettings &face, int dpiX, int dpi, int gap,
                const TSenderBuff &sender) {
    const FontSizeOffsets &shift = face.FontSizes;
    TPrintSenderData record;
    record.AddressSize = kSenderAddressStart + shift.SenderAddress;
    record.SenderNameSize = kSenderNameStart + shift.SenderName;
    record.OfficeSize = kSenderSmallStart + shift.SenderOffice;
    record.ExecutiveTitleSize = kSenderSmallStart + shift.SenderOffice;
    record.TelFaxSize = kSenderSmallStart + shift.SenderTelFax;
    record.MailSize = kSenderSmallStart + shift.SenderTelFax;
    record.HpSize = kSenderSmallStart + shift.SenderTelFax;
    ComposeSenderPrintData(sender, record);
    record = LayoutSender(canvas, face.FaceName, 0, dpi, gap, face.Vertical, record,
                          DeviceBox(face, PrintFrame::Sender, dpiX, dpi));
    if (record.PrintPostCode.isEmpty()) {
        const QPointF at = BoxesOriginMm(face, PrintFrame::UnderPostCode);
        DrawSenderPostalBoxes(canvas, record.MarkedZipCode, dpi, at.x(), at.y());
    }
    if (face.Vertical) {
        record.PrintAddress1 = ToKanjiNumerals(record.PrintAddress1);
        record.PrintAddress2 = ToKanjiNumerals(record.PrintAddress2);
    }
    DrawSenderBlock(canvas, dpi, face.Vertical, face.FaceName, record);
}

} // namespace

QString ToKanjiNumerals(const QString &text) {
    static const QString kanji = QStringLiteral("〇一二三四五六七八九");
    QString out = text;
    for (QChar &c : out)
        if (c >= QChar(0xFF10) && c <= QChar(0xFF19))
            c = kanji.at(c.unicode() - 0xFF10);
    return out;
}

void ComposeFace(QPainter &painter, const FaceSettings &face, int dpiX, int dpiY, int itemGap,
                 const PrintRow &row, const TSenderBuff &sender) {
    // The layout engine works in the vertical resolution.
    const int dpi = dpiY;
    const bool vertical = face.Vertical;
    const QString &faceName = face.FaceName;
    painter.save();
    painter.fillRect(QRect(0, 0, Rnd(dpiX * face.PaperMm.width() / 25.4),
                           Rnd(dpiY * face.PaperMm.height() / 25.4)),
                     Qt::white);
    painter.setBrush(Qt::NoBrush);
    LayoutCanvas canvas(painter, faceName);

    const FaceTexts texts = GatherFaceTexts(row);
    const QString address1 = ToFullWidth(texts.Address1);
    const QString address2 = ToFullWidth(texts.Address2);
    const QString company = ToFullWidth(texts.Company);
    const QString department = ToFullWidth(texts.Department);
    const QString position = ToFullWidth(texts.Position);
    const QString name = ToFullWidth(texts.Name);
    const QString honorific = ToFullWidth(texts.Honorific);
    const QString markedPostalCode = texts.PostalCode + kPostalCodeEndMarker;

    TPrintNameData nameData;
    for (int i = 0; i < texts.JointCount; ++i)
        SetJointName(nameData, i, texts.JointNames[i], texts.JointTitles[i]);

    const QString printed1 = vertical ? ToKanjiNumerals(address1) : address1;
    const QString printed2 = vertical ? ToKanjiNumerals(address2) : address2;

    const FontSizeOffsets &shift = face.FontSizes;
    const double addressSize = kAddressStart + shift.RecipientAddress;
    nameData.CompanySize = kCompanyStart + shift.RecipientName;
    nameData.PostSize = kPostStart + shift.RecipientName;
    nameData.ExecutiveSize = kExecutiveStart + shift.RecipientName;
    nameData.NameSize = kNameStart + shift.RecipientName;

    // The barcode reads the address number from digits, so it takes the address before the
    // kanji numerals of vertical writing.
    TPrintCostomerData barcode;
    if (face.PrintCostom)
        barcode = LayoutBarcode(canvas, kBarcodeFace, dpi,
                                DeviceBox(face, PrintFrame::Costomer, dpiX, dpi),
                                (address1 + address2).trimmed(), markedPostalCode, kBarcodeStart);
    TPrintCostomerData postalLine;
    if (face.LabelTab)
        postalLine =
            LayoutPostalLine(canvas, dpi, DeviceBox(face, PrintFrame::UpperPostCode, dpiX, dpi),
                             markedPostalCode, kPostalLineStart);
    const TPrintAddressData address = LayoutAddress(canvas, faceName, 0, dpi, itemGap, vertical,
                                                    DeviceBox(face, PrintFrame::Address, dpiX, dpi),
                                                    printed2, printed1, addressSize);
    nameData = LayoutName(canvas, faceName, 0, dpi, itemGap, vertical, nameData, texts.PrintControl,
                          texts.UseType, DeviceBox(face, PrintFrame::Name, dpiX, dpi),
                          texts.JointCount, position, department, company, honorific, name);

    if (!barcode.Text.isEmpty() && barcode.Text != kBarcodeError)
        DrawItemText(canvas, kSymbolCharSet, dpi, barcode.Text, barcode.Left, barcode.Top, false,
                     Qt::black, barcode.FontSize, 0, kBarcodeFace);
    if (face.LabelTab) {
        DrawPostalLine(canvas, dpi, markedPostalCode, postalLine.Left, postalLine.Top,
                       postalLine.FontSize, faceName);
    } else {
        const QPointF at = BoxesOriginMm(face, PrintFrame::UpperPostCode);
        DrawPostalBoxes(canvas, markedPostalCode, dpi, at.x(), at.y());
    }
    DrawItemText(canvas, kShiftJisCharSet, dpi, printed1, address.Line1.x(), address.Line1.y(),
                 vertical, Qt::black, address.FontSize, 0, faceName);
    DrawItemText(canvas, kShiftJisCharSet, dpi, printed2, address.Line2.x(), address.Line2.y(),
                 vertical, Qt::black, address.FontSize, 0, faceName);
    DrawNameBlock(canvas, dpi, vertical, faceName, nameData, texts.Form, texts.JointCount, company,
                  department, position, honorific);

    if (face.PrintSender)
        DrawSender(canvas, face, dpiX, dpi, itemGap, sender);
    painter.restore();
}
