#include "core/ShiftJis.h"
#include "core/TextFile.h"
#include "postal/ZipLookup.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Written in this order, so results must keep it: duplicates, codes out of order, a line
// without a comma, an address holding a comma, letters of both cases and widths.
const QStringList kFixture = {
    QStringLiteral("1000001,東京都千代田区千代田"),
    QStringLiteral("0600906,北海道札幌市東区北六条東"),
    QStringLiteral("1000002,東京都千代田区皇居外苑"),
    QStringLiteral("1000001,東京都千代田区千代田"),
    QStringLiteral("1010000,東京都千代田区"),
    QStringLiteral("5300001,大阪府大阪市北区梅田Tower,別館"),
    QStringLiteral("5300002,大阪府大阪市北区梅田Ｔｏｗｅｒ"),
    QStringLiteral("住所だけの行100"),
};

QStringList Codes(const QList<ZipRow> &rows) {
    QStringList codes;
    for (const ZipRow &row : rows)
        codes << row.code;
    return codes;
}

void WriteBytes(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray CrLfText(const QStringList &lines) {
    return ShiftJis::Encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

} // namespace

class TestZipLookup : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void rowFromLine_data();
    void rowFromLine();
    void searchByCode_data();
    void searchByCode();
    void shortCodeKeyIsRefusedWithoutReadingTheFile_data();
    void shortCodeKeyIsRefusedWithoutReadingTheFile();
    void searchByAddress_data();
    void searchByAddress();
    void unusableFileIsReportedByName_data();
    void unusableFileIsReportedByName();
    void changedFileIsReadAgain();
    void shippedDataHoldsTheNationalCodes();
    void shippedDataListsEveryTownOfACode_data();
    void shippedDataListsEveryTownOfACode();
    void shippedDataIsCurrent_data();
    void shippedDataIsCurrent();

private:
    QString ZipPath() const { return ZipFilePath(dataDir_->path()); }
    void WriteFixture(const QStringList &lines) { WriteBytes(ZipPath(), CrLfText(lines)); }

    std::unique_ptr<QTemporaryDir> dataDir_;
    QTemporaryDir shippedDir_; // data folder holding the shipped zip.dat, unpacked once
};

void TestZipLookup::initTestCase() {
    QVERIFY(shippedDir_.isValid());
    QVERIFY(QDir(shippedDir_.path()).mkpath(QStringLiteral("zip")));
    QProcess gunzip;
    gunzip.setStandardOutputFile(ZipFilePath(shippedDir_.path()));
    gunzip.start("gzip", {"-dc", PELLOR3_SOURCE_DIR "/data/zip/zip.dat.gz"});
    QVERIFY(gunzip.waitForFinished(60000));
    QCOMPARE(gunzip.exitCode(), 0);
}

void TestZipLookup::init() {
    dataDir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dataDir_->isValid());
    QVERIFY(QDir(dataDir_->path()).mkpath(QStringLiteral("zip")));
}

void TestZipLookup::rowFromLine_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("address");

    const QString longCode = QString(140, u'7');
    const QString longAddress = QString(600, u'あ');
    QTest::newRow("plain") << "1000001,東京都千代田区千代田"
                           << "100-0001"
                           << "東京都千代田区千代田";
    QTest::newRow("further commas") << "1234567,a,b,c"
                                    << "123-4567"
                                    << "a,b,c";
    QTest::newRow("no comma") << "東京都千代田区"
                              << "-"
                              << "東京都千代田区";
    QTest::newRow("short code") << "12,x"
                                << "12-"
                                << "x";
    QTest::newRow("empty address") << "1000000,"
                                   << "100-0000"
                                   << "";
    QTest::newRow("long code") << longCode + ",x"
                               << "777-" + QString(128, u'7') << "x";
    QTest::newRow("long address") << "1000001," + longAddress << "100-0001"
                                  << longAddress.left(512);
}

void TestZipLookup::rowFromLine() {
    QFETCH(QString, line);
    QFETCH(QString, code);
    QFETCH(QString, address);
    QCOMPARE(ZipRowFromLine(line), (ZipRow{code, address}));
}

void TestZipLookup::searchByCode_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("codes");

    const QStringList exact = {"100-0001", "100-0001"};
    QTest::newRow("hyphen") << "100-0001" << exact;
    QTest::newRow("no hyphen") << "1000001" << exact;
    QTest::newRow("stray hyphens") << "-10-00-001-" << exact;
    QTest::newRow("three digits") << "100" << QStringList{"100-0001", "100-0002", "100-0001"};
    QTest::newRow("five digits") << "530-00" << QStringList{"530-0001", "530-0002"};
    QTest::newRow("leading zero") << "060" << QStringList{"060-0906"};
    QTest::newRow("full-width digits") << "１００-０００１" << exact;
    QTest::newRow("full-width hyphen") << "100－0001" << exact;
    QTest::newRow("long vowel mark typed for the hyphen") << "１００ー０００１" << exact;
    QTest::newRow("letters") << "abcdefg" << QStringList{};
    QTest::newRow("start of a line without comma") << "住所だけ" << QStringList{"-"};
    QTest::newRow("too long") << "10000011" << QStringList{};
}

void TestZipLookup::searchByCode() {
    QFETCH(QString, typed);
    QFETCH(QStringList, codes);
    WriteFixture(kFixture);

    const ZipSearch search = SearchZipByCode(dataDir_->path(), typed);
    QCOMPARE(search.keyCaption, "検索キー:" + typed);
    QCOMPARE(Codes(search.rows), codes);
    QCOMPARE(search.outcome,
             codes.isEmpty() ? ZipSearch::Outcome::NotFound : ZipSearch::Outcome::Found);
    if (codes.isEmpty())
        QCOMPARE(search.message, QStringLiteral("郵便番号が不明です"));
}

void TestZipLookup::shortCodeKeyIsRefusedWithoutReadingTheFile_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("empty") << "";
    QTest::newRow("two digits") << "10";
    QTest::newRow("two digits and hyphens") << "-1-0-";
}

void TestZipLookup::shortCodeKeyIsRefusedWithoutReadingTheFile() {
    QFETCH(QString, typed);
    // There is no zip.dat at all: reading it would be reported as a file error.
    const ZipSearch search = SearchZipByCode(dataDir_->path(), typed);
    QCOMPARE(search.outcome, ZipSearch::Outcome::NotFound);
    QCOMPARE(search.message, QStringLiteral("郵便番号が不明です"));
}

void TestZipLookup::searchByAddress_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("codes");

    QTest::newRow("town") << "千代田区千代田" << QStringList{"100-0001", "100-0001"};
    QTest::newRow("digits match codes and text")
        << "100" << QStringList{"100-0001", "100-0002", "100-0001", "101-0000", "-"};
    QTest::newRow("across the code and the comma")
        << "0001,東京" << QStringList{"100-0001", "100-0001"};
    QTest::newRow("after a further comma") << "別館" << QStringList{"530-0001"};
    QTest::newRow("letter case ignored") << "tOWER" << QStringList{"530-0001"};
    QTest::newRow("full-width letter case ignored") << "ＴＯＷＥＲ" << QStringList{"530-0002"};
    QTest::newRow("space not ignored") << "千代田区 千代田" << QStringList{};
    QTest::newRow("kana width not ignored") << "ﾁﾖﾀﾞ" << QStringList{};
    QTest::newRow("very long") << QString(5000, u'東') << QStringList{};
}

void TestZipLookup::searchByAddress() {
    QFETCH(QString, typed);
    QFETCH(QStringList, codes);
    WriteFixture(kFixture);

    const ZipSearch search = SearchZipByAddress(dataDir_->path(), typed);
    QCOMPARE(search.keyCaption, "検索キー：" + typed);
    QCOMPARE(Codes(search.rows), codes);
    QCOMPARE(search.outcome,
             codes.isEmpty() ? ZipSearch::Outcome::NotFound : ZipSearch::Outcome::Found);
    if (codes.isEmpty())
        QCOMPARE(search.message, QStringLiteral("住所が不明です"));

    const ZipSearch empty = SearchZipByAddress(dataDir_->path(), QString());
    QCOMPARE(empty.outcome, ZipSearch::Outcome::NotFound);
    QCOMPARE(empty.message, QStringLiteral("住所が不明です"));
}

void TestZipLookup::unusableFileIsReportedByName_data() {
    QTest::addColumn<QString>("problem");
    QTest::newRow("missing") << "missing";
    QTest::newRow("empty") << "empty";
    QTest::newRow("folder") << "folder";
}

void TestZipLookup::unusableFileIsReportedByName() {
    QFETCH(QString, problem);
    WriteFixture(kFixture);
    QCOMPARE(SearchZipByCode(dataDir_->path(), "100").outcome, ZipSearch::Outcome::Found);

    QVERIFY(QFile::remove(ZipPath()));
    if (problem == "empty")
        WriteBytes(ZipPath(), {});
    if (problem == "folder")
        QVERIFY(QDir().mkpath(ZipPath()));

    // The copy held from the earlier lookup must not hide the problem.
    for (const ZipSearch &search :
         {SearchZipByCode(dataDir_->path(), "100"), SearchZipByAddress(dataDir_->path(), "東京")}) {
        QCOMPARE(search.outcome, ZipSearch::Outcome::FileError);
        QVERIFY2(search.message.contains(QDir::toNativeSeparators(ZipPath())),
                 qPrintable(search.message));
        QVERIFY(search.rows.isEmpty());
    }
}

void TestZipLookup::changedFileIsReadAgain() {
    WriteFixture({QStringLiteral("1000001,東京都千代田区千代田")});
    QCOMPARE(SearchZipByCode(dataDir_->path(), "100").rows.size(), 1);

    // Same size, only the time stamp tells the new content apart.
    QFile file(ZipPath());
    WriteBytes(ZipPath(), CrLfText({QStringLiteral("1000001,東京都千代田区丸の内")}));
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(60),
                             QFileDevice::FileModificationTime));
    file.close();
    QCOMPARE(SearchZipByCode(dataDir_->path(), "100").rows,
             (QList<ZipRow>{{"100-0001", "東京都千代田区丸の内"}}));

    // Lone LF and CR line ends are read as well.
    WriteBytes(ZipPath(), ShiftJis::Encode("1000001,東京都\n1000002,大阪府\r1000003,京都府"));
    QCOMPARE(Codes(SearchZipByCode(dataDir_->path(), "100").rows),
             (QStringList{"100-0001", "100-0002", "100-0003"}));
}

void TestZipLookup::shippedDataHoldsTheNationalCodes() {
    QFile file(ZipFilePath(shippedDir_.path()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // Every character survives code page 932, and every line is "7 digits,address" CR LF.
    QCOMPARE(ShiftJis::Encode(ShiftJis::Decode(bytes)), bytes);
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
    const QStringList lines = TextFile::SplitLines(ShiftJis::Decode(bytes));
    // Japan Post's area file has about 124 000 lines and its office file about 22 000; keeping
    // one town per code would give fewer than 144 000.
    QVERIFY2(lines.size() > 144000 && lines.size() < 150000,
             qPrintable(QString::number(lines.size())));
    const QRegularExpression shape(QStringLiteral("^\\d{7},\\S+$"));
    for (const QString &line : lines)
        QVERIFY2(shape.match(line).hasMatch(), qPrintable(line));

    QStringList version;
    QVERIFY(TextFile::ReadLines(PELLOR3_SOURCE_DIR "/data/zip/version.txt", version));
    QCOMPARE(version.size(), 2);
    QVERIFY(QRegularExpression(QStringLiteral("^\\d{8}$")).match(version.at(0)).hasMatch());
    QVERIFY(!version.at(1).isEmpty());
}

void TestZipLookup::shippedDataListsEveryTownOfACode_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("addresses");
    QTest::newRow("one town") << "100-0001" << QStringList{"東京都千代田区千代田"};
    QTest::newRow("leading zero") << "0600906" << QStringList{"北海道札幌市東区北六条東"};
    QTest::newRow("several towns")
        << "036-0151"
        << QStringList{"青森県平川市石郷沖中", "青森県平川市石郷村元", "青森県平川市石郷柳田"};
    QTest::newRow("town of a city since 2016") << "981-3301" << QStringList{"宮城県富谷市志戸田"};
    QTest::newRow("large office: street number kept, notes dropped")
        << "003-8701" << QStringList{"北海道札幌市白石区平和通１６丁目南１番１号"};
    QTest::newRow("only a note for a town") << "409-0211" << QStringList{"山梨県北都留郡小菅村"};
}

void TestZipLookup::shippedDataListsEveryTownOfACode() {
    QFETCH(QString, typed);
    QFETCH(QStringList, addresses);
    QStringList found;
    for (const ZipRow &row : SearchZipByCode(shippedDir_.path(), typed).rows)
        found << row.address;
    QCOMPARE(found, addresses);
}

void TestZipLookup::shippedDataIsCurrent_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("listed");
    QTest::newRow("富谷市 (2016)") << "宮城県富谷市" << true;
    QTest::newRow("富谷町 before it") << "黒川郡富谷町" << false;
    QTest::newRow("浜松市中央区 (2024)") << "静岡県浜松市中央区" << true;
    QTest::newRow("浜松市中区 before it") << "浜松市中区" << false;
    QTest::newRow("那珂川市 (2018)") << "福岡県那珂川市" << true;
    QTest::newRow("那珂川町 before it") << "筑紫郡那珂川町" << false;
    QTest::newRow("second town of a code") << "平川市石郷柳田" << true;
}

void TestZipLookup::shippedDataIsCurrent() {
    QFETCH(QString, typed);
    QFETCH(bool, listed);
    QCOMPARE(SearchZipByAddress(shippedDir_.path(), typed).outcome,
             listed ? ZipSearch::Outcome::Found : ZipSearch::Outcome::NotFound);
}

QTEST_GUILESS_MAIN(TestZipLookup)
#include "tst_ziplookup.moc"
