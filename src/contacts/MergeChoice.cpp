#include "contacts/MergeChoice.h"

#include "contacts/ContactKeys.h"

#include <QStringList>

std::span<const MergeField> MergeFields() {
    static const MergeField fields[] = {
        {u"氏名", [](CustomerRecord &c) -> QString & { return c.name; }},
        {u"フリガナ", [](CustomerRecord &c) -> QString & { return c.kana; }},
        {u"敬称", [](CustomerRecord &c) -> QString & { return c.nameTitle; }},
        {u"郵便番号", [](CustomerRecord &c) -> QString & { return c.zip; }},
        {u"住所1", [](CustomerRecord &c) -> QString & { return c.address1; }},
        {u"住所2", [](CustomerRecord &c) -> QString & { return c.address2; }},
        {u"電話1", [](CustomerRecord &c) -> QString & { return c.telNo1; }},
        {u"電話2", [](CustomerRecord &c) -> QString & { return c.telNo2; }},
        {u"FAX", [](CustomerRecord &c) -> QString & { return c.faxNo; }},
        {u"メール1", [](CustomerRecord &c) -> QString & { return c.mail1; }},
        {u"メール2", [](CustomerRecord &c) -> QString & { return c.mail2; }},
        {u"性別", [](CustomerRecord &c) -> QString & { return c.sex; }},
        {u"備考", [](CustomerRecord &c) -> QString & { return c.note; }},
        {u"会社名", [](CustomerRecord &c) -> QString & { return c.office; }},
        {u"会社名フリガナ", [](CustomerRecord &c) -> QString & { return c.officeKana; }},
        {u"会社郵便番号", [](CustomerRecord &c) -> QString & { return c.officeZip; }},
        {u"会社住所1", [](CustomerRecord &c) -> QString & { return c.officeAddress1; }},
        {u"会社住所2", [](CustomerRecord &c) -> QString & { return c.officeAddress2; }},
        {u"会社電話1", [](CustomerRecord &c) -> QString & { return c.officeTel1; }},
        {u"会社電話2", [](CustomerRecord &c) -> QString & { return c.officeTel2; }},
        {u"会社FAX", [](CustomerRecord &c) -> QString & { return c.officeFax; }},
        {u"会社メール1", [](CustomerRecord &c) -> QString & { return c.officeMail1; }},
        {u"会社メール2", [](CustomerRecord &c) -> QString & { return c.officeMail2; }},
        {u"部署", [](CustomerRecord &c) -> QString & { return c.officePost; }},
        {u"役職", [](CustomerRecord &c) -> QString & { return c.officeExecutive; }},
        {u"差込1", [](CustomerRecord &c) -> QString & { return c.sashikomi[0]; }},
        {u"差込2", [](CustomerRecord &c) -> QString & { return c.sashikomi[1]; }},
        {u"差込3", [](CustomerRecord &c) -> QString & { return c.sashikomi[2]; }},
        {u"差込4", [](CustomerRecord &c) -> QString & { return c.sashikomi[3]; }},
    };
    return fields;
}

CustomerRecord ProposedMerge(const CustomerRecord &kept, const CustomerRecord &other) {
    CustomerRecord merged = kept;
    for (const MergeField &field : MergeFields())
        if (field.text(merged).isEmpty())
            field.text(merged) = field.Of(other);
    if (!merged.birthDay.isValid())
        merged.birthDay = other.birthDay;
    if (merged.img1.isEmpty())
        merged.img1 = other.img1;
    if (merged.img2.isEmpty())
        merged.img2 = other.img2;

    // The joint names of both, each once (by its compared form), used ones ticked as they were.
    QStringList seen;
    int slot = 0;
    merged.checkRen = {};
    merged.renmei = {};
    merged.renNameTitle = {};
    for (const CustomerRecord *customer : {&kept, &other})
        for (size_t i = 0; i < customer->renmei.size() && slot < 4; ++i) {
            const QString key = NameKey(customer->renmei[i]);
            if (key.isEmpty() || seen.contains(key))
                continue;
            seen << key;
            merged.checkRen[size_t(slot)] = customer->checkRen[i];
            merged.renmei[size_t(slot)] = customer->renmei[i];
            merged.renNameTitle[size_t(slot)] = customer->renNameTitle[i];
            ++slot;
        }
    return merged;
}
