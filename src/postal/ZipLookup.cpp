#include "postal/ZipLookup.h"

#include "platform/Prompt.h"
#include "postal/FormSearchZip.h"

#include <QDir>
#include <QLineEdit>
#include <algorithm>

namespace {

constexpr qsizetype kShortestCodeKey = 3;

const QString kUnknownCode = QStringLiteral("郵便番号が不明です");
const QString kUnknownAddress = QStringLiteral("住所が不明です");

// Reads the file (or uses the copy in memory); on failure fills the error and returns null.
const ZipData *LoadZipData(const QString &dataPath, ZipSearch &search) {
    const QString path = ZipFilePath(dataPath);
    ZipData &data = SharedZipData();
    const ZipData::LoadResult result = data.Load(path);
    if (result == ZipData::LoadResult::Ready)
        return &data;
    search.outcome = ZipSearch::Outcome::FileError;
    const QString shown = QDir::toNativeSeparators(path);
    search.message = result == ZipData::LoadResult::Empty
                         ? QStringLiteral("郵便番号データ「%1」が空です。").arg(shown)
                         : QStringLiteral("郵便番号データ「%1」を開けませんでした。\r\n"
                                          "ファイルがないか、読み取りが許可されていません。")
                               .arg(shown);
    search.message +=
        QStringLiteral("\r\n「〒データ更新」で郵便番号データを取得し直してください。");
    return nullptr;
}

void Finish(ZipSearch &search, QList<ZipRow> rows, const QString &unknown) {
    search.rows = std::move(rows);
    search.outcome =
        search.rows.isEmpty() ? ZipSearch::Outcome::NotFound : ZipSearch::Outcome::Found;
    if (search.rows.isEmpty())
        search.message = unknown;
}

void Present(TFormSearchZip &form, const ZipSearch &search, const ZipLookupTarget &target) {
    switch (search.outcome) {
    case ZipSearch::Outcome::Found:
        form.ShowRows(search.keyCaption, search.rows, target.zipEdit, target.address1Edit);
        break;
    case ZipSearch::Outcome::NotFound:
        prompt().Message(search.message);
        break;
    case ZipSearch::Outcome::FileError:
        prompt().Error(search.message);
        break;
    }
}

} // namespace

ZipSearch SearchZipByCode(const QString &dataPath, const QString &zipText) {
    ZipSearch search;
    search.keyCaption = QStringLiteral("検索キー:") + zipText;
    const QString key = ZipCodeKey(zipText);
    if (key.size() < kShortestCodeKey) {
        search.message = kUnknownCode;
        return search;
    }
    if (const ZipData *data = LoadZipData(dataPath, search))
        Finish(search, data->FindByCode(key), kUnknownCode);
    return search;
}

ZipSearch SearchZipByAddress(const QString &dataPath, const QString &addressText) {
    ZipSearch search;
    search.keyCaption = QStringLiteral("検索キー：") + addressText;
    if (addressText.isEmpty()) {
        search.message = kUnknownAddress;
        return search;
    }
    if (const ZipData *data = LoadZipData(dataPath, search))
        Finish(search, data->FindByAddress(addressText), kUnknownAddress);
    return search;
}

bool IsWholePostalCode(const QString &zipText) {
    const QString key = ZipCodeKey(zipText);
    return key.size() == 7 &&
           std::all_of(key.begin(), key.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

void LookUpAddressByZip(TFormSearchZip &form, const ZipLookupTarget &target) {
    if (!target.customerSelected)
        return;
    Present(form, SearchZipByCode(target.dataPath, target.zipEdit->text()), target);
}

void LookUpZipByAddress(TFormSearchZip &form, const ZipLookupTarget &target) {
    if (!target.customerSelected)
        return;
    Present(form, SearchZipByAddress(target.dataPath, target.address1Edit->text()), target);
}
