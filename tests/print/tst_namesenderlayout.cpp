#include "core/TextHelpers.h"
#include "platform/Prompt.h"
#include "print/NameSenderLayout.h"

#include <QImage>
#include <QPainter>
#include <QTest>
#include <cmath>

namespace {

// 96 dpi with the fixed-pitch IPAGothic: a full-width character is exactly its cell wide, and
// the cell is Rnd(points * 4 / 3) dots (25 points: 33, 18: 24, 15: 20, 12: 16).
constexpr int kDpi = 96;
constexpr int kGap = 2;
const QString kVerticalFace = QStringLiteral("@IPAGothic");
const QString kFace = QStringLiteral("IPAGothic");

struct Joint {
    QString Family, Given, Title;
};

TPrintNameData StartSizes(const QList<Joint> &joints = {}) {
    TPrintNameData d;
    d.CompanySize = 15;
    d.PostSize = 25;
    d.ExecutiveSize = 15;
    d.NameSize = 25;
    for (int i = 0; i < joints.size(); ++i) {
        d.JointFamily[i] = joints[i].Family;
        d.JointGiven[i] = joints[i].Given;
        d.JointTitle[i] = joints[i].Title;
    }
    return d;
}

TPrintSenderData SenderTexts(bool withCompany) {
    TPrintSenderData d;
    d.AddressSize = 12;
    d.SenderNameSize = 18;
    d.OfficeSize = 12;
    d.ExecutiveTitleSize = 12;
    d.TelFaxSize = 12;
    d.MailSize = 12;
    d.HpSize = 12;
    d.PrintAddress1 = QStringLiteral("東京都千代田区千代田１―１");
    d.PrintAddress2 = QStringLiteral("皇居前ビル２Ｆ");
    d.AddressLineCount = 2;
    d.PrintFamilyName = QStringLiteral("鈴木");
    d.PrintGivenName = QStringLiteral("一郎");
    d.NameCount = 1;
    d.TelLabel = QStringLiteral("ＴＥＬ ");
    d.PrintTel = QStringLiteral("０３―１２３４");
    d.FaxLabel = QStringLiteral("ＦＡＸ ");
    d.PrintFax = QStringLiteral("０３―５６７８");
    d.ContactLineCount = 2;
    if (withCompany) {
        d.PrintOffice = QStringLiteral("ブリスコ株式会社");
        d.PrintPost = QStringLiteral("総務部");
        d.PrintExecutive = QStringLiteral("課長");
        d.OfficeLineCount = 2;
    }
    return d;
}

class Surface {
public:
    Surface() : image_(800, 800, QImage::Format_RGB32), painter_() {
        image_.setDotsPerMeterX(Rnd(kDpi / 0.0254));
        image_.setDotsPerMeterY(Rnd(kDpi / 0.0254));
        painter_.begin(&image_);
        canvas_.emplace(painter_);
    }
    LayoutCanvas &canvas() { return *canvas_; }

private:
    QImage image_;
    QPainter painter_;
    std::optional<LayoutCanvas> canvas_;
};

FaceContext Face(LayoutCanvas &canvas, bool vertical) {
    return {canvas, vertical ? kVerticalFace : kFace, kDpi, kGap, vertical};
}

bool Near(double a, double b) {
    return std::abs(a - b) < 0.01;
}

} // namespace

Q_DECLARE_METATYPE(QList<Joint>)
Q_DECLARE_METATYPE(NameForm)

class TestNameSenderLayout : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Prompt::Install(std::make_unique<ScriptedPrompt>()); }

    void chooseForm_data() {
        // Stored values: print control 0 to 4, use type 0 personal, 1 company.
        QTest::addColumn<int>("printControl");
        QTest::addColumn<int>("useType");
        QTest::addColumn<int>("form");
        QTest::newRow("personal use decides first") << 1 << 0 << int(NameForm::Personal);
        QTest::newRow("company use, personal name") << 0 << 1 << int(NameForm::Personal);
        QTest::newRow("company use, personal name (4)") << 4 << 1 << int(NameForm::Personal);
        QTest::newRow("onchu") << 1 << 1 << int(NameForm::CompanyOnchu);
        QTest::newRow("dono") << 2 << 1 << int(NameForm::CompanyDono);
        QTest::newRow("named") << 3 << 1 << int(NameForm::CompanyNamed);
        QTest::newRow("none chosen") << -1 << 1 << int(NameForm::CompanyNamed);
    }
    void chooseForm() {
        QFETCH(int, printControl);
        QFETCH(int, useType);
        QFETCH(int, form);
        QCOMPARE(int(ChooseNameForm(PrintControlOf(printControl), UseTypeOf(useType))), form);
    }

    void jointFamilySuppressed_data() {
        QTest::addColumn<QList<Joint>>("joints");
        QTest::addColumn<QStringList>("families");
        QTest::newRow("three joint names of the same family")
            << QList<Joint>{{"山田", "花子", "様"}, {"山田", "一郎", "様"}, {"山田", "次郎", "様"}}
            << QStringList{"", "", ""};
        QTest::newRow("each compared with the one before it as entered")
            << QList<Joint>{{"佐藤", "花子", "様"}, {"佐藤", "一郎", "様"}, {"山田", "次郎", "様"}}
            << QStringList{"佐藤", "", "山田"};
        QTest::newRow("after a suppressed one, its entered family counts")
            << QList<Joint>{{"山田", "花子", "様"}, {"佐藤", "一郎", "様"}, {"佐藤", "次郎", "様"}}
            << QStringList{"", "佐藤", ""};
        QTest::newRow("joint names without family part")
            << QList<Joint>{{"", "花子", "様"}, {"", "一郎", "様"}} << QStringList{"", ""};
    }
    void jointFamilySuppressed() {
        QFETCH(QList<Joint>, joints);
        QFETCH(QStringList, families);
        Surface s;
        const TPrintNameData d =
            LayoutName(Face(s.canvas(), true), StartSizes(joints),
                       {.Name = "山田　太郎", .Honorific = "様", .JointCount = int(joints.size())},
                       {100, 20, 200, 500});
        QCOMPARE(d.FamilyName, QStringLiteral("山田"));
        QCOMPARE(d.GivenName, QStringLiteral("太郎"));
        for (int i = 0; i < families.size(); ++i) {
            QCOMPARE(d.JointFamily[i], families[i]);
            QCOMPARE(d.JointFamilyPos[i].y(), d.NamePos.y());
            QCOMPARE(d.JointGivenPos[i].y(), d.GivenNamePos.y());
            QCOMPARE(d.JointTitlePos[i].y(), d.TitlePos.y());
        }
    }

    void personalPositions_data() {
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<QRect>("box");
        QTest::addColumn<QList<QPoint>>("columns"); // name, joints 0 to 2: first part
        QTest::addColumn<int>("second");
        QTest::addColumn<int>("title");
        // E = 山田 (66), Q = さくら (99), P = ちゃん (99), half a space (16) between them: a
        // line of 296 centred in 500, from 102; four columns of 35 centred in 200, from 30.
        QTest::newRow("vertical") << true << QRect(100, 20, 200, 500)
                                  << QList<QPoint>{{235, 122}, {200, 122}, {165, 122}, {130, 122}}
                                  << 122 + 66 + 16 << 122 + 66 + 16 + 99 + 16;
        QTest::newRow("horizontal") << false << QRect(10, 20, 500, 200)
                                    << QList<QPoint>{{112, 50}, {112, 85}, {112, 120}, {112, 155}}
                                    << 112 + 66 + 16 << 112 + 66 + 16 + 99 + 16;
    }
    void personalPositions() {
        QFETCH(bool, vertical);
        QFETCH(QRect, box);
        QFETCH(QList<QPoint>, columns);
        QFETCH(int, second);
        QFETCH(int, title);
        Surface s;
        const QList<Joint> joints{
            {"山田", "花子", "様"}, {"", "一郎", "様"}, {"", "さくら", "ちゃん"}};
        const TPrintNameData d =
            LayoutName(Face(s.canvas(), vertical), StartSizes(joints),
                       {.Name = "山田　太郎", .Honorific = "様", .JointCount = 3},
                       {box.x(), box.y(), box.width(), box.height()});
        QCOMPARE(d.NameSize, 25.0);
        QCOMPARE(d.CharSpacing, 0);
        QCOMPARE(d.NamePos, columns[0]);
        const auto along = [&](QPoint p) { return vertical ? p.y() : p.x(); };
        const auto across = [&](QPoint p) { return vertical ? p.x() : p.y(); };
        QCOMPARE(along(d.GivenNamePos), second);
        QCOMPARE(along(d.TitlePos), title);
        QCOMPARE(across(d.GivenNamePos), across(columns[0]));
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(d.JointFamilyPos[i], columns[i + 1]);
            QCOMPARE(along(d.JointGivenPos[i]), second);
            QCOMPARE(across(d.JointGivenPos[i]), across(columns[i + 1]));
            QCOMPARE(along(d.JointTitlePos[i]), title);
        }
    }

    void nameShrinksToItsFrame() {
        // 山田太郎様 with two half spaces is 197 dots at 25 points; in 150 dots it shrinks to
        // 19.1 points (25-dot cell, half spaces of 12): 149 dots, from 0.
        Surface s;
        const TPrintNameData d =
            LayoutName(Face(s.canvas(), true), StartSizes(),
                       {.Name = "山田 太郎", .Honorific = "様"}, {0, 0, 100, 150});
        QVERIFY2(Near(d.NameSize, 19.1), qPrintable(QString::number(d.NameSize)));
        QCOMPARE(d.CharSpacing, 0);
        QCOMPARE(d.NamePos.y(), 0);
        QCOMPARE(d.GivenNamePos.y(), 50 + 12);
        QCOMPARE(d.TitlePos.y(), 50 + 12 + 50 + 12);
    }

    void jointColumnsShareTheWidth() {
        // Four columns (three joint names) in 100 dots: each 25 wide, so the cell is at most 23.
        Surface s;
        const QList<Joint> joints{{"", "花子", "様"}, {"", "一郎", "様"}, {"", "次郎", "様"}};
        const TPrintNameData d = LayoutName(
            Face(s.canvas(), true), StartSizes(joints),
            {.Name = "山田　太郎", .Honorific = "様", .JointCount = 3}, {0, 0, 100, 600});
        QVERIFY(Near(d.NameSize, 17.6)); // Rnd(17.6 * 4 / 3) = 23, 17.7 gives 24
        QCOMPARE(d.NamePos.x(), 100 - 23 - 2);
        QCOMPARE(d.JointFamilyPos[2].x(), 100 - 4 * 25);
    }

    void emptyNameLeavesTheSpacing_data() {
        QTest::addColumn<NameForm>("form");
        QTest::newRow("personal") << NameForm::Personal;
        QTest::newRow("named company") << NameForm::CompanyNamed;
        QTest::newRow("dono") << NameForm::CompanyDono;
        QTest::newRow("onchu") << NameForm::CompanyOnchu;
    }
    void emptyNameLeavesTheSpacing() {
        QFETCH(NameForm, form);
        Surface s;
        TPrintNameData start = StartSizes();
        start.CharSpacing = 7;
        for (const LayoutBox &box :
             {LayoutBox{0, 0, 100, 300}, LayoutBox{0, 0, 0, 0}, LayoutBox{10, 10, -20, -5}}) {
            const TPrintNameData d = LayoutName(Face(s.canvas(), true), start, {.Form = form}, box);
            QCOMPARE(d.CharSpacing, 7);
            QVERIFY(d.NameSize > 0.9 && d.CompanySize > 0.9);
        }
    }

    void namedCompanyWithoutCompanyName() {
        // k = 100; position 部長 at 15 points (20-dot cell): a = 40 + 10, e = 20; the line of
        // position, name (66 + 16 + 66) and honorific (16 + 33) is 247, centred in 600 from 176.
        // No company: the department (20 points, 27-dot cell) starts at the top, next to the
        // right edge.
        Surface s;
        const TPrintNameData d = LayoutName(Face(s.canvas(), true), StartSizes(),
                                            {.Name = "佐藤　健一",
                                             .Honorific = "様",
                                             .Department = "営業部",
                                             .Position = "部長",
                                             .Form = NameForm::CompanyNamed},
                                            {0, 0, 240, 600});
        QCOMPARE(d.NameSize, 25.0);
        QCOMPARE(d.ExecutiveSize, 15.0);
        QCOMPARE(d.CompanySize, 20.0);
        QCOMPARE(d.PostSize, 20.0);
        QCOMPARE(d.CharSpacing, 0);
        QCOMPARE(d.PostPos, QPoint(240 - 27 - 2 * kGap, 0));
        QCOMPARE(d.NamePos, QPoint(240 - 27 - 33 - 3 * kGap, 176 + 50));
        QCOMPARE(d.GivenNamePos, QPoint(d.NamePos.x(), 176 + 50 + 66 + 16));
        QCOMPARE(d.ExecutivePos, QPoint(240 - 27 - 20 - 6 - 3 * kGap, 176));
        QCOMPARE(d.TitlePos, QPoint(d.NamePos.x(), 176 + 50 + 66 + 16 + 66 + 16));
        QCOMPARE(d.FamilyName, QStringLiteral("佐藤"));
        QCOMPARE(d.GivenName, QStringLiteral("健一"));
    }

    void companyForms_data() {
        QTest::addColumn<NameForm>("form");
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<QRect>("box");
        QTest::addColumn<QList<QPoint>>("positions"); // company, department, position, title
        QTest::addColumn<int>("spacing");
        // Company 15 points (20), department 25 (33); spacing Rnd((400 - 99 - 20 - 83) / 3).
        QTest::newRow("onchu vertical")
            << NameForm::CompanyOnchu << true << QRect(0, 0, 200, 400)
            << QList<QPoint>{{178, 0}, {143, 20}, {0, 0}, {143, 334}} << 66;
        QTest::newRow("onchu horizontal")
            << NameForm::CompanyOnchu << false << QRect(0, 0, 400, 120)
            << QList<QPoint>{{0, 0}, {20, 20}, {0, 0}, {334, 20}} << 66;
        // k = 75: company and department at 15 points (20), position at 19 (25).
        QTest::newRow("dono vertical")
            << NameForm::CompanyDono << true << QRect(0, 0, 240, 400)
            << QList<QPoint>{{218, 0}, {200, 20}, {175, 40}, {175, 375}} << 136;
        QTest::newRow("dono horizontal")
            << NameForm::CompanyDono << false << QRect(0, 0, 400, 240)
            << QList<QPoint>{{0, 0}, {20, 20}, {40, 40}, {375, 40}} << 136;
    }
    void companyForms() {
        QFETCH(NameForm, form);
        QFETCH(bool, vertical);
        QFETCH(QRect, box);
        QFETCH(QList<QPoint>, positions);
        QFETCH(int, spacing);
        Surface s;
        const TPrintNameData d = LayoutName(Face(s.canvas(), vertical), StartSizes(),
                                            {.Name = "佐藤　健一",
                                             .Honorific = "様",
                                             .Company = "株式会社テスト",
                                             .Department = "営業部",
                                             .Position = "部長",
                                             .Form = form},
                                            {box.x(), box.y(), box.width(), box.height()});
        QCOMPARE(d.CompanyPos, positions[0]);
        QCOMPARE(d.PostPos, positions[1]);
        if (form == NameForm::CompanyDono)
            QCOMPARE(d.ExecutivePos, positions[2]);
        QCOMPARE(d.TitlePos, positions[3]);
        QCOMPARE(d.CharSpacing, spacing);
    }

    void senderWithCompany_data() {
        QTest::addColumn<bool>("vertical");
        QTest::newRow("vertical") << true;
        QTest::newRow("horizontal") << false;
    }
    void senderWithCompany() {
        QFETCH(bool, vertical);
        Surface s;
        // Shares of 300 dots: address 86, company 67, name 61, contacts 86; nothing shrinks.
        const LayoutBox box = vertical ? LayoutBox{0, 0, 300, 400} : LayoutBox{0, 0, 400, 300};
        const TPrintSenderData d = LayoutSender(Face(s.canvas(), vertical), SenderTexts(true), box);
        QCOMPARE((QList<double>{d.AddressSize, d.OfficeSize, d.ExecutiveTitleSize, d.SenderNameSize,
                                d.TelFaxSize, d.MailSize}),
                 (QList<double>{12, 12, 12, 18, 12, 12}));
        QCOMPARE(d.CharSpacing, 36); // Rnd((0.6 * 400 - 96) / 4)
        // Along the text: company at 15 %, name at 40 %, labels at 1 - 0.6; across: columns of
        // 16 + 2 (24 + 2 for the name) from the right edge, or lines from the top.
        const auto at = [&](int along, int across) {
            return vertical ? QPoint(across, along) : QPoint(along, across);
        };
        const auto across = [&](int n) { return vertical ? 300 - n : n; };
        if (vertical) {
            QCOMPARE(d.Address1Pos, at(0, across(18)));
            QCOMPARE(d.Address2Pos, at(192, across(36)));
            QCOMPARE(d.OfficePos, at(60, across(54)));
            QCOMPARE(d.PostPos, at(76, across(72)));
            QCOMPARE(d.FamilyNamePos, at(160, across(98)));
            QCOMPARE(d.GivenNamePos, at(400 - 48 - 72, across(98)));
            QCOMPARE(d.ExecutivePos, at(60, across(98) + 4));
            QCOMPARE(d.TelLabelPos, at(160, across(116)));
            QCOMPARE(d.TelPos, at(400 - 112, across(116)));
            QCOMPARE(d.FaxLabelPos, at(160, across(134)));
        } else {
            QCOMPARE(d.Address1Pos, at(0, 2));
            QCOMPARE(d.Address2Pos, at(192, 20));
            QCOMPARE(d.OfficePos, at(60, 38));
            QCOMPARE(d.PostPos, at(76, 56));
            QCOMPARE(d.FamilyNamePos, at(160, 74));
            QCOMPARE(d.GivenNamePos, at(400 - 48 - 72, 74));
            QCOMPARE(d.ExecutivePos, at(60, 78));
            QCOMPARE(d.TelLabelPos, at(160, 100));
            QCOMPARE(d.TelPos, at(400 - 112, 100));
            QCOMPARE(d.FaxLabelPos, at(160, 118));
        }
        QVERIFY(d.PostCodePos.isNull() && d.MailLabelPos.isNull() && d.HpLabelPos.isNull());
    }

    void senderWithoutCompany_data() {
        QTest::addColumn<bool>("vertical");
        QTest::newRow("vertical") << true;
        QTest::newRow("horizontal") << false;
    }
    void senderWithoutCompany() {
        QFETCH(bool, vertical);
        Surface s;
        const LayoutBox box = vertical ? LayoutBox{10, 20, 300, 400} : LayoutBox{20, 10, 400, 300};
        const TPrintSenderData d =
            LayoutSender(Face(s.canvas(), vertical), SenderTexts(false), box);
        const auto along = [&](QPoint p) { return vertical ? p.y() : p.x(); };
        // The name at a quarter, labels at 1 - 0.75, spacing from 0.75 of the length.
        QCOMPARE(along(d.FamilyNamePos), 20 + 100);
        QCOMPARE(along(d.TelLabelPos), 20 + 100);
        QCOMPARE(along(d.FaxLabelPos), 20 + 100);
        QCOMPARE(d.CharSpacing, Rnd((0.75 * 400 - 96) / 4));
        QCOMPARE(along(d.TelPos), 20 + 400 - 112);
    }

    void senderGroupsShrinkToTheirShare() {
        // Two address lines and the name in 60 dots: shares 35 and 25, so the address cell is at
        // most 15 (11.6 points) and the name cell at most 23 (17.6 points).
        Surface s;
        TPrintSenderData start = SenderTexts(false);
        start.ContactLineCount = 0;
        start.TelLabel.clear();
        start.FaxLabel.clear();
        const TPrintSenderData d = LayoutSender(Face(s.canvas(), true), start, {0, 0, 60, 600});
        QVERIFY2(Near(d.AddressSize, 11.6), qPrintable(QString::number(d.AddressSize)));
        QVERIFY2(Near(d.SenderNameSize, 17.6), qPrintable(QString::number(d.SenderNameSize)));
    }

    void senderWithNothingToPrint() {
        Surface s;
        TPrintSenderData start;
        start.NameCount = 1;
        start.CharSpacing = 5;
        start.SenderNameSize = 18;
        const TPrintSenderData d = LayoutSender(Face(s.canvas(), false), start, {0, 0, 0, 0});
        QCOMPARE(d.CharSpacing, 5);
        QVERIFY(d.SenderNameSize <= 18);
    }
};

QTEST_MAIN(TestNameSenderLayout)
#include "tst_namesenderlayout.moc"
