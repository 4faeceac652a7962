#include "mail/MailComposition.h"

#include <algorithm>

#include "core/ShiftJis.h"
#include "core/TextFile.h"
#include "store/CustomerRecord.h"

#include <QFile>
#include <QStringDecoder>

MailCustomer MailCustomerOf(const CustomerRecord &r) {
    return {r.userId, r.name,        r.nameTitle,   r.useType,  r.mail1,
            r.mail2,  r.officeMail1, r.officeMail2, r.sashikomi};
}

QString AddressOf(const MailCustomer &customer, MailAddressKind kind) {
    switch (kind) {
    case MailAddressKind::Mail1:
        return customer.mail1;
    case MailAddressKind::Mail2:
        return customer.mail2;
    case MailAddressKind::OfficeMail1:
        return customer.officeMail1;
    case MailAddressKind::OfficeMail2:
        return customer.officeMail2;
    }
    return {};
}

QString AddressKindLabel(MailAddressKind kind) {
    switch (kind) {
    case MailAddressKind::Mail1:
        return QStringLiteral("個人用メール１");
    case MailAddressKind::Mail2:
        return QStringLiteral("個人用メール２");
    case MailAddressKind::OfficeMail1:
        return QStringLiteral("会社用メール１");
    case MailAddressKind::OfficeMail2:
        return QStringLiteral("会社用メール２");
    }
    return {};
}

MailRecipient RecipientOf(const MailCustomer &customer) {
    return {customer.name, customer.nameTitle,
            customer.useType == 1 ? customer.officeMail1 : customer.mail1, customer.sashikomi,
            customer.userId};
}

std::vector<MailRecipient> BuildRecipientList(const std::vector<MailCustomer> &customers) {
    std::vector<MailRecipient> rows;
    rows.reserve(customers.size());
    for (const MailCustomer &customer : customers)
        rows.push_back(RecipientOf(customer));
    return rows;
}

QString Personalize(const QString &text, const MailRecipient &recipient) {
    const std::pair<QString, const QString &> fields[] = {
        {QStringLiteral("[NAME]"), recipient.name},
        {QStringLiteral("[NAME_TITLE]"), recipient.nameTitle},
        {QStringLiteral("[SASHIKOMI1]"), recipient.sashikomi[0]},
        {QStringLiteral("[SASHIKOMI2]"), recipient.sashikomi[1]},
        {QStringLiteral("[SASHIKOMI3]"), recipient.sashikomi[2]},
        {QStringLiteral("[SASHIKOMI4]"), recipient.sashikomi[3]},
    };
    QString result = text;
    for (const auto &[placeholder, value] : fields)
        result.replace(placeholder, value, Qt::CaseInsensitive);
    return result;
}

bool WriteMailTemplate(const QString &path, const QString &subject, const QString &body,
                       QString *error) {
    return TextFile::WriteLines(path, QStringList{subject} + TextFile::SplitLines(body), error);
}

bool ReadMailTemplate(const QString &path, QString &subject, QString &body, QString *error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    // Japanese text in UTF-8 often decodes as code page 932 without a fault, only garbled.
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString asUtf8 = utf8(bytes);
    if (!utf8.hasError() && asUtf8.size() != bytes.size()) {
        *error = QStringLiteral("Shift-JISのテキストファイルではありません");
        return false;
    }
    // Stray bytes decode to control or private-use characters that would be mailed as they are.
    const auto unfit = [](QChar c) {
        const char16_t u = c.unicode();
        return (u < 0x20 && u != u'\t') || (u >= 0x7F && u <= 0x9F) ||
               (u >= 0xF8F0 && u <= 0xF8FF) || u == 0xFFFD;
    };
    QString text;
    const QList<QByteArray> byteLines = bytes.split('\n');
    for (qsizetype i = 0; i < byteLines.size(); ++i) {
        QByteArray line = byteLines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        QString decoded;
        if (!ShiftJis::DecodeShiftJisStrict(line, decoded) ||
            std::any_of(decoded.begin(), decoded.end(), unfit)) {
            *error = QStringLiteral("%1行目にShift-JISでない文字があります").arg(i + 1);
            return false;
        }
        text += decoded + (i + 1 < byteLines.size() ? QStringLiteral("\n") : QString());
    }
    const QStringList lines = TextFile::SplitLines(text);
    subject = lines.value(0);
    body.clear();
    for (qsizetype i = 1; i < lines.size(); ++i)
        body += lines[i] + QStringLiteral("\r\n");
    return true;
}

QUrl MailLinkUrl(const QString &address) {
    return QUrl::fromEncoded("mailto:" + QUrl::toPercentEncoding(address, "@,"));
}

QUrl BasicDataMailUrl(const QString &mobileAddress, const CustomerRecord &d) {
    const QString subject = d.name + u' ' + d.nameTitle + QStringLiteral("の情報");
    const QString body =
        QStringLiteral("名前：") + d.name + u'（' + d.kana + QStringLiteral("）\r\n\r\n個人〒：") +
        d.zip + QStringLiteral("\r\n個人住所：") + d.address1 + d.address2 +
        QStringLiteral("\r\n個人電話1：") + d.telNo1 + QStringLiteral("\r\n個人電話2：") +
        d.telNo2 + QStringLiteral("\r\n個人メール1：") + d.mail1 +
        QStringLiteral("\r\n個人メール2：") + d.mail2 + QStringLiteral("\r\n\r\n会社名：") +
        d.office + u'（' + d.officeKana + u'）' + QStringLiteral("\r\n部署：") + d.officePost +
        QStringLiteral("\r\n役職：") + d.officeExecutive + QStringLiteral("\r\n\r\n会社〒：") +
        d.officeZip + QStringLiteral("\r\n会社住所：") + d.officeAddress1 + d.officeAddress2 +
        QStringLiteral("\r\n会社電話1：") + d.officeTel1 + QStringLiteral("\r\n会社電話2：") +
        d.officeTel2 + QStringLiteral("\r\n会社メール1：") + d.officeMail1 +
        QStringLiteral("\r\n会社メール2：") + d.officeMail2;
    return QUrl::fromEncoded("mailto:" + QUrl::toPercentEncoding(mobileAddress, "@,") +
                             "?Subject=" + QUrl::toPercentEncoding(subject) +
                             "&Body=" + QUrl::toPercentEncoding(body));
}
