#include "print/PrintSettings.h"

#include "core/IniFile.h"
#include "print/PaperSheets.h"

#include <QRegularExpression>
#include <QUrl>
#include <utility>
#include <vector>

namespace {

// The largest frame coordinate a preview can have; anything beyond is not a stored frame.
constexpr int kMaxFramePixels = 2000;
constexpr int kMaxPaperRow = 9999;

const QString keyType = QStringLiteral("TYPE");
const QString keyPostcardIndex = QStringLiteral("POSTCARD_INDEX");
const QString keyVertical = QStringLiteral("VERTICAL");
const QString keyPrintSender = QStringLiteral("PRINT_SENDER");
const QString keyPrintCostom = QStringLiteral("PRINT_COSTOM");
const QString keyFont = QStringLiteral("FONT");
const QString keyMaker = QStringLiteral("P_MAKER");
const QString keyPaperIndex = QStringLiteral("P_INDEX");
const QString keyCountedNumerals = QStringLiteral("KANJI_COUNTED");

// Key prefixes of the frames, in the order they are written.
const std::array<std::pair<const char *, PrintFrame>, kFrameCount> framePrefixes = {{
    {"ZIP", PrintFrame::UpperPostCode},
    {"ADD", PrintFrame::Address},
    {"NAM", PrintFrame::Name},
    {"CUS", PrintFrame::Costomer},
    {"SEN", PrintFrame::Sender},
    {"SZIP", PrintFrame::UnderPostCode},
}};

// One key per printer, entry and axis: "X_3_<printer, percent-encoded>".
const QString kPrinterAdjustSection = QStringLiteral("PRINT_ADJUST");

QString PrinterOffsetKey(const char *axis, int index, const QString &printer) {
    return QStringLiteral("%1_%2_%3")
        .arg(QLatin1String(axis))
        .arg(index)
        .arg(QString::fromLatin1(QUrl::toPercentEncoding(printer)));
}

void ReadPrinterOffsets(const IniFile &ini, PrintAdjustments &adjustments) {
    static const QRegularExpression keyForm(QStringLiteral("^([XY])_(\\d+)_(.+)$"));
    for (const QString &key : ini.Keys(kPrinterAdjustSection)) {
        const QRegularExpressionMatch m = keyForm.match(key);
        const int index = m.hasMatch() ? m.captured(2).toInt() : -1;
        const int value = ini.ReadInteger(kPrinterAdjustSection, key, kMaxOffsetTenths + 1);
        if (index < 0 || index > kLastPaperKind || qAbs(value) > kMaxOffsetTenths)
            continue;
        const QString printer = QUrl::fromPercentEncoding(m.captured(3).toLatin1());
        QPoint &offset = adjustments.ByPrinter[printer][index];
        (m.captured(1) == u'X' ? offset.rx() : offset.ry()) = value;
    }
}

void WritePrinterOffsets(IniFile &ini, const PrintAdjustments &adjustments) {
    ini.EraseSection(kPrinterAdjustSection);
    for (auto printer = adjustments.ByPrinter.cbegin(); printer != adjustments.ByPrinter.cend();
         ++printer)
        for (auto entry = printer->cbegin(); entry != printer->cend(); ++entry) {
            ini.WriteInteger(kPrinterAdjustSection,
                             PrinterOffsetKey("X", entry.key(), printer.key()), entry->x());
            ini.WriteInteger(kPrinterAdjustSection,
                             PrinterOffsetKey("Y", entry.key(), printer.key()), entry->y());
        }
}

QString OffsetKey(const char *axis, int index) {
    return QStringLiteral("ADJUST_%1_%2").arg(QLatin1String(axis)).arg(index);
}

QString FrameKey(const char *prefix, const char *part) {
    return QStringLiteral("%1_%2").arg(QLatin1String(prefix), QLatin1String(part));
}

int ReadRanged(const IniFile &ini, const QString &key, int defaultValue, int low, int high) {
    const int value = ini.ReadInteger(kPrintConfSection, key, defaultValue);
    return value >= low && value <= high ? value : defaultValue;
}

QStringList OurKeys() {
    QStringList keys = {keyType,        keyPostcardIndex, keyVertical, keyPrintSender,
                        keyPrintCostom, keyFont,          keyMaker,    keyPaperIndex};
    for (const auto &[prefix, frame] : framePrefixes)
        for (const char *part : {"LEFT", "TOP", "WID", "HIG"})
            keys << FrameKey(prefix, part);
    keys << keyCountedNumerals;
    for (int index = 0; index <= kLastPaperKind; ++index)
        keys << OffsetKey("X", index) << OffsetKey("Y", index);
    return keys;
}

} // namespace

QPoint PrintAdjustments::For(const QString &printer, int index) const {
    const QMap<int, QPoint> own = ByPrinter.value(printer);
    return own.contains(index) ? own.value(index) : Common.at(index);
}

void PrintAdjustments::Set(const QString &printer, int index, const QPoint &tenths) {
    if (printer.isEmpty())
        Common.at(index) = tenths;
    else
        ByPrinter[printer][index] = tenths;
}

PrintSettings ReadPrintSettings(const IniFile &ini) {
    PrintSettings s;
    s.Type = ReadRanged(ini, keyType, s.Type, 0, 1);
    s.PostcardIndex =
        ReadRanged(ini, keyPostcardIndex, s.PostcardIndex, kFirstPaperKind, kLastPaperKind);
    s.Vertical = ini.ReadBool(kPrintConfSection, keyVertical, s.Vertical);
    s.PrintSender = ini.ReadBool(kPrintConfSection, keyPrintSender, s.PrintSender);
    s.PrintCostom = ini.ReadBool(kPrintConfSection, keyPrintCostom, s.PrintCostom);
    const QString font = ini.ReadString(kPrintConfSection, keyFont).trimmed();
    if (!font.isEmpty())
        s.Font = font;
    s.PMaker = ReadRanged(ini, keyMaker, s.PMaker, 0, static_cast<int>(MakerTabs().size()) - 1);
    s.PIndex = ReadRanged(ini, keyPaperIndex, s.PIndex, 0, kMaxPaperRow);
    s.Frames = DefaultFrames(s.PostcardIndex, s.Vertical);
    const QStringList present = ini.Keys(kPrintConfSection);
    for (const auto &[prefix, frame] : framePrefixes) {
        if (present.contains(FrameKey(prefix, "LEFT"), Qt::CaseInsensitive))
            s.FramesStored = true;
        const QRect fallback = FrameOf(s.Frames, frame);
        const int left =
            ReadRanged(ini, FrameKey(prefix, "LEFT"), fallback.left(), 0, kMaxFramePixels);
        const int top =
            ReadRanged(ini, FrameKey(prefix, "TOP"), fallback.top(), 0, kMaxFramePixels);
        const int width =
            ReadRanged(ini, FrameKey(prefix, "WID"), fallback.width(), 1, kMaxFramePixels);
        const int height =
            ReadRanged(ini, FrameKey(prefix, "HIG"), fallback.height(), 1, kMaxFramePixels);
        FrameOf(s.Frames, frame) = QRect(left, top, width, height);
    }
    s.CountedNumerals = ini.ReadBool(kPrintConfSection, keyCountedNumerals, s.CountedNumerals);
    for (int index = 0; index <= kLastPaperKind; ++index)
        s.Offsets.Common[index] =
            QPoint(ReadRanged(ini, OffsetKey("X", index), 0, -kMaxOffsetTenths, kMaxOffsetTenths),
                   ReadRanged(ini, OffsetKey("Y", index), 0, -kMaxOffsetTenths, kMaxOffsetTenths));
    ReadPrinterOffsets(ini, s.Offsets);
    return s;
}

void WritePrintSettings(IniFile &ini, const PrintSettings &settings) {
    const QStringList ours = OurKeys();
    QStringList present;
    std::vector<std::pair<QString, QString>> foreign;
    for (const QString &key : ini.Keys(kPrintConfSection)) {
        if (ours.contains(key, Qt::CaseInsensitive))
            present << key.toUpper();
        else
            foreign.emplace_back(key, ini.ReadString(kPrintConfSection, key));
    }
    // A section written by someone else in another order is rewritten, so ours come in order.
    const bool reorder = present != ours.mid(0, present.size());
    if (reorder)
        ini.EraseSection(kPrintConfSection);

    ini.WriteInteger(kPrintConfSection, keyType, settings.Type);
    ini.WriteInteger(kPrintConfSection, keyPostcardIndex, settings.PostcardIndex);
    ini.WriteBool(kPrintConfSection, keyVertical, settings.Vertical);
    ini.WriteBool(kPrintConfSection, keyPrintSender, settings.PrintSender);
    ini.WriteBool(kPrintConfSection, keyPrintCostom, settings.PrintCostom);
    ini.WriteString(kPrintConfSection, keyFont, settings.Font);
    ini.WriteInteger(kPrintConfSection, keyMaker, settings.PMaker);
    ini.WriteInteger(kPrintConfSection, keyPaperIndex, settings.PIndex);
    for (const auto &[prefix, frame] : framePrefixes) {
        const QRect &r = FrameOf(settings.Frames, frame);
        ini.WriteInteger(kPrintConfSection, FrameKey(prefix, "LEFT"), r.left());
        ini.WriteInteger(kPrintConfSection, FrameKey(prefix, "TOP"), r.top());
        ini.WriteInteger(kPrintConfSection, FrameKey(prefix, "WID"), r.width());
        ini.WriteInteger(kPrintConfSection, FrameKey(prefix, "HIG"), r.height());
    }
    ini.WriteBool(kPrintConfSection, keyCountedNumerals, settings.CountedNumerals);
    for (int index = 0; index <= kLastPaperKind; ++index) {
        const QPoint &common = settings.Offsets.Common[index];
        ini.WriteInteger(kPrintConfSection, OffsetKey("X", index), common.x());
        ini.WriteInteger(kPrintConfSection, OffsetKey("Y", index), common.y());
    }
    if (reorder)
        for (const auto &[key, value] : foreign)
            ini.WriteString(kPrintConfSection, key, value);
    WritePrinterOffsets(ini, settings.Offsets);
}
