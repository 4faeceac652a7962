#include "Bench.h"

#include "../tests/common/TestEnv.h"
#include "contacts/DuplicateFinder.h"
#include "store/TableEngine.h"

#include <QSet>
#include <memory>

namespace {

constexpr int Customers = 100000;
// Every hundredth customer is entered a second time, as a spreadsheet import writes it.
constexpr int PlantedEvery = 100;

const QStringList FamilyNames = {"高橋", "山崎", "渡辺", "斎藤", "沢田",   "浜口", "桜井",
                                 "広田", "国分", "佐藤", "鈴木", "田中",   "伊藤", "中村",
                                 "小林", "加藤", "吉田", "山田", "佐々木", "山口"};
const QStringList VariantFamilyNames = {"髙橋", "山﨑", "渡邊", "齋藤", "澤田",   "濱口", "櫻井",
                                        "廣田", "國分", "佐藤", "鈴木", "田中",   "伊藤", "中村",
                                        "小林", "加藤", "吉田", "山田", "佐々木", "山口"};
const QStringList GivenNames = {"一郎", "花子", "健", "美咲", "誠", "恵", "翔", "優", "進", "太一",
                                "久作", "瑛子", "洋", "勇",   "舞", "亮", "望", "功", "直", "修",
                                "治",   "樹",   "葵", "智",   "翼", "拓", "敦", "清"};
const QStringList Towns = {"東京都新宿区西新宿",       "大阪府大阪市北区梅田",
                           "神奈川県横浜市西区",       "愛知県名古屋市中区栄",
                           "福岡県福岡市中央区天神",   "北海道札幌市中央区北二条西",
                           "宮城県仙台市青葉区一番町", "京都府京都市北区紫野"};

struct Row {
    QString name, kana, zip, address1, address2, tel, mobile, mail;
};

Row CustomerRow(int i) {
    const int family = i % int(FamilyNames.size());
    const int given = (i / int(FamilyNames.size())) % int(GivenNames.size());
    Row row;
    row.name = FamilyNames.at(family) + u' ' + GivenNames.at(given);
    row.kana = QStringLiteral("ｺｷｬｸ %1").arg(i % 997);
    row.zip = QStringLiteral("%1-%2").arg(100 + i % 900).arg(i % 10000, 4, 10, QLatin1Char('0'));
    row.address1 = Towns.at(i % Towns.size()) +
                   QStringLiteral("%1-%2-%3").arg(1 + i % 9).arg(1 + i / 9 % 40).arg(1 + i / 360);
    if (i % 3 == 0)
        row.address2 = QStringLiteral("メゾン%1 %2号室").arg(i % 50).arg(101 + i % 7);
    row.tel = QStringLiteral("0%1-%2-%3")
                  .arg(3 + i % 6)
                  .arg(1000 + i % 9000)
                  .arg(i / 9 % 10000, 4, 10, QLatin1Char('0'));
    if (i % 4 == 0)
        row.mobile = QStringLiteral("090-%1-%2")
                         .arg(i / 10000 % 10000, 4, 10, QLatin1Char('0'))
                         .arg(i % 10000, 4, 10, QLatin1Char('0'));
    row.mail = QStringLiteral("user%1@example.jp").arg(i);
    return row;
}

// The same customer as a second entry writes it: variant kanji, no blanks, the block numbers in
// kanji forms, the phone without hyphens, the mail in capitals, and no reading.
Row PlantedTwin(int i) {
    Row row = CustomerRow(i);
    row.name = VariantFamilyNames.at(i % int(FamilyNames.size())) +
               GivenNames.at((i / int(FamilyNames.size())) % int(GivenNames.size()));
    row.kana.clear();
    row.address1 =
        Towns.at(i % Towns.size()) +
        QStringLiteral("%1丁目%2番%3号").arg(1 + i % 9).arg(1 + i / 9 % 40).arg(1 + i / 360);
    row.address2.clear();
    row.tel.remove(u'-');
    row.mobile.clear();
    row.mail = row.mail.toUpper();
    row.zip.clear();
    return row;
}

struct DuplicateBook {
    TestEnv env;
    DuplicateBook() {
        Database &database = env.db();
        Transaction transaction(database);
        const std::unique_ptr<EngineStatement> insert = database.GetEngine().Prepare(
            QStringLiteral("insert into usertbl (Name, Kana, Zip, Address1, Address2, TelNo_1, "
                           "TelNo_2, Mail_1) values (?, ?, ?, ?, ?, ?, ?, ?)"));
        const auto add = [&insert](const Row &row) {
            const QString values[] = {row.name,     row.kana, row.zip,    row.address1,
                                      row.address2, row.tel,  row.mobile, row.mail};
            for (int column = 0; column < 8; ++column) {
                const QByteArray utf8 = values[column].toUtf8();
                if (utf8.isEmpty())
                    insert->BindNull(column + 1);
                else
                    insert->BindText(column + 1, utf8);
            }
            insert->Step();
            insert->Reset();
        };
        for (int i = 0; i < Customers - Customers / PlantedEvery; ++i) {
            add(CustomerRow(i));
            if (i % (PlantedEvery - 1) == 0)
                add(PlantedTwin(i));
        }
        transaction.Commit();
    }
};

DuplicateBook &TheDuplicateBook() {
    static DuplicateBook book;
    return book;
}

std::vector<DuplicatePair> found;

} // namespace

PELLOR3_BENCH_FIGURE(FindDuplicates100000, "find_duplicates_100000_ms", "ms") {
    Database &database = TheDuplicateBook().env.db();
    return MedianMs(
        3, [&database] { found = *FindDuplicatesInBook(database, [](int, int) { return true; }); });
}

// The engine alone reading the columns the search reads.
PELLOR3_BENCH_FIGURE(ScanDuplicateColumns100000, "sqlite_scan_duplicate_columns_100000_ms", "ms") {
    Database &database = TheDuplicateBook().env.db();
    return MedianMs(3, [&database] {
        const std::unique_ptr<EngineStatement> select = database.GetEngine().Prepare(
            QStringLiteral("select UserId, Name, Kana, Zip, Address1, Address2, TelNo_1, "
                           "TelNo_2, Mail_1, Mail_2, OfficeZip, OfficeAddress1, OfficeAddress2, "
                           "OfficeTel_1, OfficeTel_2, OfficeMail_1, OfficeMail_2 from usertbl"));
        qsizetype bytes = 0;
        while (select->Step())
            for (int column = 1; column < select->ColumnCount(); ++column)
                bytes += select->Text(column).size();
        Q_UNUSED(bytes);
    });
}

// How many of the planted second entries the search found; every one should be.
PELLOR3_BENCH_FIGURE(PlantedDuplicatesFound, "planted_duplicates_found_of_1000", "pairs") {
    if (found.empty())
        FindDuplicates100000();
    Database &database = TheDuplicateBook().env.db();
    Query planted(database, QStringLiteral("select UserId from Usertbl where Kana is null"));
    QSet<int> twins;
    for (planted.Open(); !planted.AtEnd(); planted.Next())
        twins.insert(planted.AsInteger(QStringLiteral("UserId")));
    int hits = 0;
    for (const DuplicatePair &pair : found)
        if (twins.contains(pair.otherUserId) && pair.otherUserId == pair.userId + 1)
            ++hits;
    return hits;
}
