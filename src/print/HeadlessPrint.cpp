#include "print/HeadlessPrint.h"

#include "core/IniFile.h"
#include "platform/ZipData.h"
#include "print/AddressCheck.h"
#include "print/ComposeFace.h"
#include "print/PrintAdjust.h"
#include "print/PrintFonts.h"
#include "print/PrintFrames.h"
#include "print/PrintRun.h"
#include "print/PrintSettings.h"
#include "print/SenderData.h"
#include "store/TableEngine.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

namespace {

const QString kNoSheet = QStringLiteral("印刷用紙が選択されていません。");

int Fail(QString *error, const QString &text) {
    if (error)
        *error = text;
    return 1;
}

// The stored label sheet; the reason in *error when there is none to print on.
std::optional<SheetGeometry> StoredSheet(const QString &dataPath, const PrintSettings &settings,
                                         QString *error) {
    QList<LabelSheet> sheets;
    if (!ReadPaperFile(dataPath + kPaperFileName, sheets, error))
        return std::nullopt;
    const QList<LabelSheet> listed = SheetsOfMaker(sheets, MakerTabs().value(settings.PMaker));
    if (settings.PIndex < 0 || settings.PIndex >= listed.size()) {
        *error = kNoSheet;
        return std::nullopt;
    }
    std::optional<SheetGeometry> sheet = SheetGeometryOf(listed.at(settings.PIndex));
    if (!sheet)
        *error = kBadSheetMessage;
    return sheet;
}

void SetUpPdfPrinter(QPrinter &printer, const QString &path, const PrintRunRequest &request) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setResolution(kPdfDpi);
    printer.setDocName(QStringLiteral("印刷"));
    printer.setFullPage(true);
    SetPaperOf(printer, request);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

} // namespace

FaceSettings StoredFaceSettings(const PrintSettings &settings,
                                const std::optional<SheetGeometry> &sheet,
                                const QString &zipDataPath) {
    FaceSettings face;
    face.LabelTab = sheet.has_value();
    face.Vertical = settings.Vertical && !face.LabelTab;
    face.PrintSender = settings.PrintSender && !face.LabelTab;
    face.PrintCostom = settings.PrintCostom;
    face.CountedNumerals = settings.CountedNumerals;
    QSize panel;
    if (sheet) {
        face.PaperMm = sheet->LabelMm;
        panel = LabelPanelSize(face.PaperMm);
    } else {
        const PaperKind &kind = PaperKindOf(settings.PostcardIndex);
        face.PaperMm = kind.PaperMm;
        panel = PanelSizeFor(kind.PaperMm, kind.PanelHeight);
    }
    face.PreviewPixelsPerMm = panel.width() / face.PaperMm.width();
    face.PictureHeight = panel.height();
    const FrameSet frames =
        settings.FramesStored || !sheet ? settings.Frames : LabelTabFrames(panel);
    for (const PrintFrame frame : kAllFrames)
        FrameOf(face.Frames, frame) = BringInside(FrameOf(frames, frame), panel);
    face.FaceName =
        ChooseFontEntry(FontListEntries(InstalledJapaneseFaces(), face.Vertical), settings.Font);
    if (face.FaceName.isEmpty())
        face.FaceName = (face.Vertical ? kVerticalFaceMark : QString()) + kDefaultFontName;
    face.ZipDataPath = zipDataPath;
    return face;
}

namespace {

struct StoredRun {
    PrintRunRequest Request;
    TSenderBuff Sender;
};

// The marked customers with the choices the window last kept; the reason in *error when there
// is nothing to print or no usable sheet.
std::optional<StoredRun> LoadStoredRun(Database &database, const QString &dataPath,
                                       const QList<int> &customerIds, QString *error) {
    IniFile ini(SenderConfPath(dataPath));
    ini.Load();
    const PrintSettings settings = ReadPrintSettings(ini);

    StoredRun run;
    try {
        run.Request.Rows = RowsToPrint(FillPrintList(database, customerIds));
    } catch (const EngineError &failure) {
        Fail(error, failure.message());
        return std::nullopt;
    }
    if (run.Request.Rows.isEmpty()) {
        Fail(error, kNothingToPrint);
        return std::nullopt;
    }
    if (settings.Type == 1) {
        QString why;
        run.Request.Sheet = StoredSheet(dataPath, settings, &why);
        if (!run.Request.Sheet) {
            Fail(error, why);
            return std::nullopt;
        }
    }
    run.Request.PaperKind = run.Request.Sheet ? 0 : settings.PostcardIndex;
    run.Request.Face = StoredFaceSettings(settings, run.Request.Sheet, ZipFilePath(dataPath));
    run.Request.OffsetMm = OffsetMm(settings.Offsets.For(
        {}, OffsetIndex(run.Request.Sheet.has_value(), settings.PostcardIndex)));
    run.Sender = ReadSenderBuff(ini);
    return run;
}

} // namespace

int PrintAddressesToPdf(Database &database, const QString &dataPath, const QList<int> &customerIds,
                        const QString &pdfPath, QString *error) {
    const std::optional<StoredRun> run = LoadStoredRun(database, dataPath, customerIds, error);
    if (!run)
        return 1;
    const TSenderBuff &sender = run->Sender;
    const auto drawFace = [&sender](QPainter &painter, const FaceSettings &face, int dpiX, int dpiY,
                                    int gap, const PrintRow &row) {
        ComposeFace(painter, face, dpiX, dpiY, gap, row, sender);
    };

    // The run writes beside the target and renames over it once complete.
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdfPrinter(printer, pdfPath, run->Request);
    QString why;
    if (RunPrint(printer, run->Request, drawFace, {}, &why) != PrintRunResult::Printed)
        return Fail(error, why);
    return 0;
}

int CheckAddressesHeadless(Database &database, const QString &dataPath,
                           const QList<int> &customerIds, QStringList *problems, QString *error,
                           const MournerLookup &mournersFor) {
    const std::optional<StoredRun> run = LoadStoredRun(database, dataPath, customerIds, error);
    if (!run)
        return 1;
    QSet<int> mourners;
    try {
        if (mournersFor)
            mourners = mournersFor(run->Request.PaperKind);
    } catch (const EngineError &failure) {
        return Fail(error, failure.message());
    }
    *problems = ProblemLines(
        CheckAddresses(run->Request.Rows, run->Request.Face, run->Sender, kPdfDpi, {}, mourners));
    return problems->isEmpty() ? 0 : 3;
}
