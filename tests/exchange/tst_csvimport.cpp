#include "ExchangeTestContext.h"

#include "core/ShiftJis.h"
#include "exchange/CsvText.h"
#include "exchange/FormImport.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QTableWidget>
#include <QTest>

namespace {

// The given columns of every customer in key order, "|"-joined; NULL reads as "-".
QStringList Stored(TestEnv &env, const QString &columns) {
    QStringList rows;
    Query query(env.db(), QStringLiteral("select %1 from Usertbl order by UserId").arg(columns));
    for (query.Open(); !query.AtEnd(); query.Next()) {
        QStringList values;
        for (const QString &name : query.FieldNames())
            values << (query.IsNull(name) ? QStringLiteral("-") : query.AsString(name));
        rows << values.join(u'|');
    }
    return rows;
}

QByteArray Utf8(const char16_t *text) {
    return QString::fromUtf16(text).toUtf8();
}

QByteArray Sjis(const char16_t *text) {
    return ShiftJis::Encode(QString::fromUtf16(text));
}

} // namespace

class TestCsvImport : public QObject {
    Q_OBJECT
private slots:
    void setCsvText_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("empty middle field") << "a,,b" << QStringList{"a", "", "b"};
        QTest::newRow("trailing comma adds none") << "a,b," << QStringList{"a", "b"};
        QTest::newRow("tab separates") << "a\tb" << QStringList{"a", "b"};
        QTest::newRow("only first loses blanks") << "  a, b" << QStringList{"a", " b"};
        QTest::newRow("quoted comma kept") << "\"ab, cd\",x" << QStringList{"ab, cd", "x"};
        QTest::newRow("doubled quote") << "\"O\"\"Brien\",x" << QStringList{"O\"Brien", "x"};
        QTest::newRow("unbalanced quote") << "\"abc,def" << QStringList{"abc,def"};
        QTest::newRow("blank line") << "" << QStringList{};
        QTest::newRow("tab inside a comma line") << "a\tb,c" << QStringList{"a\tb", "c"};
        QTest::newRow("empty field between tabs") << "a\t\tb,c" << QStringList{"a", "", "b,c"};
        QTest::newRow("text ends at NUL")
            << QString("a,b") + QChar(0) + ",c" << QStringList{"a", "b"};
    }
    void setCsvText() {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        TStringListEx list;
        list.SetCsvText(line, DetectSeparator({line}));
        QCOMPARE(QStringList(list), fields);
    }

    void storedRows_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("assignments");
        QTest::addColumn<QString>("columns");
        QTest::addColumn<QStringList>("rows");
        const QStringList four{"名前", "ﾌﾘｶﾞﾅ", "敬称", "生年月日"};
        const QString nameKanaTitleBirth = "Name,Kana,NameTitle,BirthDay,MakeDay,UseType";
        QTest::newRow("described example")
            << Sjis(u"abc,ｱｲｳ,,1990/1/5\r\n") << four << nameKanaTitleBirth
            << QStringList{"abc|ｱｲｳ|-|1990-01-05|2024-05-15|0"};
        QTest::newRow("fewer and more fields")
            << QByteArray("a,b,c,d,e,f\r\nx\r\n") << four << "Name,Kana,NameTitle"
            << QStringList{"a|b|c", "x|-|-"};
        QTest::newRow("unassigned titles are 様")
            << QByteArray("x\r\n") << QStringList{"名前"} << "NameTitle,RenNameTitle4,Sex"
            << QStringList{"様|様|-"};
        QTest::newRow("quotes and commas kept")
            << Sjis(u"\"O'Neil \"\"Jr\"\"\",\"1,000\"\r\n") << QStringList{"名前", "住所１"}
            << "Name,Address1" << QStringList{"O'Neil \"Jr\"|1,000"};
        QTest::newRow("readings half-width")
            << Sjis(u"やまだ たろう,ガッコウ\r\n") << QStringList{"ﾌﾘｶﾞﾅ", "会社名フリガナ"}
            << "Kana,OfficeKana" << QStringList{"ﾔﾏﾀﾞ ﾀﾛｳ|ｶﾞｯｺｳ"};
        QTest::newRow("no date and bad date stay empty")
            << QByteArray("a,\r\nb,1990/13/40\r\nc,soon\r\n") << QStringList{"名前", "生年月日"}
            << "Name,BirthDay" << QStringList{"a|-", "b|-", "c|-"};
        QTest::newRow("dates as phones and spreadsheets write them")
            << Sjis(u"a,1985-07-07\r\nb,1985.7.7\r\nc,1985年7月7日\r\nd,1985-07-07T09:30:00\r\n"
                    u"e,1985/7/7 0:00\r\nf,--07-07\r\n")
            << QStringList{"名前", "生年月日"} << "Name,BirthDay"
            << QStringList{"a|1985-07-07", "b|1985-07-07", "c|1985-07-07",
                           "d|1985-07-07", "e|1985-07-07", "f|-"};
        QTest::newRow("blank line and CR only") << QByteArray("a\r\rb\r") << QStringList{"名前"}
                                                << "Name" << QStringList{"a", "-", "b"};
        QTest::newRow("UTF-8 with BOM")
            << QByteArray("\xEF\xBB\xBF") + Utf8(u"山田,ﾔﾏﾀﾞ\r\n") << QStringList{"名前", "ﾌﾘｶﾞﾅ"}
            << "Name,Kana" << QStringList{"山田|ﾔﾏﾀﾞ"};
        QTest::newRow("UTF-8 without BOM, wave dash")
            << Utf8(u"山田〜,x\n") << QStringList{"名前"} << "Name" << QStringList{"山田～"};
        QTest::newRow("line breaks inside quotes")
            << Utf8(u"\"いつもの\nお客様\",a\r\n\"1\r\n\r\n2\"\r\nb\r\n")
            << QStringList{"備考", "名前"} << "Note,Name"
            << QStringList{"いつもの\r\nお客様|a", "1\r\n\r\n2|-", "b|-"};
        QTest::newRow("header mapped, era, postal code")
            << Sjis(u"氏名,〒,誕生日,分類\r\n山田,〒530-0001,昭和55年4月1日,3\r\n") << QStringList{}
            << "Name,Zip,BirthDay,Class" << QStringList{"山田|530-0001|1980-04-01|3"};
        QTest::newRow("class by name, number, or neither")
            << Sjis(u"名前,分類\r\na,項目3\r\nb,2\r\nc,99\r\nd,なし\r\n") << QStringList{}
            << "Name,Class" << QStringList{"a|2", "b|2", "c|0", "d|0"};
        QTest::newRow("postal codes")
            << Sjis(u"a,100 0001\r\nb,1000001\r\nc,１０５－００１１\r\nd,12345\r\n")
            << QStringList{"名前", "郵便番号"} << "Name,Zip"
            << QStringList{"a|100-0001", "b|100-0001", "c|105-0011", "d|12345"};
        QTest::newRow("era dates, short and future years")
            << Sjis(u"a,S55.4.1\r\nb,H2/2/28\r\nc,令和元年5月1日\r\nd,大正3年1月2日\r\n"
                    u"e,明治45年7月29日\r\nf,90/1/5\r\ng,2099/1/1\r\n")
            << QStringList{"名前", "生年月日"} << "Name,BirthDay"
            << QStringList{"a|1980-04-01", "b|1990-02-28", "c|2019-05-01", "d|1914-01-02",
                           "e|1912-07-29", "f|-",          "g|-"};
        QTest::newRow("tab separated with a comma inside")
            << Sjis(u"名前\t住所１\r\n山田\t東京,港区\r\n") << QStringList{} << "Name,Address1"
            << QStringList{"山田|東京,港区"};
        QTest::newRow("tab inside a comma file")
            << Sjis(u"山田\t太郎,東京\r\n") << QStringList{"名前", "住所１"} << "Name,Address1"
            << QStringList{"山田\t太郎|東京"};
        QTest::newRow("stray quote keeps the next customers")
            << QByteArray("a,\"b\r\nc,d\r\ne,f\r\n") << QStringList{"名前", "住所１"}
            << "Name,Address1" << QStringList{"a|b", "c|d", "e|f"};
        QTest::newRow("formula apostrophe removed once")
            << QByteArray("'=1+2,''-3,'x\r\n") << QStringList{"名前", "住所１", "住所２"}
            << "Name,Address1,Address2" << QStringList{"=1+2|''-3|'x"};
        QTest::newRow("tiny Shift-JIS is not UTF-8")
            << Sjis(u"ﾂｱ,ﾂｰ\r\n") << QStringList{"名前", "住所１"} << "Name,Address1"
            << QStringList{"ﾂｱ|ﾂｰ"};
        QTest::newRow("quote left open runs to its line end")
            << QByteArray("a,\"b\r\nc\r\n") << QStringList{"名前", "住所１"} << "Name,Address1"
            << QStringList{"a|b", "c|-"};
        QTest::newRow("header line is no customer")
            << Sjis(u"名前,住所１,\r\n") << QStringList{"名前"} << "Name" << QStringList{};
    }
    void storedRows() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, assignments);
        QFETCH(QString, columns);
        QFETCH(QStringList, rows);
        ExchangeTestContext context;
        TFormImport window(context);
        QVERIFY(Import(context, window, file, assignments));
        QCOMPARE(Stored(context.env, columns), rows);
        QCOMPARE(context.refreshes, 1);
    }

    void encodingShownAndUnreadableDatesReported() {
        ExchangeTestContext context;
        TFormImport window(context);
        QVERIFY(Import(context, window, Utf8(u"a,1990/1/5\nb,昨日\nc,x\n"), {"名前", "生年月日"}));
        QCOMPARE(window.findChild<QComboBox *>("CBEncoding")->currentText(), "UTF-8");
        QCOMPARE(context.env.prompt().Texts("message").join("/"),
                 "生年月日を日付として読めなかった2件は、生年月日なしで登録しました。\r\n"
                 "2行目、3行目");
        QVERIFY(window.LoadFile(context.WriteFile("sjis.csv", Sjis(u"山田\r\n"))));
        QCOMPARE(window.findChild<QComboBox *>("CBEncoding")->currentText(), "Shift-JIS");
    }

    void mappingRowsFollowTheSample() {
        ExchangeTestContext context;
        TFormImport window(context);
        QVERIFY(window.LoadFile(context.WriteFile("in.csv", "a,b,c,d\r\ne,f,g\r\n")));
        auto *list = window.findChild<QListWidget *>(QStringLiteral("ListBoxContents"));
        window.SGMainSelectCell(0);
        list->setCurrentRow(0); // 名前, assigned and cleared again
        window.SBAddContentClick();
        QTest::keyClick(window.findChild<ImageButton *>("SBDelContent"), Qt::Key_Space);
        window.SGMainSelectCell(3);
        list->setCurrentRow(4); // 住所１
        window.SBAddContentClick();
        window.SBNextClick();
        QCOMPARE(window.findChild<QLabel *>("Label3")->text(), "2/2");
        window.BtnImportClick();
        window.ImportAccepted();
        QCOMPARE(Stored(context.env, "Address1"), (QStringList{"-", "-"}));
        QCOMPARE(Stored(context.env, "Name"), (QStringList{"-", "-"}));
        // In the first class of both lists and unmarked, as the class filter finds them.
        QCOMPARE(Stored(context.env, "Class,Class2,Print"), (QStringList{"0|0|0", "0|0|0"}));
    }

    void refusedFiles_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("error");
        QTest::newRow("neither encoding")
            << QByteArray("\x81\x20\xFF\xFE abc")
            << "in.csvは UTF-8 でも Shift-JIS でもないため読めません。";
        QTest::newRow("empty") << QByteArray() << "in.csvには登録するデータがありません。";
        QTest::newRow("NUL byte") << QByteArray("a\r\nb\0c\r\n", 8)
                                  << "in.csvの2行目に NUL 文字があるため読めません。";
        const QString utf16 = QStringLiteral("山田,x\r\n");
        QTest::newRow("UTF-16 without mark")
            << QByteArray(reinterpret_cast<const char *>(utf16.utf16()), utf16.size() * 2)
            << "in.csvは UTF-16 で書かれているため読めません。";
        QTest::newRow("not in code page 932")
            << Utf8(u"ok,ok\n😀,x\n髙,\U0001F363\n")
            << "2行目（😀）: 😀 (U+1F600)\r\n3行目（髙）: 🍣 (U+1F363)";
        QTest::newRow("invisible characters") << Utf8(u"ok,ok\n山田\u200B,\u304B\u3099\u200F\n")
                                              << "2行目（山田\u200B）: U+200B、U+3099、U+200F";
    }
    void refusedFiles() {
        QFETCH(QByteArray, file);
        QFETCH(QString, error);
        ExchangeTestContext context;
        TFormImport window(context);
        QVERIFY(!Import(context, window, file, {"名前", "住所１"}));
        QVERIFY2(context.env.prompt().Texts("error").value(0).contains(error),
                 qPrintable(context.env.prompt().Texts("error").value(0)));
        QCOMPARE(Stored(context.env, "Name"), QStringList{});
    }

    void veryLongLineKeepsTheTableUsable() {
        ExchangeTestContext context;
        TFormImport window(context);
        QVERIFY(Import(context, window,
                       QByteArray(10 * 1024 * 1024, 'x') + ",a," + QByteArray(4000000, ','),
                       {"名前", "住所１"}));
        QCOMPARE(window.findChild<QTableWidget *>("SGMain")->rowCount(), MaxMappingRows);
        QCOMPARE(Stored(context.env, "length(Name),Address1"), QStringList{"40|a"});
        QVERIFY(context.env.prompt().Texts("message").value(0).contains("1行目"));
    }

    void refusedLineInTheMiddle_data() {
        QTest::addColumn<bool>("keepEarlier");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("keep the lines before") << true << QStringList{"a", "b"};
        QTest::newRow("import nothing") << false << QStringList{};
    }
    void refusedLineInTheMiddle() {
        QFETCH(bool, keepEarlier);
        QFETCH(QStringList, rows);
        ExchangeTestContext context;
        context.env.Run("CREATE TRIGGER refuse BEFORE INSERT ON usertbl WHEN NEW.Name = 'bad' "
                        "BEGIN SELECT RAISE(ABORT, 'refused'); END");
        context.env.prompt().PushAnswer(keepEarlier ? Prompt::Answer::Yes : Prompt::Answer::No);
        TFormImport window(context);
        QVERIFY(Import(context, window, "a\r\nb\r\nbad\r\nc\r\n", {"名前"}));
        QCOMPARE(Stored(context.env, "Name"), rows);
        const QString question = context.env.prompt().Texts("confirm").value(0);
        QVERIFY2(
            question.startsWith("3行目を登録できませんでした。\r\n顧客データを処理できません") &&
                question.contains("refused") && question.contains("それより前の2件"),
            qPrintable(question));
    }

    // A line matching a customer of the book (here by name, as the finder given says) is
    // added, left out, or fills the customer's empty fields only; the counts are told.
    void linesMatchingACustomerInTheBook_data() {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("counts");
        QTest::newRow("added") << 0
                               << QStringList{"佐藤 一郎|03-1111-2222|-",
                                              "佐藤 一郎|03-9999-9999|sato@example.jp",
                                              "田中|-|tanaka@example.jp", "佐藤 一郎|-|-"}
                               << "";
        QTest::newRow("left out") << 1
                                  << QStringList{"佐藤 一郎|03-1111-2222|-",
                                                 "田中|-|tanaka@example.jp"}
                                  << "1件を登録しました。\r\n登録済みの顧客と一致した2件は登録"
                                     "しませんでした。";
        QTest::newRow("empty fields filled")
            << 2
            << QStringList{"佐藤 一郎|03-1111-2222|sato@example.jp", "田中|-|tanaka@example.jp"}
            << "1件を登録しました。\r\n登録済みの顧客と一致した2件で、その顧客の空欄を補いました。";
    }
    void linesMatchingACustomerInTheBook() {
        QFETCH(int, choice);
        ExchangeTestContext context;
        const int sato = context.env.AddCustomer("佐藤 一郎", "");
        context.env.Run("update Usertbl set TelNo_1 = '03-1111-2222'");
        int reads = 0;
        TFormImport window(context, nullptr, [&reads, sato](Database &) {
            ++reads;
            return [sato](const CustomerRecord &candidate) {
                return candidate.name == "佐藤 一郎" ? sato : 0;
            };
        });
        window.findChild<QComboBox *>("CBExisting")->setCurrentIndex(choice);
        QVERIFY(Import(context, window,
                       Utf8(u"佐藤 一郎,sato@example.jp,03-9999-9999\r\n田中,tanaka@example.jp,\r\n"
                            u"佐藤 一郎,,\r\n"),
                       {"名前", "メール１", "電話１"}));
        QTEST(Stored(context.env, "Name, TelNo_1, Mail_1"), "rows");
        QTEST(context.env.prompt().Texts("message").value(0), "counts");
        QCOMPARE(reads, choice == 0 ? 0 : 1);
    }

    void cancelledImportStoresNothing() {
        ExchangeTestContext context;
        ImportFile file;
        file.lines = QStringList(1200, "a");
        int reports = 0;
        const ImportOutcome outcome =
            InsertImportRows(context.env.db(), BuildImportPlan(file, {"名前"}),
                             context.env.prompt(), [&reports](int, int) { return ++reports < 3; });
        QCOMPARE(outcome.kind, ImportOutcome::Cancelled);
        QCOMPARE(Stored(context.env, "Name"), QStringList{});
    }
};

QTEST_MAIN(TestCsvImport)
#include "tst_csvimport.moc"
