#pragma once

#include "store/CustomerRecord.h"

#include <QString>
#include <QUrl>
#include <array>
#include <vector>

struct CustomerRecord;

// One listed customer as the bulk mail window needs it (columns of Usertbl).
struct MailCustomer {
    int userId = 0;                   // UserID
    QString name;                     // Name
    QString nameTitle;                // NameTitle
    int useType = 0;                  // UseType; 1 = company use
    QString mail1;                    // Mail_1
    QString mail2;                    // Mail_2
    QString officeMail1;              // OfficeMail_1
    QString officeMail2;              // OfficeMail_2
    std::array<QString, 4> sashikomi; // Sashikomi1 .. Sashikomi4
};

// One row of the recipient list LVAddress.
struct MailRecipient {
    QString name;
    QString nameTitle;
    QString address;
    std::array<QString, 4> sashikomi;
    int userId = 0;
};

// The address kinds of the context menu, by the items' tags.
enum class MailAddressKind { Mail1 = 1, Mail2 = 2, OfficeMail1 = 3, OfficeMail2 = 4 };

MailCustomer MailCustomerOf(const CustomerRecord &record);
QString AddressOf(const MailCustomer &customer, MailAddressKind kind);
// "個人用メール１" .. "会社用メール２".
QString AddressKindLabel(MailAddressKind kind);
// Company-use customers are mailed at OfficeMail_1, everyone else at Mail_1.
MailRecipient RecipientOf(const MailCustomer &customer);
std::vector<MailRecipient> BuildRecipientList(const std::vector<MailCustomer> &customers);

// Replaces [NAME], [NAME_TITLE], [SASHIKOMI1] .. [SASHIKOMI4] (any letter case), in that order.
QString Personalize(const QString &text, const MailRecipient &recipient);

// Mail templates (.mtl): line 1 the subject, the other lines the body; code page 932, CR LF.
bool WriteMailTemplate(const QString &path, const QString &subject, const QString &body,
                       QString *error);
// The body comes back with every line ended by CR LF. Refuses files that are not code page 932.
bool ReadMailTemplate(const QString &path, QString &subject, QString &body, QString *error);

// "mailto:" for one address of the editor's mail links.
QUrl MailLinkUrl(const QString &address);

// The "mailto:" of BtnSendMailClick: the customer's basic data, mailed to the user's own mobile
// address. Every value is percent-encoded, so "&", "?", "#" and "%" in a value stay in it.
QUrl BasicDataMailUrl(const QString &mobileAddress, const CustomerRecord &customer);
