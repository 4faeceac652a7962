#pragma once

// The words of the customer book that several windows and the prints share: the use type and
// print control of a customer with their captions, the honorifics and the default face names.

#include <QString>
#include <QStringList>

// Which block of a customer is used: the personal one or the company one (column UseType).
enum class UseType { Personal, Company };

// A stored UseType value: 1 is the company block, anything else the personal one.
UseType UseTypeOf(int stored);
// "個人用", "会社用".
QString UseTypeCaption(UseType useType);

// How the name block of a printed face is formed (column PrintCtrl).
enum class PrintControl {
    PersonalName, // 0 and 4: the name with its joint names
    CompanyOnchu, // 1: company, department, "御中"
    CompanyDono,  // 2: company, department, position, "殿"
    CompanyNamed, // 3: company, department, position, name
    Unknown,      // any other stored value: formed like CompanyNamed, shown without caption
};

PrintControl PrintControlOf(int stored);
// "個人名", "会社部署御中", "会社部署役職殿", "会社部署役職氏名", or empty for Unknown: the print
// list's captions.
QString PrintControlCaption(PrintControl control);
// The editor's choices for stored values 0 to 3: "名前", "会社部署御中", "会社部署役職殿",
// "会社部署役職名前".
const QStringList &PrintControlChoices();

// Honorifics.
inline const QString kHonorificSama = QStringLiteral("様");
inline const QString kHonorificDono = QStringLiteral("殿");
inline const QString kHonorificOnchu = QStringLiteral("御中");
// The honorifics a customer's name may take, as the editor offers them (the first is none).
const QStringList &HonorificChoices();

// The face the program writes in unless the user chose another, the face of the postal code
// boxes and the customer barcode face.
inline const QString kDefaultFontName = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kPostalBoxFace = QStringLiteral("MS_ゴシック");
inline const QString kBarcodeFace = QStringLiteral("PB Barcode");
// In front of a face name: its vertical variant.
inline const QString kVerticalFaceMark = QStringLiteral("@");
