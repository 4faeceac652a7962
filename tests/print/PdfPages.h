#pragma once

// Looking into PDF files the print runs wrote: their pages counted, and a page turned into a
// picture with pdftoppm (poppler-utils) when it is installed.

#include <QFile>
#include <QImage>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <optional>

// The page objects of the file ("/Type /Page", not "/Type /Pages").
// An A4 PDF printer at 300 dpi writing to `path`.
inline void SetUpPdf(QPrinter &printer, const QString &path, bool fullPage = true) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setResolution(300);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(fullPage);
}

inline int PdfPageCount(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    return static_cast<int>(QString::fromLatin1(file.readAll()).count(page));
}

inline bool HasPdfToPpm() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty();
}

// Page `page` (from 1) at `dpi`; nothing when pdftoppm is missing or fails. With `pngPath`
// the picture is also kept there.
inline std::optional<QImage> RenderPdfPage(const QString &pdfPath, int page, double dpi,
                                           const QString &pngPath = {}) {
    if (!HasPdfToPpm())
        return std::nullopt;
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("page"));
    QProcess pdftoppm;
    pdftoppm.start(QStringLiteral("pdftoppm"),
                   {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                    QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                    QString::number(page), QStringLiteral("-singlefile"), pdfPath, base});
    if (!pdftoppm.waitForFinished(60000) || pdftoppm.exitCode() != 0)
        return std::nullopt;
    QImage image(base + QStringLiteral(".png"));
    if (image.isNull())
        return std::nullopt;
    if (!pngPath.isEmpty())
        image.save(pngPath);
    return image;
}
