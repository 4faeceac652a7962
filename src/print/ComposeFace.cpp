#include "print/ComposeFace.h"

#include "core/PostalCode.h"
#include "core/TextHelpers.h"
#include "platform/BarcodeBars.h"
#include "print/LayoutEngine.h"
#include "print/NameSenderLayout.h"
#include "print/PrintFrames.h"

#include <QPainter>
#include <algorithm>

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
    return ShapeToDeviceBox(FrameOf(face.Frames, frame), face.PreviewPixelsPerMm, dpiX, dpiY);
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

QRect ToRect(const LayoutBox &box) {
    return QRect(box.Left, box.Top, box.Width, box.Height);
}

// The area of the postal code digits drawn from `at` (mm): `count` characters `pitchMm` apart,
// one millimetre more after the third, each as wide as the font is high.
QRect DigitsArea(QPointF atMm, int dpi, double pitchMm, double size) {
    const int height = Rnd(size * dpi / 72);
    const int left = Rnd(atMm.x() * dpi / 25.4);
    return QRect(left, Rnd(atMm.y() * dpi / 25.4), Rnd((6 * pitchMm + 1) * dpi / 25.4) + height,
                 height);
}

// Full-width conversion makes every hyphen a bar, which stands as a stroke between the numbers
// of a column; a line keeps a hyphen there.
QString WithHyphens(QString text, bool vertical) {
    if (!vertical)
        text.replace(QChar(0x2015), QChar(0xFF0D));
    return text;
}

TPrintSenderData DrawSender(const FaceContext &context, const FaceSettings &face, int dpiX,
                            const TSenderBuff &sender) {
    const int dpi = context.Dpi;
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
    for (QString *text : {&record.PrintAddress1, &record.PrintAddress2, &record.PrintPostCode,
                          &record.PrintTel, &record.PrintFax})
        *text = WithHyphens(*text, face.Vertical);
    record = LayoutSender(context, record, DeviceBox(face, PrintFrame::Sender, dpiX, dpi));
    if (record.PrintPostCode.isEmpty()) {
        const QPointF at = BoxesOriginMm(face, PrintFrame::UnderPostCode);
        DrawSenderPostalBoxes(context.Canvas, record.MarkedZipCode, dpi, at.x(), at.y());
    }
    if (face.Vertical) {
        record.PrintAddress1 = ToKanjiNumerals(record.PrintAddress1, face.CountedNumerals);
        record.PrintAddress2 = ToKanjiNumerals(record.PrintAddress2, face.CountedNumerals);
    }
    DrawSenderBlock(context, record);
    return record;
}

bool IsDigit(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= QChar(0xFF10) && c <= QChar(0xFF19));
}

// Where a long address line breaks: at its first blank (the building follows it), else at the
// end or start of a block number nearest the middle; 0 when there is no such place.
qsizetype AddressBreak(const QString &line) {
    static const QString blanks = QStringLiteral(" 　");
    for (qsizetype i = 1; i + 1 < line.size(); ++i)
        if (blanks.contains(line.at(i)))
            return i;
    static const QString units = QStringLiteral("丁目番地号");
    static const QString joints = QStringLiteral("-－ー‐");
    const auto inNumber = [&](QChar c) {
        return IsDigit(c) || units.contains(c) || joints.contains(c);
    };
    qsizetype best = 0;
    for (qsizetype i = 1; i < line.size(); ++i) {
        const QChar before = line.at(i - 1), after = line.at(i);
        const bool ends = (IsDigit(before) || units.contains(before)) && !inNumber(after);
        const bool starts = !inNumber(before) && IsDigit(after);
        if ((ends || starts) &&
            (best == 0 || qAbs(2 * i - line.size()) < qAbs(2 * best - line.size())))
            best = i;
    }
    return best;
}

// The address lines as printed: a first line that would fall below kAddressBreakSize is broken
// in two, its rest leading the second line, when that prints larger.
struct AddressLines {
    QString First;
    QString Second;
    TPrintAddressData Layout;
};
AddressLines LayOutAddressLines(const FaceContext &context, const LayoutBox &box,
                                const QString &first, const QString &second, double size,
                                bool counted) {
    const auto layOut = [&](const QString &line1, const QString &line2) {
        AddressLines lines{line1, line2, {}};
        if (context.Vertical) {
            lines.First = ToKanjiNumerals(line1, counted);
            lines.Second = ToKanjiNumerals(line2, counted);
        }
        lines.Layout = LayoutAddress(context, box, lines.Second, lines.First, size);
        return lines;
    };
    const AddressLines whole = layOut(first, second);
    const qsizetype at = AddressBreak(first);
    if (whole.Layout.FontSize >= kAddressBreakSize || at == 0 || second.size() > first.size())
        return whole;
    QString rest = first.mid(at).trimmed();
    if (!second.trimmed().isEmpty())
        rest += QChar(0x3000) + second.trimmed();
    const AddressLines broken = layOut(first.left(at).trimmed(), rest);
    if (broken.Layout.FontSize > whole.Layout.FontSize)
        return broken;
    return layOut(first, second); // leaves the canvas as the chosen layout made it
}

// The smallest size among the texts that are printed.
class SmallestSize {
public:
    void Consider(double size, const QString &text) {
        if (!text.trimmed().isEmpty() && (smallest_ == 0 || size < smallest_))
            smallest_ = size;
    }
    double Value() const { return smallest_; }

private:
    double smallest_ = 0;
};

} // namespace

QString ToKanjiNumerals(const QString &text, bool counted) {
    static const QString kanji = QStringLiteral("〇一二三四五六七八九");
    static const QString places = QStringLiteral("千百十");
    const auto isDigit = [](QChar c) { return c >= QChar(0xFF10) && c <= QChar(0xFF19); };
    const auto isLetter = [&text](qsizetype at) {
        if (at < 0 || at >= text.size())
            return false;
        const char16_t c = text.at(at).unicode();
        return (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A) ||
               (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
    };
    QString out;
    for (qsizetype i = 0; i < text.size();) {
        if (!isDigit(text.at(i))) {
            out += text.at(i++);
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && isDigit(text.at(end)))
            ++end;
        if (isLetter(i - 1) || isLetter(end)) {
            out += text.mid(i, end - i);
            i = end;
            continue;
        }
        const qsizetype length = end - i;
        const bool readOut = counted && length <= 4 && text.at(i) != QChar(0xFF10);
        for (qsizetype k = i; k < end; ++k) {
            const int digit = text.at(k).unicode() - 0xFF10;
            const qsizetype place = end - k - 1; // 3 thousands, 2 hundreds, 1 tens, 0 ones
            if (!readOut)
                out += kanji.at(digit);
            else if (place == 0 && digit > 0)
                out += kanji.at(digit);
            else if (place > 0 && digit > 0)
                out += (digit > 1 ? QString(kanji.at(digit)) : QString()) + places.at(3 - place);
        }
        i = end;
    }
    return out;
}

FaceReport ComposeFace(QPainter &painter, const FaceSettings &face, int dpiX, int dpiY, int itemGap,
                       const PrintRow &row, const TSenderBuff &sender) {
    // The layout engine works in the vertical resolution.
    const int dpi = dpiY;
    const bool vertical = face.Vertical;
    const QString &faceName = face.FaceName;
    painter.save();
    const QRect paper(0, 0, Rnd(dpiX * face.PaperMm.width() / 25.4),
                      Rnd(dpiY * face.PaperMm.height() / 25.4));
    painter.fillRect(paper, Qt::white);
    painter.setBrush(Qt::NoBrush);
    LayoutCanvas canvas(painter, faceName);
    const FaceContext context{canvas, faceName, dpi, itemGap, vertical};

    const FaceTexts texts = GatherFaceTexts(row);
    const QString address1 = WithHyphens(ToFullWidth(texts.Address1), vertical);
    const QString address2 = WithHyphens(ToFullWidth(texts.Address2), vertical);
    NameBlockTexts nameTexts;
    nameTexts.Name = ToFullWidth(texts.Name);
    nameTexts.Honorific = ToFullWidth(texts.Honorific);
    nameTexts.Company = ToFullWidth(texts.Company);
    nameTexts.Department = ToFullWidth(texts.Department);
    nameTexts.Position = ToFullWidth(texts.Position);
    nameTexts.Form = texts.Form;
    nameTexts.JointCount = texts.JointCount;
    const QString markedPostalCode =
        NormalisedPostalCode(texts.PostalCode).value_or(texts.PostalCode) + kPostalCodeEndMarker;

    TPrintNameData nameData;
    for (int i = 0; i < texts.JointCount; ++i)
        SetJointName(nameData, i, texts.JointNames[i], texts.JointTitles[i]);

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
        barcode = LayoutBarcode(canvas, dpi, DeviceBox(face, PrintFrame::Costomer, dpiX, dpi),
                                (address1 + address2).trimmed(), markedPostalCode, face.ZipDataPath,
                                kBarcodeStart);
    TPrintCostomerData postalLine;
    if (face.LabelTab)
        postalLine =
            LayoutPostalLine(canvas, dpi, DeviceBox(face, PrintFrame::UpperPostCode, dpiX, dpi),
                             markedPostalCode, kPostalLineStart);
    const AddressLines lines =
        LayOutAddressLines(context, DeviceBox(face, PrintFrame::Address, dpiX, dpi), address1,
                           address2, addressSize, face.CountedNumerals);
    const TPrintAddressData &address = lines.Layout;
    nameData =
        LayoutName(context, nameData, nameTexts, DeviceBox(face, PrintFrame::Name, dpiX, dpi));

    FaceReport report;
    const auto box = [&](PrintFrame frame) { return ToRect(DeviceBox(face, frame, dpiX, dpi)); };
    QList<QRect> &areas = report.InkAreas;
    areas << box(PrintFrame::Address) << box(PrintFrame::Name);
    const QPointF digitsAt = BoxesOriginMm(face, PrintFrame::UpperPostCode);
    areas << (face.LabelTab ? box(PrintFrame::UpperPostCode) : DigitsArea(digitsAt, dpi, 7, 15));
    if (face.PrintSender)
        areas << box(PrintFrame::Sender)
              << DigitsArea(BoxesOriginMm(face, PrintFrame::UnderPostCode), dpi, 4, 13);

    if (face.PrintCostom) {
        report.BarcodeOutcome = FaceReport::Barcode::NotBuildable;
        if (!barcode.Text.isEmpty() && barcode.Text != kBarcodeError) {
            CreateLayoutFont(context.Barcode(), barcode.FontSize);
            const QRect bars(barcode.Left, barcode.Top, MeasureText(canvas, barcode.Text),
                             BarcodeBars::BarHeight(barcode.FontSize, dpi));
            const bool clear = std::none_of(areas.cbegin(), areas.cend(), [&](const QRect &area) {
                return area.intersects(bars);
            });
            if (barcode.WiderThanBox && !(paper.contains(bars) && clear)) {
                report.BarcodeOutcome = FaceReport::Barcode::LeftOut;
            } else {
                DrawItemText(context.Barcode(), barcode.Text, bars.topLeft(), barcode.FontSize);
                report.BarcodeOutcome = FaceReport::Barcode::Printed;
                report.BarcodeSize = barcode.FontSize;
                report.BarcodeArea = bars;
                areas << bars.united(box(PrintFrame::Costomer));
            }
        }
    }
    SmallestSize smallest;
    if (face.LabelTab) {
        DrawPostalLine(context, markedPostalCode, QPoint(postalLine.Left, postalLine.Top),
                       postalLine.FontSize);
        smallest.Consider(postalLine.FontSize, texts.PostalCode);
    } else {
        DrawPostalBoxes(canvas, markedPostalCode, dpi, digitsAt.x(), digitsAt.y());
    }
    DrawItemText(context, lines.First, address.Line1, address.FontSize);
    DrawItemText(context, lines.Second, address.Line2, address.FontSize);
    smallest.Consider(address.FontSize, lines.First + lines.Second);
    if (!(lines.First + lines.Second).trimmed().isEmpty())
        report.AddressSize = address.FontSize;
    DrawNameBlock(context, nameData, nameTexts);
    if (nameTexts.Form == NameForm::Personal) {
        smallest.Consider(nameData.NameSize, nameTexts.Name);
    } else {
        smallest.Consider(nameData.CompanySize, nameTexts.Company);
        smallest.Consider(nameData.PostSize, nameTexts.Department);
        if (nameTexts.Form != NameForm::CompanyOnchu)
            smallest.Consider(nameData.ExecutiveSize, nameTexts.Position);
        if (nameTexts.Form == NameForm::CompanyNamed)
            smallest.Consider(nameData.NameSize, nameTexts.Name);
    }

    if (face.PrintSender) {
        const TPrintSenderData s = DrawSender(context, face, dpiX, sender);
        smallest.Consider(s.AddressSize, s.PrintAddress1 + s.PrintAddress2);
        smallest.Consider(s.SenderNameSize, s.PrintFamilyName + s.PrintGivenName);
        smallest.Consider(s.TelFaxSize, s.PrintTel + s.PrintFax);
    }
    report.SmallestTextSize = smallest.Value();
    painter.restore();
    return report;
}
