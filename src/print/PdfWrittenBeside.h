#pragma once

#include <QString>

class QPrinter;

// Whether the printer writes a PDF file rather than printing on paper.
bool WritesPdfFile(const QPrinter &printer);

// A PDF is written beside the file the user named, as "<name>.part", and renamed over it only
// once whole, so a cancelled or failed run leaves an earlier file of that name as it was and a
// crash never leaves half a PDF under the user's name. A printer that prints on paper is left
// as it is. Made before the painter begins; when it goes, the printer has its name back and an
// unfinished ".part" is removed.
class PdfWrittenBeside {
public:
    explicit PdfWrittenBeside(QPrinter &printer);
    ~PdfWrittenBeside();
    PdfWrittenBeside(const PdfWrittenBeside &) = delete;
    PdfWrittenBeside &operator=(const PdfWrittenBeside &) = delete;

    // The name the user knows the file by.
    QString ShownName() const;
    // After the painter has ended: puts the PDF under the user's name once it ends in its
    // trailer and has reached the disk. False when it is cut short (a full disk) or cannot be
    // renamed; the ".part" is then removed and the earlier file kept.
    bool Complete();

private:
    QPrinter &printer_;
    QString target_;
    bool completed_ = false;
};
