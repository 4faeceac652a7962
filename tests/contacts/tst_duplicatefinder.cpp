#include "../common/TestEnv.h"

#include "contacts/DuplicateFinder.h"
#include "store/CustomerRecord.h"
#include "store/CustomerTable.h"
#include "store/DataReset.h"
#include "store/DistinctPairs.h"
#include "store/Schema.h"
#include "store/SchemaUpgrade.h"

#include <QDir>
#include <QTest>

namespace {

// A customer as the tables below write one: name, reading, postal code, address (a "|"
// starts its second line), phone, mail, office phone, office mail.
CustomerRecord Customer(int userId, const QStringList &fields) {
    CustomerRecord customer;
    customer.userId = userId;
    const auto field = [&fields](int i) { return fields.value(i); };
    customer.name = field(0);
    customer.kana = field(1);
    customer.zip = field(2);
    customer.address1 = field(3).section(u'|', 0, 0);
    customer.address2 = field(3).section(u'|', 1);
    customer.telNo1 = field(4);
    customer.mail1 = field(5);
    customer.officeTel1 = field(6);
    customer.officeMail1 = field(7);
    return customer;
}

QString Reasons(const QStringList &one, const QStringList &other) {
    const std::vector<CustomerKeys> keys = {KeysOf(Customer(1, one)), KeysOf(Customer(2, other))};
    const std::vector<DuplicatePair> pairs = FindDuplicatePairs(keys, {});
    return pairs.empty() ? QString() : ReasonText(pairs.front().reasons);
}

} // namespace

class TestDuplicateFinder : public QObject {
    Q_OBJECT
private slots:
    void normalisesWhatIsCompared_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("normalised");
        const auto row = [](const char *kind, const char *typed, const char *normalised) {
            QTest::addRow("%s %s", kind, typed) << kind << typed << normalised;
        };
        row("name", "髙橋　一郎", "高橋一郎");
        row("name", "山﨑 花子", "山崎花子");
        row("name", "渡邊", "渡辺");
        row("name", "渡邉", "渡辺");
        row("name", "齋藤 齊藤 斉藤", "斎藤斎藤斎藤");
        row("name", "澤 濱 櫻 廣 國", "沢浜桜広国");
        row("name", "ﾔﾏﾀﾞ ﾀﾛｳ", "ヤマダタロウ");
        row("name", "ＪＯＨＮ Smith", "johnsmith");
        row("reading", "やまだ　たろう", "ﾔﾏﾀﾞﾀﾛｳ");
        row("reading", "ヤマダ タロウ", "ﾔﾏﾀﾞﾀﾛｳ");
        row("phone", "０３－１２３４－５６７８", "0312345678");
        row("phone", "(03) 1234-5678", "0312345678");
        row("phone", "内線 123", "");
        row("mail", " Taro@Example.JP ", "taro@example.jp");
        row("mail", "ｔａｒｏ＠ｅｘａｍｐｌｅ．ｊｐ", "taro@example.jp");
        row("mail", "taro", "");
        row("postal", "〒５３０－０００１", "530-0001");
        row("postal", "530", "");
        row("address", "東京都千代田区神田一丁目二番三号", "東京都千代田区神田1-2-3");
        row("address", "東京都千代田区神田１－２－３", "東京都千代田区神田1-2-3");
        row("address", "東京都千代田区神田1ー2ー3", "東京都千代田区神田1-2-3");
        row("address", "東京都 千代田区 神田 1-2-3", "東京都千代田区神田1-2-3");
        row("address", "長野県松本市中央二丁目5番地の8", "長野県松本市中央2-5-8");
        row("address", "福岡市中央区天神三丁目二十一番四号", "福岡市中央区天神3-21-4");
        row("address", "港区六本木六丁目10番1号", "港区六本木6-10-1");
        row("address", "札幌市中央区北2条西3丁目1-1", "札幌市中央区北2条西3-1-1");
        row("address", "中野区中野123番地", "中野区中野123");
        row("address", "千代田区一番町5番地の2 ビル3F", "千代田区一番町5-2 / ビル3F");
        row("address", "神田1-2-3 ハイツ神田101号室", "神田1-2-3 / ハイツ神田101");
        row("address", "神田1-2-3 101", "神田1-2-3 / 101");
        row("address", "東京都千代田区", "");
    }
    void normalisesWhatIsCompared() {
        QFETCH(QString, kind);
        QFETCH(QString, typed);
        QString normalised;
        if (kind == "name")
            normalised = NameKey(typed);
        else if (kind == "reading")
            normalised = ReadingKey(typed);
        else if (kind == "phone")
            normalised = PhoneKey(typed);
        else if (kind == "mail")
            normalised = MailKey(typed);
        else if (kind == "postal")
            normalised = PostalKey(typed);
        else {
            const AddressKey address = NormalisedAddress(typed);
            normalised = address.building.isEmpty() ? address.street
                                                    : address.street + " / " + address.building;
        }
        QTEST(normalised, "normalised");
    }

    // The pairs that must be found, with the reasons shown, and the near misses that must not
    // (an empty reason).
    void findsTheSameCustomerAndNoOther_data() {
        QTest::addColumn<QStringList>("one");
        QTest::addColumn<QStringList>("other");
        QTest::addColumn<QString>("reasons");
        const auto row = [](const char *name, QStringList one, QStringList other,
                            const char *reasons) {
            QTest::newRow(name) << one << other << reasons;
        };
        const char *sameName = "氏名と住所";
        const char *none = "";
        // Found.
        row("variant kanji, width, with reading on one side",
            {"髙橋 一郎", "ﾀｶﾊｼ ｲﾁﾛｳ", "160-0023", "東京都新宿区西新宿1丁目2番3号"},
            {"高橋一郎", "", "1600023", "東京都新宿区西新宿１－２－３"},
            "氏名と住所、氏名と郵便番号");
        row("﨑 and phone digits", {"山﨑 花子", "", "", "", "03-1234-5678"},
            {"山崎花子", "", "", "", "0312345678"}, "氏名と電話番号");
        row("邊 and mail case", {"渡邊 誠", "", "", "", "", "Watanabe@Example.JP"},
            {"渡辺 誠", "", "", "", "", "watanabe@example.jp"}, "氏名とメールアドレス");
        row("邉 and 邊", {"渡邉 誠", "", "", "大阪市北区梅田1-1-1"},
            {"渡邊 誠", "", "", "大阪市北区梅田一丁目一番一号"}, sameName);
        row("齋 and full-width postal code", {"齋藤 健", "", "530-0001"},
            {"斉藤 健", "", "〒５３０－０００１"}, "氏名と郵便番号");
        row("澤 and kanji numerals", {"澤田 守", "", "", "大阪府大阪市北区梅田一丁目二番三号"},
            {"沢田 守", "", "", "大阪府大阪市北区梅田1-2-3"}, sameName);
        row("building on one side", {"濱口 優", "", "", "神戸市中央区港町1-2-3 ハイツ港101号室"},
            {"浜口 優", "", "", "神戸市中央区港町1-2-3"}, sameName);
        row("same building written two ways", {"櫻井 翔", "", "", "港区芝1-2-3 ハイツ芝 101"},
            {"桜井 翔", "", "", "港区芝1丁目2番3号ハイツ芝101号室"}, sameName);
        row("廣 and office phone", {"廣田 進", "", "", "", "", "", "06-6123-4567"},
            {"広田 進", "", "", "", "06-6123-4567"}, "氏名と電話番号");
        row("國 and address lines", {"國分 太一", "", "", "東京都港区芝公園|4-2-8"},
            {"国分 太一", "", "", "東京都港区芝公園4丁目2番8号"}, sameName);
        row("嶋 and postal code", {"嶋田 久作", "", "100-0001"}, {"島田 久作", "", "1000001"},
            "氏名と郵便番号");
        row("瀨 and phone", {"瀨川 瑛子", "", "", "", "045-111-2222"},
            {"瀬川 瑛子", "", "", "", "045(111)2222"}, "氏名と電話番号");
        row("half-width name", {"ﾔﾏﾀﾞ ﾀﾛｳ", "", "060-0001"}, {"ヤマダタロウ", "", "060-0001"},
            "氏名と郵便番号");
        row("full-width latin name", {"ＪＯＨＮ　ＳＭＩＴＨ", "", "", "", "", "john@example.com"},
            {"John Smith", "", "", "", "", "JOHN@example.com"}, "氏名とメールアドレス");
        row("番地の", {"松本 清", "", "", "長野県松本市中央二丁目5番地の8"},
            {"松本 清", "", "", "長野県松本市中央2-5-8"}, sameName);
        row("long vowel as hyphen", {"伊藤 洋", "", "", "名古屋市中区栄1ー2ー3"},
            {"伊藤 洋", "", "", "名古屋市中区栄1-2-3"}, sameName);
        row("二十一", {"中村 勇", "", "", "福岡市中央区天神三丁目二十一番四号"},
            {"中村 勇", "", "", "福岡市中央区天神3-21-4"}, sameName);
        row("blanks in the address", {"斎藤 舞", "", "", "東京都 世田谷区 太子堂 2-3-4"},
            {"齊藤 舞", "", "", "東京都世田谷区太子堂2-3-4"}, sameName);
        row("address and phone", {"小林 誠", "", "", "京都市北区紫野1-2-3", "075-123-4567"},
            {"小林誠", "", "", "京都市北区紫野一丁目二番三号", "0751234567"},
            "氏名と住所、氏名と電話番号");
        row("name, reading and address", {"髙木 亮", "ﾀｶｷﾞ ﾘｮｳ", "", "仙台市青葉区一番町4-5-6"},
            {"高木 亮", "たかぎ りょう", "", "仙台市青葉区一番町4丁目5番6号"},
            "氏名と住所、フリガナと住所");
        row("reading and address, other kanji",
            {"渡部 健", "ﾜﾀﾅﾍﾞ ｹﾝ", "", "千葉市中央区本町2-2-2"},
            {"渡辺 健", "ワタナベ ケン", "", "千葉市中央区本町二丁目2番2号"}, "フリガナと住所");
        row("reading in hiragana", {"佐藤 花子", "さとう はなこ", "", "横浜市西区1-1-1"},
            {"佐藤 華子", "ｻﾄｳﾊﾅｺ", "", "横浜市西区一丁目一番一号"}, "フリガナと住所");
        row("mobile alone", {"佐藤 美咲", "", "", "", "090-1111-2222"},
            {"鈴木 美咲", "", "", "", "09011112222"}, "携帯電話番号");
        row("mobile in full width", {"田中 恵", "", "", "", "０８０－１２３４－５６７８"},
            {"中田 恵", "", "", "", "08012345678"}, "携帯電話番号");
        row("070 mobile", {"木村 拓", "", "", "", "070-9999-8888"},
            {"キムラ タク", "", "", "", "", "", "07099998888"}, "携帯電話番号");
        row("name and mobile", {"森 進一", "", "", "", "090-2222-3333"},
            {"森進一", "", "", "", "09022223333"}, "氏名と電話番号");
        row("mail alone", {"田中商店", "", "", "", "", "info@tanaka.example"},
            {"田中 太郎", "", "", "", "", "info@tanaka.example"}, "メールアドレス");
        row("office mail and mail", {"前田 敦", "", "", "", "", "", "", "maeda@corp.example"},
            {"前田敦子", "", "", "", "", "Maeda@Corp.Example"}, "メールアドレス");
        row("mail with blanks", {"A商会", "", "", "", "", " Info@Shop.Example.jp "},
            {"B商会", "", "", "", "", "info@shop.example.jp"}, "メールアドレス");
        row("name, postal code and mail",
            {"西田 敏行", "", "963-0001", "", "", "nishida@example.jp"},
            {"西田敏行", "", "9630001", "", "", "NISHIDA@example.jp"},
            "氏名とメールアドレス、氏名と郵便番号");
        row("building with a room both ways",
            {"吉田 恵", "", "", "札幌市中央区北2条西3丁目1-1 メゾン305"},
            {"吉田 恵", "", "", "札幌市中央区北2条西3-1-1メゾン305号室"}, sameName);
        row("番地 without further numbers", {"上田 誠", "", "", "中野区中野123番地"},
            {"上田 誠", "", "", "中野区中野１２３"}, sameName);

        // Not found.
        row("namesakes apart", {"佐藤 一郎", "ｻﾄｳ ｲﾁﾛｳ", "100-0001", "東京都千代田区1-2-3"},
            {"佐藤一郎", "ｻﾄｳ ｲﾁﾛｳ", "530-0001", "大阪府大阪市北区1-2-3"}, none);
        row("namesakes, same numbers elsewhere", {"鈴木 花子", "", "", "東京都港区芝1-2-3"},
            {"鈴木 花子", "", "", "東京都港区芝浦1-2-3"}, none);
        row("family at one address",
            {"山田 太郎", "ﾔﾏﾀﾞ ﾀﾛｳ", "100-0001", "東京都千代田区神田1-2-3", "03-1111-2222"},
            {"山田 花子", "ﾔﾏﾀﾞ ﾊﾅｺ", "100-0001", "東京都千代田区神田1-2-3", "03-1111-2222"}, none);
        row("brothers at one address",
            {"鈴木 一郎", "ｽｽﾞｷ ｲﾁﾛｳ", "530-0001", "大阪市北区梅田1-2-3", "06-1111-2222"},
            {"鈴木 次郎", "ｽｽﾞｷ ｼﾞﾛｳ", "530-0001", "大阪市北区梅田一丁目二番三号", "0611112222"},
            none);
        row("twins' readings", {"山田 太郎", "ﾔﾏﾀﾞ ﾀﾛｳ", "", "横浜市西区1-1-1"},
            {"山田 次郎", "ﾔﾏﾀﾞ ｼﾞﾛｳ", "", "横浜市西区1-1-1"}, none);
        row("1-2-3 and 1-2-30", {"加藤 翼", "", "", "東京都港区芝1-2-3"},
            {"加藤 翼", "", "", "東京都港区芝1-2-30"}, none);
        row("1-2-3 and 1-2-13", {"加藤 翼", "", "", "東京都港区芝1-2-3"},
            {"加藤 翼", "", "", "東京都港区芝1-2-13"}, none);
        row("1-2-3 and 1-23", {"加藤 翼", "", "", "東京都港区芝1-2-3"},
            {"加藤 翼", "", "", "東京都港区芝1-23"}, none);
        row("号 differs", {"加藤 翼", "", "", "東京都港区芝1丁目2番3号"},
            {"加藤 翼", "", "", "東京都港区芝1丁目2番4号"}, none);
        row("2-3-4 and 12-3-4", {"加藤 翼", "", "", "世田谷区太子堂2-3-4"},
            {"加藤 翼", "", "", "世田谷区太子堂12-3-4"}, none);
        row("1丁目23番 and 1丁目2番3号", {"加藤 翼", "", "", "港区芝1丁目23番"},
            {"加藤 翼", "", "", "港区芝1丁目2番3号"}, none);
        row("rooms differ", {"小川 直", "", "", "港区芝1-2-3 ハイツ芝101"},
            {"小川 直", "", "", "港区芝1-2-3 ハイツ芝102"}, none);
        row("rooms differ, written two ways", {"小川 直", "", "", "港区芝1-2-3 コーポ森201"},
            {"小川 直", "", "", "港区芝1丁目2番3号コーポ森202号室"}, none);
        row("reading 1-2-3 and 1-2-30", {"林 修", "ﾊﾔｼ ｵｻﾑ", "", "東京都港区芝1-2-3"},
            {"林 治", "ﾊﾔｼ ｵｻﾑ", "", "東京都港区芝1-2-30"}, none);
        row("reading apart", {"佐藤 花子", "ｻﾄｳ ﾊﾅｺ", "", "横浜市西区1-1-1"},
            {"佐藤 華子", "ｻﾄｳ ﾊﾅｺ", "", "川崎市川崎区1-1-1"}, none);
        row("reading at the same block, other number", {"林 修", "ﾊﾔｼ ｵｻﾑ", "", "港区芝1-2-3"},
            {"林 治", "ﾊﾔｼ ｵｻﾑ", "", "港区芝1-2-5"}, none);
        row("towns without numbers", {"佐々木 望", "", "", "東京都"},
            {"佐々木 望", "", "", "東京都"}, none);
        row("name alone", {"佐々木 望"}, {"佐々木望"}, none);
        row("postal code alone", {"青木 功", "", "100-0001"}, {"青山 功", "", "100-0001"}, none);
        row("landline alone", {"山田 太郎", "", "", "", "03-1111-2222"},
            {"山田 花子", "", "", "", "0311112222"}, none);
        row("mobile one digit apart", {"佐藤 美咲", "", "", "", "090-1111-2222"},
            {"鈴木 美咲", "", "", "", "090-1111-2223"}, none);
        row("ten digits from 090", {"佐藤 美咲", "", "", "", "090-111-2222"},
            {"鈴木 美咲", "", "", "", "0901112222"}, none);
        row("mail domains differ", {"A商会", "", "", "", "", "info@example.jp"},
            {"B商会", "", "", "", "", "info@example.com"}, none);
        row("short extension numbers", {"大野 智", "", "", "", "内線123"},
            {"大野 智", "", "", "", "123"}, none);
        row("phones differ", {"大野 智", "", "", "", "03-1234-5678"},
            {"大野 智", "", "", "", "03-1234-5679"}, none);
        row("prefectures differ", {"大野 智", "", "", "東京都港区1-2-3"},
            {"大野 智", "", "", "大阪府北区1-2-3"}, none);
        row("numerals in the town differ", {"大野 智", "", "", "三鷹市下連雀1-2-3"},
            {"大野 智", "", "", "三鷹市上連雀1-2-3"}, none);
        row("names one kanji apart", {"高橋 健", "", "100-0001"}, {"高梨 健", "", "100-0001"},
            none);
        row("given names apart", {"斉藤 健", "", "100-0001"}, {"斎藤 健二", "", "100-0001"}, none);
        row("address only, names differ", {"上野 樹", "", "", "港区芝1-2-3"},
            {"上野 葵", "", "", "港区芝1-2-3"}, none);
        row("postal codes not whole", {"上野 樹", "", "123"}, {"上野 樹", "", "123"}, none);
    }
    void findsTheSameCustomerAndNoOther() {
        QFETCH(QStringList, one);
        QFETCH(QStringList, other);
        QFETCH(QString, reasons);
        QCOMPARE(Reasons(one, other), reasons);
        QCOMPARE(Reasons(other, one), reasons);
        // An imported line is matched with the book's customer by the same rules.
        const CustomerIndex book({KeysOf(Customer(7, one))});
        QCOMPARE(book.Find(KeysOf(Customer(0, other))), reasons.isEmpty() ? 0 : 7);
    }

    // The book's pairs, less those declared different; a declaration goes with either customer
    // and with the initialisation, and a book from before the table gains it.
    void leavesOutThePairsDeclaredDifferent() {
        TestEnv env;
        const int sato = env.AddCustomer("佐藤 一郎", "ｻﾄｳ ｲﾁﾛｳ");
        const int satoAgain = env.AddCustomer("佐藤一郎", "");
        const int other = env.AddCustomer("佐藤 一郎", "");
        env.Run(QString("update Usertbl set Zip = '100-0001' where UserId in (%1, %2, %3)")
                    .arg(sato)
                    .arg(satoAgain)
                    .arg(other));
        const auto found = [&env] {
            QStringList pairs;
            const auto book = FindDuplicatesInBook(env.db(), [](int, int) { return true; });
            for (const DuplicatePair &pair : book.value())
                pairs << QString("%1-%2").arg(pair.userId).arg(pair.otherUserId);
            return pairs.join(' ');
        };
        QCOMPARE(found(), QString("%1-%2 %1-%3 %2-%3").arg(sato).arg(satoAgain).arg(other));
        StoreDistinctPair(env.db(), other, sato);
        StoreDistinctPair(env.db(), sato, other);
        QCOMPARE(env.Scalar("select count(*) from Distincttbl"), QString("1"));
        QCOMPARE(found(), QString("%1-%2 %2-%3").arg(sato).arg(satoAgain).arg(other));
        Query query(env.db());
        StoreDistinctPair(env.db(), satoAgain, other);
        DeleteCustomerRow(query, other);
        QCOMPARE(env.Scalar("select count(*) from Distincttbl"), QString("0"));
        StoreDistinctPair(env.db(), sato, satoAgain);
        QCOMPARE(found(), QString());
        RemoveDistinctPair(env.db(), satoAgain, sato);
        QCOMPARE(found(), QString("%1-%2").arg(sato).arg(satoAgain));
        StoreDistinctPair(env.db(), sato, satoAgain);
        Query history(env.db());
        Query classes(env.db());
        ResetCustomerBook(query, history, classes);
        QCOMPARE(env.Scalar("select count(*) from Distincttbl"), QString("0"));

        const QString oldFolder = env.root() + "old/";
        QDir().mkpath(oldFolder);
        Database old;
        old.Open(oldFolder, true);
        Schema::CreateTables(old, false);
        old.GetEngine().Prepare("DROP TABLE distincttbl")->Step();
        QVERIFY(ReadDistinctPairs(old).empty());
        QCOMPARE(RunSchemaUpgrade(old, env.dataPath()), QString());
        QVERIFY(old.GetEngine().HasTable("distincttbl"));
    }
};

QTEST_GUILESS_MAIN(TestDuplicateFinder)
#include "tst_duplicatefinder.moc"
