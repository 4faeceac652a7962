#include "contacts/VCard.h"
#include "core/ShiftJis.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// What the book would store of a card, one "field=value" a non-empty field, joined by "|".
QString Stored(const VCard::Card &card) {
    const CustomerRecord &r = card.record;
    const std::pair<const char *, QString> fields[] = {
        {"name", r.name},
        {"kana", r.kana},
        {"zip", r.zip},
        {"address1", r.address1},
        {"address2", r.address2},
        {"tel1", r.telNo1},
        {"tel2", r.telNo2},
        {"fax", r.faxNo},
        {"mail1", r.mail1},
        {"mail2", r.mail2},
        {"birthday", r.birthDay.toString(Qt::ISODate)},
        {"note", QString(r.note).replace(u'\n', QStringLiteral("\\n"))},
        {"office", r.office},
        {"officeKana", r.officeKana},
        {"officeZip", r.officeZip},
        {"officeAddress1", r.officeAddress1},
        {"officeAddress2", r.officeAddress2},
        {"officeTel1", r.officeTel1},
        {"officeTel2", r.officeTel2},
        {"officeMail1", r.officeMail1},
        {"officeFax", r.officeFax},
        {"post", r.officePost},
        {"executive", r.officeExecutive},
        {"classes", card.classNames.join(u',')},
        {"photo", QString::fromLatin1(card.photoJpeg.toHex())},
    };
    QStringList out;
    for (const auto &[name, value] : fields)
        if (!value.isEmpty())
            out << QString::fromLatin1(name) + u'=' + value;
    return out.join(u'|');
}

QString StoredCards(const VCard::ReadResult &result) {
    QStringList cards;
    for (const VCard::Card &card : result.cards)
        cards << Stored(card);
    for (const QString &refusal : result.refused)
        cards << QStringLiteral("refused ") + refusal;
    return cards.join(QStringLiteral(" / "));
}

} // namespace

class TestVCard : public QObject {
    Q_OBJECT

private slots:
    // Cards as phones and contact managers export them, and what the book stores of them.
    void testRead_data() {
        QTest::addColumn<QString>("card");
        QTest::addColumn<bool>("shiftJis"); // the file's bytes are code page 932
        QTest::addColumn<QString>("stored");
        QTest::newRow("phone 3.0, grouped, phonetic hiragana")
            << u"BEGIN:VCARD\nVERSION:3.0\nN:山田;太郎;;;\nFN:山田 太郎\n"
               "X-PHONETIC-FIRST-NAME:たろう\nX-PHONETIC-LAST-NAME:やまだ\n"
               "ORG:山田商事;営業部;\nTITLE:課長\nitem1.TEL;type=pref:090-1111-2222\n"
               "item1.X-ABLabel:_$!<Other>!$_\n"
               "TEL;type=CELL;type=VOICE;type=pref:090-1234-5678\n"
               "item2.EMAIL;type=INTERNET;type=HOME:taro@example.jp\n"
               "item3.ADR;type=HOME:;;千代田1-1;千代田区;東京都;1000001;日本\n"
               "BDAY:1980-01-02\nEND:VCARD\n"_s
            << false
            << u"name=山田 太郎|kana=ﾔﾏﾀﾞ ﾀﾛｳ|zip=100-0001|address1=東京都千代田区千代田1-1|"
               "tel1=090-1111-2222|tel2=090-1234-5678|mail1=taro@example.jp|"
               "birthday=1980-01-02|office=山田商事|post=営業部|executive=課長"_s;
        QTest::newRow("2.1 quoted-printable UTF-8, soft line break")
            << u"BEGIN:VCARD\r\nVERSION:2.1\r\n"
               "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E4=BD=90=E8=97=A4;=E8=8A=B1=E5=AD=90;;;"
               "\r\n"
               "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E4=BD=90=E8=97=A4=20=E8=8A=B1=E5=AD="
               "90\r\n"
               "X-PHONETIC-LAST-NAME;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E3=81=95=E3=81=A8=E3="
               "81=86\r\n"
               "TEL;HOME:03-1234-5678\r\nTEL;WORK;FAX:03-9999-0000\r\nTEL;FAX:03-1234-0000\r\n"
               "EMAIL;WORK:hanako@example.co.jp\r\n"
               "NOTE;ENCODING=QUOTED-PRINTABLE:one=0A=\r\ntwo\r\nEND:VCARD\r\n"_s
            << false
            << u"name=佐藤 花子|kana=ｻﾄｳ|tel1=03-1234-5678|fax=03-1234-0000|note=one\\ntwo|"
               "officeMail1=hanako@example.co.jp|officeFax=03-9999-0000"_s;
        QTest::newRow("2.1 Shift_JIS with charset, reading in the sound property")
            << u"BEGIN:VCARD\nVERSION:2.1\nN;CHARSET=SHIFT_JIS:鈴木;一郎\n"
               "SOUND;X-IRMC-N;CHARSET=SHIFT_JIS:ｽｽﾞｷ;ｲﾁﾛｳ;;;\nTEL;CELL:080-0000-1111\n"
               "EMAIL;INTERNET:ichiro@docomo.ne.jp\nBDAY:19751231\nEND:VCARD\n"_s
            << true
            << u"name=鈴木 一郎|kana=ｽｽﾞｷ ｲﾁﾛｳ|tel2=080-0000-1111|mail1=ichiro@docomo.ne.jp|"
               "birthday=1975-12-31"_s;
        QTest::newRow("2.1 Shift_JIS without charset")
            << u"BEGIN:VCARD\nVERSION:2.1\nN:高橋;\nFN:高橋\nX-PHONETIC-LAST-NAME:タカハシ\n"
               "END:VCARD\n"_s
            << true << u"name=高橋|kana=ﾀｶﾊｼ"_s;
        QTest::newRow("4.0, reading only in SORT-AS, uri phone, escapes, no birth year")
            << u"BEGIN:VCARD\nVERSION:4.0\nN;SORT-AS=\"タナカ,ジロウ\":田中;次郎;;;\n"
               "FN:田中 次郎\nADR;TYPE=work:;3階;大手町1-2-3\\, 東京;;;1000004;\n"
               "TEL;VALUE=uri;TYPE=\"work,voice\":tel:+81-3-1111-2222\n"
               "EMAIL;TYPE=work:jiro@example.com\nCATEGORIES:得意先,年賀状\nBDAY:--0315\n"
               "NOTE:a\\;b\\\\c\\nd\nEND:VCARD\n"_s
            << false
            << u"name=田中 次郎|kana=ﾀﾅｶ ｼﾞﾛｳ|note=a;b\\c\\nd|officeZip=100-0004|"
               "officeAddress1=大手町1-2-3, 東京|officeAddress2=3階|"
               "officeTel1=+81-3-1111-2222|officeMail1=jiro@example.com|classes=得意先,年賀状"_s;
        QTest::newRow("4.0, the reading as a phonetic name; one in IPA is no reading")
            << u"BEGIN:VCARD\nVERSION:4.0\nN;ALTID=1;LANGUAGE=ja:木村;拓;;;\n"
               "N;ALTID=1;PHONETIC=ipa:kimuɾa;taku;;;\n"
               "N;ALTID=1;PHONETIC=script;SCRIPT=Hira;LANGUAGE=ja-Hira:きむら;たく;;;\n"
               "END:VCARD\n"_s
            << false << u"name=木村 拓|kana=ｷﾑﾗ ﾀｸ"_s;
        QTest::newRow("folded lines, two cards, only FN")
            << u"BEGIN:VCARD\nVERSION:3.0\nFN:伊藤 \n 美咲\nNOTE:長い\n\tメモ\nEND:VCARD\n"
               "BEGIN:VCARD\nVERSION:3.0\nN:渡辺;健;;;\nEND:VCARD\n"_s
            << false << u"name=伊藤 美咲|note=長いメモ / name=渡辺 健"_s;
        QTest::newRow("JPEG photos in 2.1, 3.0 and 4.0; PNG and links left out")
            << u"BEGIN:VCARD\nVERSION:2.1\nN:甲;\nPHOTO;ENCODING=BASE64;TYPE=JPEG:/9j/\n 4AAQ\n\n"
               "END:VCARD\nBEGIN:VCARD\nVERSION:3.0\nN:乙;\nPHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQ\n"
               "END:VCARD\nBEGIN:VCARD\nVERSION:4.0\nN:丙;\n"
               "PHOTO:data:image/jpeg;base64,/9j/4AAQ\nEND:VCARD\n"
               "BEGIN:VCARD\nVERSION:4.0\nN:丁;\nPHOTO:data:image/png;base64,iVBORw0K\n"
               "PHOTO;VALUE=uri:http://example.com/a.jpg\nEND:VCARD\n"_s
            << false
            << u"name=甲|photo=ffd8ffe00010 / name=乙|photo=ffd8ffe00010 / "
               "name=丙|photo=ffd8ffe00010 / name=丁"_s;
        QTest::newRow("a character code page 932 cannot hold refuses only its card")
            << u"BEGIN:VCARD\nVERSION:4.0\nN:𠮷野;家;;;\nEND:VCARD\n"
               "BEGIN:VCARD\nVERSION:4.0\nFN:小林\u301C太\nEND:VCARD\n"_s
            << false << u"name=小林～太 / refused 𠮷野 家: 𠮷 (U+20BB7)"_s;
    }
    void testRead() {
        QFETCH(QString, card);
        QFETCH(bool, shiftJis);
        QFETCH(QString, stored);
        const QByteArray bytes = shiftJis ? ShiftJis::Encode(card) : card.toUtf8();
        QCOMPARE(StoredCards(VCard::ReadCards(bytes)), stored);
    }

    // A customer written and read back is the customer; the file is what phones expect.
    void testRoundTrip_data() {
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("script");
        QTest::addColumn<QStringList>("lines"); // lines the file must hold
        QTest::newRow("4.0 katakana")
            << int(VCard::Version::V4) << int(VCard::ReadingScript::Katakana)
            << QStringList{
                   u"VERSION:4.0"_s,
                   u"N;ALTID=1;LANGUAGE=ja;SORT-AS=\"ヤマダ,タロウ\":山田;太郎;;;"_s,
                   u"N;ALTID=1;PHONETIC=script;SCRIPT=Kana;LANGUAGE=ja-Kana:ヤマダ;タロウ;;;"_s,
                   u"X-PHONETIC-LAST-NAME:ヤマダ"_s,
                   u"BDAY:19800102"_s,
                   u"ADR;TYPE=home:;ハイツ101\\;号;千代田1-1\\, 東京;;;100-0001;"_s,
                   u"PHOTO:data:image/jpeg;base64,/9j/4A=="_s,
                   u"CATEGORIES:得意先,年賀状"_s};
        QTest::newRow("3.0 hiragana")
            << int(VCard::Version::V3) << int(VCard::ReadingScript::Hiragana)
            << QStringList{u"VERSION:3.0"_s,
                           u"N:山田;太郎;;;"_s,
                           u"X-PHONETIC-FIRST-NAME:たろう"_s,
                           u"BDAY:1980-01-02"_s,
                           u"EMAIL;TYPE=internet,home:taro@example.jp"_s,
                           u"PHOTO;ENCODING=b;TYPE=JPEG:/9j/4A=="_s};
    }
    void testRoundTrip() {
        QFETCH(int, version);
        QFETCH(int, script);
        QFETCH(QStringList, lines);
        VCard::Card card;
        CustomerRecord &r = card.record;
        r.userId = 7;
        r.name = u"山田 太郎"_s;
        r.kana = u"ﾔﾏﾀﾞ ﾀﾛｳ"_s;
        r.zip = u"100-0001"_s;
        r.address1 = u"千代田1-1, 東京"_s;
        r.address2 = u"ハイツ101;号"_s;
        r.telNo1 = u"03-1111-2222"_s;
        r.telNo2 = u"090-1111-2222"_s;
        r.faxNo = u"03-1111-3333"_s;
        r.mail1 = u"taro@example.jp"_s;
        r.birthDay = QDate(1980, 1, 2);
        r.note = u"一行目\n二行目、"_s + QString(40, QChar(u'長'));
        r.office = u"山田商事"_s;
        r.officeKana = u"ﾔﾏﾀﾞｼｮｳｼﾞ"_s;
        r.officePost = u"営業部"_s;
        r.officeExecutive = u"課長"_s;
        r.officeZip = u"530-0001"_s;
        r.officeAddress1 = u"大阪府大阪市北区梅田1"_s;
        r.officeTel1 = u"06-1111-2222"_s;
        r.officeTel2 = u"06-1111-4444"_s;
        r.officeFax = u"06-1111-3333"_s;
        r.officeMail1 = u"yamada@example.co.jp"_s;
        card.classNames = {u"得意先"_s, u"年賀状"_s};
        card.photoJpeg = QByteArray::fromBase64("/9j/4A==");
        const VCard::WriteOptions options{VCard::Version(version), VCard::ReadingScript(script),
                                          u"/home/a/book"_s};
        const QByteArray written = VCard::WriteCard(card, options);
        QVERIFY(!QByteArray(written).replace("\r\n", "").contains('\n'));
        for (const QByteArray &line : written.split('\n')) {
            QVERIFY2(line.size() <= 76, line.constData()); // 75 octets and the CR
            QVERIFY2(QString::fromUtf8(line).toUtf8() == line, "a character cut by the fold");
        }
        const QStringList unfolded =
            QString::fromUtf8(written).replace(u"\r\n "_s, QString()).split(u"\r\n"_s);
        for (const QString &line : lines)
            QVERIFY2(unfolded.contains(line), qPrintable(line));

        // The UID stays with the customer and the book.
        const auto uid = [&](const QString &book, int userId) {
            VCard::Card other = card;
            other.record.userId = userId;
            const QString text = QString::fromUtf8(VCard::WriteCard(
                other, {VCard::Version(version), VCard::ReadingScript(script), book}));
            return text.section(u"UID:"_s, 1).section(u'\r', 0, 0);
        };
        QCOMPARE(uid(u"/home/a/book"_s, 7), uid(u"/home/a/book"_s, 7));
        QVERIFY(uid(u"/home/a/book"_s, 7) != uid(u"/home/a/book"_s, 8));
        QVERIFY(uid(u"/home/a/book"_s, 7) != uid(u"/home/b/book"_s, 7));

        const VCard::ReadResult read = VCard::ReadCards(written);
        QCOMPARE(read.cards.size(), size_t(1));
        QCOMPARE(Stored(read.cards.front()), Stored(card));
    }

    // A customer uploaded over the server's card: the properties the book has no field for
    // stay, the ones it holds are the book's.
    void testKeepExtraProperties_data() {
        QTest::addColumn<QString>("server");
        QTest::addColumn<QStringList>("kept");
        QTest::addColumn<QStringList>("gone");
        const QString head = u"BEGIN:VCARD\r\nVERSION:3.0\r\nUID:phone-1\r\nN:山田;太郎;;;\r\n"_s;
        QTest::newRow("URL, third phone, second home address, the phone's own")
            << head + u"TEL;TYPE=home:03-1111-2222\r\nTEL;TYPE=cell:090-1\r\n"
                      "TEL;TYPE=cell:090-2\r\nURL:https://yamada.example.jp/\r\n"
                      "ADR;TYPE=home:;;千代田1;;;100-0001;\r\nADR;TYPE=home:;;別荘1;;;;\r\n"
                      "X-ABUID:ABC\r\nEND:VCARD\r\n"_s
            << QStringList{u"TEL;TYPE=cell:090-2"_s, u"URL:https://yamada.example.jp/"_s,
                           u"ADR;TYPE=home:;;別荘1;;;;"_s, u"X-ABUID:ABC"_s}
            << QStringList{u"03-1111-2222"_s, u"090-1"_s, u"千代田1"_s};
        QTest::newRow("the book's fields only")
            << head + u"FN:山田 太郎\r\nNOTE:古いメモ\r\nEMAIL:old@example.jp\r\n"
                      "BDAY:1980-01-02\r\nEND:VCARD\r\n"_s
            << QStringList{} << QStringList{u"古いメモ"_s, u"old@example.jp"_s, u"1980"_s};
    }
    void testKeepExtraProperties() {
        QFETCH(QString, server);
        QFETCH(QStringList, kept);
        QFETCH(QStringList, gone);
        VCard::Card card;
        card.record.name = u"山田 太郎"_s;
        card.record.telNo1 = u"03-9999-0000"_s;
        const QByteArray written = VCard::WriteCard(card, {VCard::Version::V3, {}, u"book"_s});
        const QString merged =
            QString::fromUtf8(VCard::KeepExtraProperties(written, server.toUtf8()));
        const QStringList lines = merged.split(u"\r\n"_s);
        QVERIFY(merged.endsWith(u"END:VCARD\r\n"_s));
        QVERIFY(lines.contains(u"TEL;TYPE=home,voice:03-9999-0000"_s));
        for (const QString &line : kept)
            QVERIFY2(lines.contains(line), qPrintable(line));
        for (const QString &text : gone)
            QVERIFY2(!merged.contains(text), qPrintable(text));
        QCOMPARE(merged.count(u"BEGIN:VCARD"_s), 1);
        QCOMPARE(merged.count(u"\r\nN:"_s), 1);
    }
};

QTEST_GUILESS_MAIN(TestVCard)
#include "tst_vcard.moc"
