#pragma once

// The recipient's name block and the sender block of an address face, laid out with the layout
// engine: vertically (columns from right to left) or horizontally (lines from top to bottom).

#include "core/DomainWords.h"
#include "print/LayoutEngine.h"
#include "print/SenderData.h"

#include <QPoint>
#include <QString>
#include <array>

// Input and result of LayoutName.
struct TPrintNameData {
    // Points: start sizes set by the caller (15, 25, 15, 25 plus the user's adjustment),
    // lowered by the layout.
    double CompanySize = 0;
    double PostSize = 0;      // department
    double ExecutiveSize = 0; // position title, or the word closing a company form
    double NameSize = 0;

    // Device dots.
    QPoint CompanyPos;
    QPoint PostPos;
    QPoint ExecutivePos;
    QPoint GivenNamePos; // second name part
    QPoint NamePos;      // name, or its first part
    std::array<QPoint, 4> JointGivenPos;
    std::array<QPoint, 4> JointFamilyPos;
    std::array<QPoint, 4> JointTitlePos;
    QPoint TitlePos; // honorific, "殿" or "御中"
    int CharSpacing = 0;

    QString GivenName;
    QString FamilyName;
    // Joint names in the order of the marked slots (indexes 0 to 3), filled by the caller.
    std::array<QString, 5> JointGiven;
    std::array<QString, 5> JointFamily;
    std::array<QString, 5> JointTitle;
};

enum class NameForm {
    Personal,     // name with up to four joint names
    CompanyOnchu, // "会社部署御中": company, department, "御中"
    CompanyDono,  // "会社部署役職殿": company, department, position, "殿"
    CompanyNamed, // "会社部署役職氏名" and anything else: company, department, position, name
};

// The form of the name block: personal for the personal use type or the personal name print
// control, otherwise by the print control.
NameForm ChooseNameForm(PrintControl printControl, UseType useType);

// The recipient's texts of a name block, as printed (full-width), and its form.
struct NameBlockTexts {
    QString Name{};
    QString Honorific{};
    QString Company{};
    QString Department{};
    QString Position{};
    NameForm Form = NameForm::Personal;
    int JointCount = 0; // marked joint names, their texts in TPrintNameData
};

// Lays out the name block in `box`. The name is split into FamilyName and GivenName; in the
// personal form joint family parts equal to the one before them are emptied. A name keeps the
// pitch of its own size, its parts half a full-width space apart, and its line is centred in the
// frame (in the company form with the position before it); joint names share its levels.
TPrintNameData LayoutName(const FaceContext &face, TPrintNameData data, const NameBlockTexts &texts,
                          const LayoutBox &box);

// Draws a laid-out name block: the spaced items (name parts; the position in the 殿 form; the
// department in the 御中 form) with DrawSpacedText, the rest with DrawItemText, in black. Joint
// names (up to the first without a given part) only in the personal form.
void DrawNameBlock(const FaceContext &face, const TPrintNameData &data,
                   const NameBlockTexts &texts);

// Lays out the sender block in `box`: the address, company, name and contact groups share the
// box by the weights 70, 55, 100 and 70 per line.
TPrintSenderData LayoutSender(const FaceContext &face, TPrintSenderData data, const LayoutBox &box);

// Draws a laid-out sender block in black (postal code line, address, company, department, title,
// the spaced name, contact labels and values). The postal code boxes and the kanji numerals of
// vertical writing are the caller's.
void DrawSenderBlock(const FaceContext &face, const TPrintSenderData &data);
