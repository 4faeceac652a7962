#pragma once

#include "store/EngineError.h"

#include <QString>
#include <array>
#include <functional>

class Database;
class PictureStorage;

// Moving a whole book from one engine to another (the local book to a server and back): every
// customer, history entry, class name, greeting entry, pair declared different and picture.

// What a book holds, as the copy compares it.
struct BookCounts {
    int customers = 0;
    int historyEntries = 0;
    int classNames = 0;
    int greetingEntries = 0;
    int distinctPairs = 0;
    int pictures = 0;
    bool operator==(const BookCounts &) const = default;
};

// Counts the book's rows and the pictures its customers name. Throws EngineError.
BookCounts CountBook(Database &book, const PictureStorage &pictures);

// A book holding no customer, history entry, greeting entry, pair or picture; the class names
// a fresh book is laid out with do not count.
bool IsEmptyBook(const BookCounts &counts);

// Told after each row or picture copied: those done and those in all; false stops the copy.
using CopyProgress = std::function<bool(int done, int total)>;

// A copy stopped by its progress; the target was left as it was.
class CopyCancelled : public EngineError {
public:
    CopyCancelled()
        : EngineError(QStringLiteral("コピーを取り消しました。コピー先の台帳は元のまま"
                                     "（空）です。")) {}
};

// Copies the book `source` into the empty book `target` (both upgraded to the full schema), in
// one transaction of the target: the target's class names are replaced, pictures are stored
// under their customer and slot. The target's counts are compared with the source's before the
// commit. Throws EngineError, with the target left as it was: when the target is not empty,
// a statement is refused, or the counts differ; CopyCancelled when the progress stopped it.
// Returns the counts copied.
BookCounts CopyBook(Database &source, const PictureStorage &sourcePictures, Database &target,
                    PictureStorage &targetPictures, const CopyProgress &progress = {});

// "顧客 12件、履歴 30件、…" for the user.
QString BookCountsText(const BookCounts &counts);
