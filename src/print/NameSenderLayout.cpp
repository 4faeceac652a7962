#include "print/NameSenderLayout.h"

#include "core/TextHelpers.h"
#include "print/AddressCheck.h"

#include <algorithm>

namespace {

const QString kRef = QStringLiteral("あ");
const QString kSpace = QStringLiteral(" ");
const QString kWideSpace = QStringLiteral("　");

// Fitting and measuring in one face on one canvas.
class Typesetter {
public:
    explicit Typesetter(const FaceContext &face) : face_(face) {}

    double Fit(double size, const std::function<bool()> &fits) {
        return FitFont(face_, size, fits);
    }
    void Use(double size) { CreateLayoutFont(face_, size); }
    int W(const QString &text) const { return MeasureText(face_.Canvas, text); }
    int H(const QString &text) const { return TextHeight(face_.Canvas, text); }

private:
    const FaceContext &face_;
};

// Positions along the text direction and across it, as device points.
QPoint At(bool vertical, int along, int across) {
    return vertical ? QPoint(across, along) : QPoint(along, across);
}

QString Widest(const Typesetter &t, QString widest, const std::array<QString, 5> &others,
               int count) {
    for (int i = 0; i < count; ++i)
        if (t.W(others[i]) > t.W(widest))
            widest = others[i];
    return widest;
}

// Joint entries visited for the personal form: in order, up to the first without a given part.
int VisitedJoints(const TPrintNameData &d, int jointCount) {
    const int joints = std::clamp(jointCount, 0, 4);
    int visited = 0;
    while (visited < joints && !d.JointGiven[visited].isEmpty())
        ++visited;
    return visited;
}

// A name set at its own pitch: the family part, half a full-width space, the given part, half a
// space, the honorific; a gap only between parts that are there. Offsets from the line's start.
struct NameLine {
    int GivenOffset = 0;
    int TitleOffset = 0;
    int Length = 0;
};

NameLine SetName(const Typesetter &t, const QString &family, const QString &given,
                 const QString &title) {
    const int half = Rnd(t.W(kWideSpace) / 2.0);
    NameLine line;
    line.GivenOffset = t.W(family) + (family.isEmpty() || given.isEmpty() ? 0 : half);
    const int givenEnd = line.GivenOffset + t.W(given);
    line.TitleOffset = givenEnd + (givenEnd == 0 || title.isEmpty() ? 0 : half);
    line.Length = line.TitleOffset + t.W(title);
    return line;
}

// Where a line of `length` starts when it is centred in `room` from `start`.
int Centred(int start, int room, int length) {
    return start + std::max(0, (room - length) / 2);
}

void LayoutPersonal(Typesetter &t, TPrintNameData &d, const LayoutBox &box, int g, bool vertical,
                    int jointCount, const QString &honorific) {
    const std::array<QString, 5> entered = d.JointFamily;
    if (d.JointFamily[0] == d.FamilyName)
        d.JointFamily[0].clear();
    for (int i = 1; i < 4; ++i)
        if (d.JointFamily[i] == entered[i - 1])
            d.JointFamily[i].clear();

    const int joints = std::clamp(jointCount, 0, 4);
    const int across = vertical ? box.Width : box.Height;
    const int len = vertical ? box.Height : box.Width;
    const int along0 = vertical ? box.Top : box.Left;
    d.NameSize = t.Fit(d.NameSize, [&] { return double(across) / (joints + 1) >= t.H(kRef) + g; });

    // Joint names share the family, given and honorific levels of the widest of each.
    const int visited = VisitedJoints(d, jointCount);
    const QString E = Widest(t, d.FamilyName, d.JointFamily, visited);
    const QString Q = Widest(t, d.GivenName, d.JointGiven, visited);
    const QString P = Widest(t, honorific, d.JointTitle, visited);
    d.NameSize = t.Fit(d.NameSize, [&] { return SetName(t, E, Q, P).Length <= len; });
    if (CountChars(E + Q + P) > 0)
        d.CharSpacing = 0;

    const NameLine line = SetName(t, E, Q, P);
    const int start = Centred(along0, len, line.Length);
    const int step = t.H(kRef) + g;
    const int shift = std::max(0, (across - step * (visited + 1)) / 2);
    const auto acrossOf = [&](int column) {
        return vertical ? box.Left + box.Width - shift - step * (column + 1)
                        : box.Top + shift + step * column;
    };
    d.NamePos = At(vertical, start, acrossOf(0));
    d.GivenNamePos = At(vertical, start + line.GivenOffset, acrossOf(0));
    d.TitlePos = At(vertical, start + line.TitleOffset, acrossOf(0));
    for (int i = 0; i < 4; ++i) {
        d.JointFamilyPos[i] = At(vertical, start, acrossOf(i + 1));
        d.JointGivenPos[i] = At(vertical, start + line.GivenOffset, acrossOf(i + 1));
        d.JointTitlePos[i] = At(vertical, start + line.TitleOffset, acrossOf(i + 1));
    }
}

// The company line and the department line after it, from the company font the canvas holds:
// the company fitted to the length, the department from the company's size fitted to what the
// company leaves. Widths and heights are those of "あ" in each final font; 0 for an empty line.
struct CompanyLines {
    int CompanyWidth = 0;
    int CompanyHeight = 0;
    int CompanyFontHeight = 0;
    int PostWidth = 0;
    int PostHeight = 0;
    int PostFontHeight = 0;
};

CompanyLines FitCompanyLines(Typesetter &t, TPrintNameData &d, int len,
                             const NameBlockTexts &texts) {
    CompanyLines lines;
    if (!texts.Company.isEmpty()) {
        d.CompanySize = t.Fit(d.CompanySize, [&] { return t.W(texts.Company) <= len; });
        lines.CompanyWidth = t.W(kRef);
        lines.CompanyHeight = t.H(kRef);
    }
    lines.CompanyFontHeight = t.H(kRef);

    d.PostSize = d.CompanySize;
    t.Use(d.PostSize);
    if (!texts.Department.isEmpty()) {
        d.PostSize =
            t.Fit(d.PostSize, [&] { return t.W(texts.Department) + lines.CompanyWidth <= len; });
        lines.PostWidth = t.W(kRef);
        lines.PostHeight = t.H(kRef);
    }
    lines.PostFontHeight = t.H(kRef);
    return lines;
}

void LayoutCompanyNamed(Typesetter &t, TPrintNameData &d, const LayoutBox &box, int g,
                        bool vertical, const NameBlockTexts &texts) {
    const QString &position = texts.Position, &honorific = texts.Honorific;
    const int L = box.Left, T = box.Top, W = box.Width, H = box.Height;
    const int len = vertical ? H : W;
    const double k = (vertical ? W : H) * 100.0 / 240;
    const QString F = d.FamilyName, G = d.GivenName;

    // Measured on "あ", so that the title and position keep to the frame without a name too.
    d.NameSize = t.Fit(d.NameSize, [&] { return t.H(kRef) < k - g; });
    const int m = CountChars(F + G);
    d.NameSize =
        t.Fit(d.NameSize, [&] { return t.W(F + G + kWideSpace + honorific) <= Rnd(len * 0.7); });

    // Half the name's size at least, so that on a small label the position does not vanish.
    d.ExecutiveSize = std::max({1.0, d.NameSize - 10, d.NameSize / 2});
    d.ExecutiveSize = t.Fit(d.ExecutiveSize, [&] { return t.W(position + kSpace) <= len * 0.3; });
    const int a = t.W(position + kSpace);
    const int e = t.H(kRef);

    t.Use(d.NameSize);
    if (m > 0)
        d.CharSpacing = 0;
    const int hName = t.H(kRef);
    const int wName = t.W(kRef);
    // The position, the name and the honorific make one line, centred along the frame.
    const NameLine line = SetName(t, F, G, honorific);
    const int start = Centred(vertical ? T : L, len, a + line.Length);

    d.CompanySize = std::max(1.0, d.NameSize - 5);
    t.Use(d.CompanySize);
    // Company and department share what the name leaves across the frame.
    if (const int companyLines = int(!texts.Company.isEmpty()) + int(!texts.Department.isEmpty());
        companyLines > 0) {
        const int room = ((vertical ? W : H) - hName - 3 * g) / companyLines;
        d.CompanySize = t.Fit(d.CompanySize, [&] { return t.H(kRef) <= room; });
    }
    const CompanyLines lines = FitCompanyLines(t, d, len, texts);
    const int wc = lines.CompanyWidth, hc = lines.CompanyHeight, hd = lines.PostHeight;
    const int hCompanyFont = lines.CompanyFontHeight, hPostFont = lines.PostFontHeight;

    int nameAcross = 0;
    if (vertical) {
        const int right = L + W;
        d.CompanyPos = QPoint(right - hCompanyFont - g, T);
        d.PostPos = QPoint(right - hc - hPostFont - 2 * g, T + wc);
        nameAcross = right - hc - hd - hName - 3 * g;
        d.ExecutivePos = QPoint(right - hc - hd - e - Rnd((hName - e) / 2.0) - 3 * g, start);
    } else {
        d.CompanyPos = QPoint(L, T);
        d.PostPos = QPoint(L + wc, T + hc);
        nameAcross = T + hc + hd;
        d.ExecutivePos = QPoint(start, T + hc + hd + Rnd((wName - e) / 2.0));
    }
    d.NamePos = At(vertical, start + a, nameAcross);
    d.GivenNamePos = At(vertical, start + a + line.GivenOffset, nameAcross);
    d.TitlePos = At(vertical, start + a + line.TitleOffset, nameAcross);
}

void LayoutCompanyDono(Typesetter &t, TPrintNameData &d, const LayoutBox &box, int g, bool vertical,
                       const NameBlockTexts &texts) {
    const int L = box.Left, T = box.Top, W = box.Width, H = box.Height;
    const int len = vertical ? H : W;
    const double k = (vertical ? W : H) * 75.0 / 240;
    const QString &position = texts.Position;
    const QString &dono = kHonorificDono;

    d.CompanySize = t.Fit(d.CompanySize, [&] { return t.H(texts.Company) <= k; });
    const CompanyLines lines = FitCompanyLines(t, d, len, texts);
    const int wc = lines.CompanyWidth, hc = lines.CompanyHeight;
    const int wd = lines.PostWidth, hd = lines.PostHeight;
    const int hCompanyFont = lines.CompanyFontHeight, hPostFont = lines.PostFontHeight;

    d.ExecutiveSize = d.CompanySize + 4;
    d.ExecutiveSize =
        t.Fit(d.ExecutiveSize, [&] { return t.W(position) <= len - t.W(kSpace + dono) - wd - wc; });
    // A frame of few lines leaves the position line only what company and department do not take.
    d.ExecutiveSize =
        t.Fit(d.ExecutiveSize, [&] { return t.H(kRef) <= (vertical ? W : H) - hc - hd; });
    if (const int m = CountChars(position); m > 0)
        d.CharSpacing = Rnd(double(len - wc - wd - t.W(position + kSpace + dono)) / m);
    const int hExecutiveFont = t.H(kRef);
    const int donoWidth = t.W(dono);

    if (vertical) {
        const int right = L + W;
        d.CompanyPos = QPoint(right - hCompanyFont - g, T);
        d.PostPos = QPoint(right - hc - hPostFont, T + wc);
        d.ExecutivePos = QPoint(right - hc - hd - hExecutiveFont, T + wc + wd);
        d.TitlePos = QPoint(d.ExecutivePos.x(), T + H - donoWidth);
    } else {
        d.CompanyPos = QPoint(L, T);
        d.PostPos = QPoint(L + wc, T + hc);
        d.ExecutivePos = QPoint(L + wc + wd, T + hc + hd);
        d.TitlePos = QPoint(L + W - donoWidth, d.ExecutivePos.y());
    }
}

void LayoutCompanyOnchu(Typesetter &t, TPrintNameData &d, const LayoutBox &box, int g,
                        bool vertical, const NameBlockTexts &texts) {
    const QString &department = texts.Department, &company = texts.Company;
    const int L = box.Left, T = box.Top, W = box.Width, H = box.Height;
    const int len = vertical ? H : W;
    const QString &onchu = kHonorificOnchu;
    const QString spacedOnchu = kSpace + onchu;

    d.CompanySize = t.Fit(d.CompanySize, [&] { return t.W(company) <= len; });
    if (!vertical)
        d.CompanySize = t.Fit(d.CompanySize, [&] { return t.H(company) <= H / 2; });
    const int wc = t.W(kRef);
    const int hc = t.H(kRef);

    d.PostSize = t.Fit(d.PostSize, [&] { return t.W(department) <= len - wc - t.W(spacedOnchu); });
    if (!vertical)
        d.PostSize = t.Fit(d.PostSize, [&] { return 2 * t.H(department) <= H; });
    if (const int m = CountChars(department); m > 0)
        d.CharSpacing = Rnd(double(len - t.W(department) - wc - t.W(spacedOnchu)) / m);
    const int onchuWidth = t.W(onchu);

    if (vertical) {
        d.CompanyPos = QPoint(L + W - hc - g, T);
        d.PostPos = QPoint(d.CompanyPos.x() - t.H(kRef) - g, T + wc);
        d.TitlePos = QPoint(d.PostPos.x(), T + H - onchuWidth);
    } else {
        d.CompanyPos = QPoint(L, T);
        d.PostPos = QPoint(L + wc, T + hc);
        d.TitlePos = QPoint(L + W - onchuWidth, d.PostPos.y());
    }
}

} // namespace

NameForm ChooseNameForm(PrintControl printControl, UseType useType) {
    if (useType == UseType::Personal || printControl == PrintControl::PersonalName)
        return NameForm::Personal;
    if (printControl == PrintControl::CompanyOnchu)
        return NameForm::CompanyOnchu;
    if (printControl == PrintControl::CompanyDono)
        return NameForm::CompanyDono;
    return NameForm::CompanyNamed;
}

TPrintNameData LayoutName(const FaceContext &face, TPrintNameData data, const NameBlockTexts &texts,
                          const LayoutBox &box) {
    Typesetter t(face);
    const int gap = face.Gap;
    const bool vertical = face.Vertical;
    if (texts.Form == NameForm::Personal || texts.Form == NameForm::CompanyNamed)
        std::tie(data.FamilyName, data.GivenName) = SplitName(texts.Name);
    switch (texts.Form) {
    case NameForm::Personal:
        LayoutPersonal(t, data, box, gap, vertical, texts.JointCount, texts.Honorific);
        break;
    case NameForm::CompanyNamed:
        LayoutCompanyNamed(t, data, box, gap, vertical, texts);
        break;
    case NameForm::CompanyDono:
        LayoutCompanyDono(t, data, box, gap, vertical, texts);
        break;
    case NameForm::CompanyOnchu:
        LayoutCompanyOnchu(t, data, box, gap, vertical, texts);
        break;
    }
    return data;
}

void DrawNameBlock(const FaceContext &face, const TPrintNameData &d, const NameBlockTexts &texts) {
    const auto item = [&](const QString &text, QPoint at, double size) {
        DrawItemText(face, text, at, size);
    };
    const auto spaced = [&](const QString &first, const QString &second, QPoint at, double size) {
        DrawSpacedText(face, first, second, d.CharSpacing, at, size);
    };
    switch (texts.Form) {
    case NameForm::Personal: {
        const int visited = VisitedJoints(d, texts.JointCount);
        spaced(d.FamilyName, {}, d.NamePos, d.NameSize);
        for (int i = 0; i < visited; ++i)
            spaced(d.JointFamily[i], {}, d.JointFamilyPos[i], d.NameSize);
        spaced({}, d.GivenName, d.GivenNamePos, d.NameSize);
        for (int i = 0; i < visited; ++i)
            spaced({}, d.JointGiven[i], d.JointGivenPos[i], d.NameSize);
        item(texts.Honorific, d.TitlePos, d.NameSize);
        for (int i = 0; i < visited; ++i)
            item(d.JointTitle[i], d.JointTitlePos[i], d.NameSize);
        break;
    }
    case NameForm::CompanyOnchu:
        item(texts.Company, d.CompanyPos, d.CompanySize);
        spaced(texts.Department, {}, d.PostPos, d.PostSize);
        item(kHonorificOnchu, d.TitlePos, d.PostSize);
        break;
    case NameForm::CompanyDono:
        item(texts.Company, d.CompanyPos, d.CompanySize);
        item(texts.Department, d.PostPos, d.PostSize);
        spaced(texts.Position, {}, d.ExecutivePos, d.ExecutiveSize);
        item(kHonorificDono, d.TitlePos, d.ExecutiveSize);
        break;
    case NameForm::CompanyNamed:
        item(texts.Company, d.CompanyPos, d.CompanySize);
        item(texts.Department, d.PostPos, d.PostSize);
        item(texts.Position, d.ExecutivePos, d.ExecutiveSize);
        spaced(d.FamilyName, {}, d.NamePos, d.NameSize);
        spaced({}, d.GivenName, d.GivenNamePos, d.NameSize);
        item(texts.Honorific, d.TitlePos, d.NameSize);
        break;
    }
}

TPrintSenderData LayoutSender(const FaceContext &face, TPrintSenderData d, const LayoutBox &box) {
    Typesetter t(face);
    const int g = face.Gap;
    const bool vertical = face.Vertical;
    const int len = vertical ? box.Height : box.Width;
    const int along0 = vertical ? box.Top : box.Left;
    const int nA = d.AddressLineCount, nO = d.OfficeLineCount, nN = d.NameCount,
              nC = d.ContactLineCount;

    // Share the width (columns) or the height (lines) among the groups.
    const int weights = 70 * nA + 55 * nO + 100 * nN + 70 * nC;
    const double f = weights > 0 ? double(vertical ? box.Width : box.Height) / weights : 0;
    const auto fitGroup = [&](double size, int count, int weight) {
        const int share = Rnd(weight * count * f);
        return t.Fit(size, [&] { return (g + t.H(kRef)) * count <= share; });
    };
    d.AddressSize = fitGroup(d.AddressSize, nA, 70);
    d.OfficeSize = fitGroup(d.OfficeSize, nO, 55);
    d.SenderNameSize = fitGroup(d.SenderNameSize, nN, 100);
    d.TelFaxSize = fitGroup(d.TelFaxSize, nC, 70);
    d.MailSize = d.TelFaxSize;

    d.AddressSize = t.Fit(d.AddressSize, [&] {
        return t.W(QStringLiteral("〒") + d.PrintPostCode) <= len && t.W(d.PrintAddress1) <= len &&
               t.W(kWideSpace + d.PrintAddress2) <= len;
    });

    const QString F = d.PrintFamilyName, G = d.PrintGivenName;
    const int nameChars = CountChars(F + G);
    const double K = nO > 0 ? 0.6 : 0.75;
    if (nO > 0) {
        d.OfficeSize = t.Fit(d.OfficeSize, [&] { return t.W(d.PrintOffice) <= 0.85 * len; });
        d.OfficeSize = t.Fit(d.OfficeSize, [&] { return t.W(d.PrintPost + kRef) <= 0.85 * len; });
        d.ExecutiveTitleSize = d.OfficeSize;
        d.ExecutiveTitleSize = t.Fit(d.ExecutiveTitleSize,
                                     [&] { return t.W(d.PrintExecutive + kSpace) <= 0.25 * len; });
    }
    d.SenderNameSize = t.Fit(d.SenderNameSize, [&] { return t.W(F + kSpace + G) <= K * len; });
    if (nameChars > 0)
        d.CharSpacing = Rnd((K * len - t.W(F + G)) / nameChars);

    const auto telFaxFit = [&](double share) {
        return t.Fit(d.TelFaxSize, [&] {
            return t.W(d.TelLabel + d.PrintTel) <= share * len &&
                   t.W(d.FaxLabel + d.PrintFax) <= share * len;
        });
    };
    // Numbers too small to read in their usual share of the line take the whole line.
    const double sharedTelFaxSize = telFaxFit(K);
    d.TelFaxSize = sharedTelFaxSize >= kSmallestReadableSize ? sharedTelFaxSize : telFaxFit(1);
    d.HpSize = t.Fit(d.HpSize, [&] { return t.W(d.HpLabel + d.PrintHp) <= K * len; });
    d.MailSize = t.Fit(d.MailSize, [&] { return t.W(d.MailLabel + d.PrintMail) <= K * len; });

    // The running edge: columns leftward from the right edge, or lines downward from the top.
    int edge = vertical ? box.Left + box.Width : box.Top + g;
    const auto nextLine = [&](int extent) {
        if (vertical) {
            edge -= extent + g;
            return edge;
        }
        const int across = edge;
        edge += extent + g;
        return across;
    };
    const auto at = [&](int along, int across) { return At(vertical, along, across); };

    t.Use(d.AddressSize);
    if (!d.PrintPostCode.isEmpty())
        d.PostCodePos = at(along0, nextLine(t.H(kRef)));
    if (!d.PrintAddress1.isEmpty())
        d.Address1Pos = at(along0, nextLine(t.H(kRef)));
    if (!d.PrintAddress2.isEmpty()) {
        const int w1 = t.W(d.PrintAddress1), w2 = t.W(d.PrintAddress2);
        int along = along0 + w1 - t.W(kRef);
        if (w2 >= w1)
            along = along0 + t.W(kRef);
        else if (len < t.W(d.PrintAddress1 + d.PrintAddress2) - t.W(kRef))
            along = along0 + len - w2;
        d.Address2Pos = at(along, nextLine(t.H(kRef)));
    }

    t.Use(d.SenderNameSize);
    const int givenAlong = along0 + len - t.W(G) - CountChars(G) * d.CharSpacing;
    if (nO > 0 || !d.PrintExecutive.isEmpty()) {
        t.Use(d.OfficeSize);
        const int indent = along0 + Rnd(0.15 * len);
        if (!d.PrintOffice.isEmpty())
            d.OfficePos = at(indent, nextLine(t.H(kRef)));
        if (!d.PrintPost.isEmpty())
            d.PostPos = at(indent + t.W(kRef), nextLine(t.H(kRef)));
        t.Use(d.ExecutiveTitleSize);
        const int hTitle = t.H(kRef);
        t.Use(d.SenderNameSize);
        const int hName = t.H(kRef);
        const int nameAcross = nextLine(vertical ? t.W(kRef) : hName);
        d.FamilyNamePos = at(along0 + Rnd(0.4 * len), nameAcross);
        d.GivenNamePos = at(givenAlong, nameAcross);
        d.ExecutivePos = at(indent, nameAcross + Rnd((hName - hTitle) / 2.0));
    } else {
        const int nameAcross = nextLine(t.H(kRef));
        d.FamilyNamePos = at(Rnd(along0 + 0.25 * len), nameAcross);
        d.GivenNamePos = at(givenAlong, nameAcross);
    }

    const int labelAlong = Rnd(len * (1 - K) + along0);
    t.Use(d.TelFaxSize);
    const int telFaxWidth = std::max(t.W(d.PrintTel), t.W(d.PrintFax));
    const int telFaxLabelAlong =
        std::max(along0, std::min(labelAlong, along0 + len - telFaxWidth -
                                                  std::max(t.W(d.TelLabel), t.W(d.FaxLabel))));
    if (!d.TelLabel.isEmpty()) {
        const int across = nextLine(t.H(kRef));
        d.TelLabelPos = at(telFaxLabelAlong, across);
        d.TelPos = at(along0 + len - telFaxWidth, across);
    }
    if (!d.FaxLabel.isEmpty()) {
        const int across = nextLine(t.H(kRef));
        d.FaxLabelPos = at(telFaxLabelAlong, across);
        d.FaxPos = at(along0 + len - telFaxWidth, across);
    }
    t.Use(d.MailSize);
    if (!d.MailLabel.isEmpty()) {
        const int across = nextLine(t.H(kRef));
        d.MailLabelPos = at(labelAlong, across);
        d.MailPos = at(along0 + len - t.W(d.PrintMail), across);
    }
    t.Use(d.HpSize);
    if (!d.HpLabel.isEmpty()) {
        const int across = nextLine(t.H(kRef));
        d.HpLabelPos = at(labelAlong, across);
        d.HpPos = at(along0 + len - t.W(d.PrintHp), across);
    }
    return d;
}

void DrawSenderBlock(const FaceContext &face, const TPrintSenderData &d) {
    const auto item = [&](const QString &text, QPoint at, double size) {
        if (!text.isEmpty())
            DrawItemText(face, text, at, size);
    };
    item(d.PrintPostCode, d.PostCodePos, d.AddressSize);
    item(d.PrintAddress1, d.Address1Pos, d.AddressSize);
    item(d.PrintAddress2, d.Address2Pos, d.AddressSize);
    item(d.PrintOffice, d.OfficePos, d.OfficeSize);
    item(d.PrintPost, d.PostPos, d.OfficeSize);
    item(d.PrintExecutive, d.ExecutivePos, d.ExecutiveTitleSize);
    DrawSpacedText(face, d.PrintFamilyName, {}, d.CharSpacing, d.FamilyNamePos, d.SenderNameSize);
    DrawSpacedText(face, {}, d.PrintGivenName, d.CharSpacing, d.GivenNamePos, d.SenderNameSize);
    item(d.TelLabel, d.TelLabelPos, d.TelFaxSize);
    item(d.PrintTel, d.TelPos, d.TelFaxSize);
    item(d.FaxLabel, d.FaxLabelPos, d.TelFaxSize);
    item(d.PrintFax, d.FaxPos, d.TelFaxSize);
    item(d.HpLabel, d.HpLabelPos, d.HpSize);
    item(d.PrintHp, d.HpPos, d.HpSize);
    item(d.MailLabel, d.MailLabelPos, d.MailSize);
    item(d.PrintMail, d.MailPos, d.MailSize);
}
