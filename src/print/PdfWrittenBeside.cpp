#include "print/PdfWrittenBeside.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <unistd.h>

namespace {

// A PDF written whole ends in its trailer and reached the disk; a full disk leaves it cut short.
bool IsCompletePdf(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || file.size() < 64 || !file.seek(file.size() - 64))
        return false;
    const bool trailer = file.read(64).trimmed().endsWith("%%EOF");
    return trailer && ::fsync(file.handle()) == 0;
}

} // namespace

bool WritesPdfFile(const QPrinter &printer) {
    return printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
}

PdfWrittenBeside::PdfWrittenBeside(QPrinter &printer) : printer_(printer) {
    if (!WritesPdfFile(printer))
        return;
    target_ = printer.outputFileName();
    printer.setOutputFileName(target_ + QStringLiteral(".part"));
}

PdfWrittenBeside::~PdfWrittenBeside() {
    if (target_.isEmpty())
        return;
    if (!completed_)
        QFile::remove(printer_.outputFileName());
    printer_.setOutputFileName(target_);
}

QString PdfWrittenBeside::ShownName() const {
    return QDir::toNativeSeparators(target_.isEmpty() ? printer_.outputFileName() : target_);
}

bool PdfWrittenBeside::Complete() {
    if (target_.isEmpty())
        return true;
    const QString partial = printer_.outputFileName();
    // Cards and lists carry birthdays and phones: the file is for the user alone.
    completed_ = IsCompletePdf(partial) &&
                 QFile::setPermissions(partial, QFile::ReadOwner | QFile::WriteOwner) &&
                 ::rename(QFile::encodeName(partial).constData(),
                          QFile::encodeName(target_).constData()) == 0;
    return completed_;
}
