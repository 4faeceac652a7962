#include "../common/TestEnv.h"
#include "core/ShiftJis.h"
#include "core/TextFile.h"
#include "print/PaperSheets.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList Record(const QString &maker, const QString &model, const QStringList &values) {
    QStringList lines = {"*" + maker + "," + model};
    for (const QString &value : values)
        lines << value + "'";
    return lines;
}

NewSheetInput GoodInput(const QString &title = "自作12面") {
    NewSheetInput in;
    in.Title = title;
    in.LabelWidth = "86.4";
    in.LabelHeight = "42.3";
    in.TopMargin = "21.2";
    in.BottomMargin = "22";
    in.LeftMargin = "18.6";
    in.RightMargin = "18.6";
    in.Columns = "2";
    in.Rows = "6";
    return in;
}

QStringList Models(const QList<LabelSheet> &sheets) {
    QStringList models;
    for (const LabelSheet &sheet : sheets)
        models << sheet.Model;
    return models;
}

} // namespace

class TestPaperSheets : public QObject {
    Q_OBJECT

private slots:
    void readsRecordsAndValuesBeforeTheMark() {
        const QStringList lines =
            Record("ヒサゴ", "ELM006 10面",
                   {"0", "86.4", "50.8", " 21.2 ", "21.8", "18.6 ' note", "18.6", "2", "5"}) +
            Record("エーワン", "28388, 44面",
                   {"1", "48.3", "25.4", "8.8", "8.8", "8.4", "8.4", "4", "11"});
        const QList<LabelSheet> sheets = ParsePaperLines(lines);
        QCOMPARE(sheets.size(), 2);
        QCOMPARE(sheets[0].Maker, QString("ヒサゴ"));
        QCOMPARE(sheets[0].TopMargin, QString("21.2"));
        QCOMPARE(sheets[0].LeftMargin, QString("18.6"));
        QCOMPARE(sheets[0].ListColumns(),
                 QStringList({"86.4", "50.8", "21.2", "21.8", "18.6", "18.6", "2", "5", "0"}));
        QCOMPARE(sheets[1].Model, QString("28388, 44面"));
        QCOMPARE(sheets[1].Direction, QString("1"));
    }

    void incompleteFilesListOnlyWholeRecords_data() {
        QTest::addColumn<int>("linesKept");
        QTest::addColumn<int>("records");
        QTest::newRow("empty") << 0 << 0;
        QTest::newRow("head only") << 1 << 0;
        QTest::newRow("nine lines") << 9 << 0;
        QTest::newRow("one record") << 10 << 1;
        QTest::newRow("one and a half") << 15 << 1;
        QTest::newRow("two less a line") << 19 << 1;
    }
    void incompleteFilesListOnlyWholeRecords() {
        QFETCH(int, linesKept);
        QFETCH(int, records);
        const QStringList all =
            Record("ヒサゴ", "A", {"0", "1", "1", "0", "0", "0", "0", "1", "1"}) +
            Record("ヒサゴ", "B", {"0", "1", "1", "0", "0", "0", "0", "1", "1"});
        QCOMPARE(ParsePaperLines(all.mid(0, linesKept)).size(), records);
    }

    void missingFileIsReported() {
        QTemporaryDir dir;
        QList<LabelSheet> sheets;
        QString error;
        const QString path = dir.filePath("paper.cfg");
        QVERIFY(!ReadPaperFile(path, sheets, &error));
        QVERIFY(error.startsWith(QDir::toNativeSeparators(path) + " を読み込めません。"));
        QVERIFY(sheets.isEmpty());
        NewSheetInput in = GoodInput();
        QVERIFY(QDir().mkdir(path));
        QCOMPARE(AddOriginalSheet(path, in, &error), AddSheetResult::Failed);
        QVERIFY(error.startsWith(QDir::toNativeSeparators(path) + " を読み込めません。"));
        QVERIFY(!DeleteOriginalSheet(path, "Mine", &error));
        QVERIFY(error.startsWith(QDir::toNativeSeparators(path) + " を読み込めません。"));
    }

    void shippedFileListsThePublishedSheetsByMaker() {
        TestEnv env;
        QList<LabelSheet> sheets;
        QVERIFY(ReadPaperFile(env.dataPath() + kPaperFileName, sheets));
        QCOMPARE(SheetsOfMaker(sheets, "ヒサゴ").size(), 12);
        QCOMPARE(Models(SheetsOfMaker(sheets, "エーワン")),
                 QStringList({"75210 10面", "28388 44面"}));
        QVERIFY(SheetsOfMaker(sheets, kOriginalMaker).isEmpty());
        QVERIFY(SheetsOfMaker(sheets, "マクセル").isEmpty());
        for (const LabelSheet &sheet : sheets)
            QVERIFY2(SheetGeometryOf(sheet).has_value(), qPrintable(sheet.Model));
    }

    void geometryFollowsTheDirection() {
        LabelSheet sheet = ParsePaperLines(
            Record("ヒサゴ", "A", {"1", "98", "40", "12.5", "12.5", "5", "5", "2", "4"}))[0];
        auto g = SheetGeometryOf(sheet);
        QVERIFY(g);
        QCOMPARE(g->SheetMm, QSizeF(297, 210));
        QVERIFY(g->Landscape);
        QCOMPARE(g->LabelMm, QSizeF(98, 40));
        QCOMPARE(g->Columns, 2);
        QCOMPARE(g->Rows, 4);
        sheet.Direction = "0";
        QCOMPARE(SheetGeometryOf(sheet)->SheetMm, QSizeF(210, 297));
    }

    void unusableSheetsAreRefused_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("value");
        QTest::newRow("no columns") << 6 << "0";
        QTest::newRow("no rows") << 7 << "0";
        QTest::newRow("columns as text") << 6 << "二";
        QTest::newRow("rows with a fraction") << 7 << "2.5";
        QTest::newRow("width as text") << 0 << "abc";
        QTest::newRow("zero height") << 1 << "0";
        QTest::newRow("negative margin") << 2 << "-1";
        QTest::newRow("empty margin") << 5 << "";
        QTest::newRow("endless width") << 0 << "inf";
        QTest::newRow("three columns wider than A4") << 6 << "3";
        QTest::newRow("rows below the sheet") << 7 << "6";
        QTest::newRow("margins beyond the sheet") << 3 << "40";
    }
    void unusableSheetsAreRefused() {
        QFETCH(int, field);
        QFETCH(QString, value);
        QStringList values = {"86.4", "50.8", "21.2", "21.8", "18.6", "18.6", "2", "5"};
        values[field] = value;
        const LabelSheet sheet = ParsePaperLines(Record("x", "y", QStringList{"0"} + values))[0];
        QVERIFY(!SheetGeometryOf(sheet));
    }

    void registrationChecksEachFieldInOrder_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("title") << -1 << "  "
                               << "ラベルのタイトルを入力して下さい";
        QTest::newRow("width") << 0 << ""
                               << "ラベル幅を入力して下さい";
        QTest::newRow("height") << 1 << " "
                                << "ラベル高さを入力して下さい";
        QTest::newRow("top") << 2 << ""
                             << "上余白を入力して下さい";
        QTest::newRow("bottom") << 3 << ""
                                << "下余白を入力して下さい";
        QTest::newRow("left") << 4 << ""
                              << "左余白を入力して下さい";
        QTest::newRow("right") << 5 << ""
                               << "右余白を入力して下さい";
        QTest::newRow("columns") << 6 << ""
                                 << "列数を入力して下さい";
        QTest::newRow("rows") << 7 << ""
                              << "段数を入力して下さい";
        QTest::newRow("zero columns") << 6 << "0"
                                      << "列数には1から99までの整数を入力して下さい";
        QTest::newRow("text rows") << 7 << "abc"
                                   << "段数には1から99までの整数を入力して下さい";
        QTest::newRow("text width") << 0 << "幅"
                                    << "ラベル幅には0より大きく297以下の数値を入力して下さい";
        QTest::newRow("negative margin") << 3 << "-2"
                                         << "下余白には0以上297未満の数値を入力して下さい";
        QTest::newRow("labels beyond A4") << 6 << "3" << kSheetTooLargeMessage;
        QTest::newRow("all good") << -2 << ""
                                  << "";
    }
    void registrationChecksEachFieldInOrder() {
        QFETCH(int, field);
        QFETCH(QString, value);
        QFETCH(QString, message);
        NewSheetInput in = GoodInput();
        QString *fields[] = {&in.LabelWidth, &in.LabelHeight, &in.TopMargin, &in.BottomMargin,
                             &in.LeftMargin, &in.RightMargin, &in.Columns,   &in.Rows};
        if (field == -1)
            in.Title = value;
        else if (field >= 0)
            *fields[field] = value;
        QCOMPARE(CheckNewSheet(in), message);
    }

    void registeredSheetIsAppendedUnderOriginal() {
        TestEnv env;
        const QString path = env.dataPath() + kPaperFileName;
        QStringList before;
        QVERIFY(TextFile::ReadLines(path, before));
        NewSheetInput in = GoodInput();
        in.Landscape = true;
        QCOMPARE(AddOriginalSheet(path, in), AddSheetResult::Added);

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.endsWith(ShiftJis::Encode("*オリジナル,自作12面\r\n1'\r\n86.4'\r\n42.3'\r\n"
                                                "21.2'\r\n22'\r\n18.6'\r\n18.6'\r\n2'\r\n6'\r\n")));
        QList<LabelSheet> sheets;
        QVERIFY(ReadPaperFile(path, sheets));
        QCOMPARE(sheets.size(), before.size() / kSheetRecordLines + 1);
        QCOMPARE(Models(SheetsOfMaker(sheets, kOriginalMaker)), QStringList{"自作12面"});
        QCOMPARE(sheets.last().Model, QString("自作12面"));
        QVERIFY(!Models(SheetsOfMaker(sheets, "ヒサゴ")).contains("自作12面"));
    }

    // A file that does not end on a whole record would hide the new one behind it.
    void registeringAfterAnUnevenEnd_data() {
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<bool>("added");
        QTest::newRow("blank line") << QByteArray("\r\n") << true;
        QTest::newRow("blank lines") << QByteArray("\r\n  \r\n\r\n") << true;
        QTest::newRow("record cut short") << QByteArray("*X,Y\r\n0'\r\n") << false;
    }
    void registeringAfterAnUnevenEnd() {
        QFETCH(QByteArray, tail);
        QFETCH(bool, added);
        TestEnv env;
        const QString path = env.dataPath() + kPaperFileName;
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write(tail);
        file.close();
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        QString error;
        QCOMPARE(AddOriginalSheet(path, GoodInput(), &error),
                 added ? AddSheetResult::Added : AddSheetResult::Failed);
        QList<LabelSheet> sheets;
        QVERIFY(ReadPaperFile(path, sheets));
        QCOMPARE(Models(SheetsOfMaker(sheets, kOriginalMaker)),
                 added ? QStringList{"自作12面"} : QStringList());
        QCOMPARE(SheetsOfMaker(sheets, "ヒサゴ").size(), 12);
        if (!added) {
            QVERIFY(error.contains(kPaperFileName));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), before);
        }
    }

    void duplicateTitlesAreRefusedInAnyCase() {
        QTemporaryDir dir;
        const QString path = dir.filePath("paper.cfg");
        QCOMPARE(AddOriginalSheet(path, GoodInput("Home A")), AddSheetResult::Added);
        QCOMPARE(AddOriginalSheet(path, GoodInput("Other")), AddSheetResult::Added);
        QCOMPARE(AddOriginalSheet(path, GoodInput("home a")), AddSheetResult::Duplicate);
        QCOMPARE(AddOriginalSheet(path, GoodInput(" HOME A ")), AddSheetResult::Duplicate);
        QList<LabelSheet> sheets;
        QVERIFY(ReadPaperFile(path, sheets));
        QCOMPARE(Models(sheets), QStringList({"Home A", "Other"}));
    }

    void deletingRemovesOnlyThatOwnSheet() {
        QTemporaryDir dir;
        const QString path = dir.filePath("paper.cfg");
        QVERIFY(TextFile::WriteLines(
            path, Record("ヒサゴ", "Mine", {"0", "1", "1", "0", "0", "0", "0", "1", "1"})));
        QCOMPARE(AddOriginalSheet(path, GoodInput("Mine")), AddSheetResult::Added);
        QCOMPARE(AddOriginalSheet(path, GoodInput("Keep")), AddSheetResult::Added);
        QVERIFY(DeleteOriginalSheet(path, "Mine"));
        QList<LabelSheet> sheets;
        QVERIFY(ReadPaperFile(path, sheets));
        QCOMPARE(Models(sheets), QStringList({"Mine", "Keep"}));
        QCOMPARE(sheets[0].Maker, QString("ヒサゴ"));
        QVERIFY(DeleteOriginalSheet(path, "Absent"));
        QVERIFY(ReadPaperFile(path, sheets));
        QCOMPARE(sheets.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestPaperSheets)
#include "tst_papersheets.moc"
