#include "records/CustomerConflict.h"

#include "core/TextHelpers.h"

namespace {

QString YesNo(bool on) {
    return on ? QStringLiteral("する") : QStringLiteral("しない");
}

template <QString CustomerRecord::*member> constexpr StoredField Text(const char16_t *caption) {
    return {caption, [](const CustomerRecord &c) { return c.*member; },
            [](CustomerRecord &to, const CustomerRecord &from) { to.*member = from.*member; }};
}

template <int CustomerRecord::*member> constexpr StoredField Number(const char16_t *caption) {
    return {caption, [](const CustomerRecord &c) { return QString::number(c.*member); },
            [](CustomerRecord &to, const CustomerRecord &from) { to.*member = from.*member; }};
}

template <auto member, size_t slot> constexpr StoredField Joint(const char16_t *caption) {
    return {caption,
            [](const CustomerRecord &c) {
                const auto &value = (c.*member)[slot];
                if constexpr (std::is_same_v<std::decay_t<decltype(value)>, bool>)
                    return YesNo(value);
                else
                    return value;
            },
            [](CustomerRecord &to, const CustomerRecord &from) {
                (to.*member)[slot] = (from.*member)[slot];
            }};
}

} // namespace

std::span<const StoredField> StoredFields() {
    using C = CustomerRecord;
    static const StoredField fields[] = {
        Text<&C::name>(u"氏名"),
        Text<&C::kana>(u"フリガナ"),
        Text<&C::nameTitle>(u"敬称"),
        Text<&C::zip>(u"郵便番号"),
        Text<&C::address1>(u"住所1"),
        Text<&C::address2>(u"住所2"),
        Text<&C::telNo1>(u"電話1"),
        Text<&C::telNo2>(u"電話2"),
        Text<&C::faxNo>(u"FAX"),
        Text<&C::mail1>(u"メール1"),
        Text<&C::mail2>(u"メール2"),
        {u"誕生日",
         [](const C &c) { return c.birthDay.isValid() ? ShortDateText(c.birthDay) : QString(); },
         [](C &to, const C &from) { to.birthDay = from.birthDay; }},
        Text<&C::sex>(u"性別"),
        Number<&C::classId>(u"分類1"),
        Number<&C::classId2>(u"分類2"),
        {u"印刷", [](const C &c) { return YesNo(c.print); },
         [](C &to, const C &from) { to.print = from.print; }},
        Text<&C::note>(u"備考"),
        Number<&C::useType>(u"個人・会社"),
        Number<&C::printCtrl>(u"印刷先"),
        Text<&C::office>(u"会社名"),
        Text<&C::officeKana>(u"会社名フリガナ"),
        Text<&C::officeZip>(u"会社郵便番号"),
        Text<&C::officeAddress1>(u"会社住所1"),
        Text<&C::officeAddress2>(u"会社住所2"),
        Text<&C::officeTel1>(u"会社電話1"),
        Text<&C::officeTel2>(u"会社電話2"),
        Text<&C::officeFax>(u"会社FAX"),
        Text<&C::officeMail1>(u"会社メール1"),
        Text<&C::officeMail2>(u"会社メール2"),
        Text<&C::officePost>(u"部署"),
        Text<&C::officeExecutive>(u"役職"),
        Joint<&C::checkRen, 0>(u"連名1を印刷"),
        Joint<&C::renmei, 0>(u"連名1"),
        Joint<&C::renNameTitle, 0>(u"連名1の敬称"),
        Joint<&C::checkRen, 1>(u"連名2を印刷"),
        Joint<&C::renmei, 1>(u"連名2"),
        Joint<&C::renNameTitle, 1>(u"連名2の敬称"),
        Joint<&C::checkRen, 2>(u"連名3を印刷"),
        Joint<&C::renmei, 2>(u"連名3"),
        Joint<&C::renNameTitle, 2>(u"連名3の敬称"),
        Joint<&C::checkRen, 3>(u"連名4を印刷"),
        Joint<&C::renmei, 3>(u"連名4"),
        Joint<&C::renNameTitle, 3>(u"連名4の敬称"),
        Joint<&C::sashikomi, 0>(u"差込1"),
        Joint<&C::sashikomi, 1>(u"差込2"),
        Joint<&C::sashikomi, 2>(u"差込3"),
        Joint<&C::sashikomi, 3>(u"差込4"),
    };
    return fields;
}

ConcurrentChange FoldConcurrentChange(const CustomerRecord &base, const CustomerRecord &mine,
                                      const CustomerRecord &theirs) {
    ConcurrentChange change{theirs, {}, {}};
    const std::span<const StoredField> fields = StoredFields();
    for (int index = 0; index < int(fields.size()); ++index) {
        const StoredField &field = fields[size_t(index)];
        const QString mineText = field.text(mine);
        const QString theirText = field.text(theirs);
        if (mineText == field.text(base) || mineText == theirText)
            continue;
        field.take(change.merged, mine);
        if (theirText != field.text(base)) {
            change.conflicts.push_back(index);
            change.versions.push_back({QString::fromUtf16(field.caption), mineText, theirText});
        }
    }
    return change;
}

CustomerRecord ResolveConflicts(const ConcurrentChange &change, const CustomerRecord &theirs,
                                const std::vector<bool> &takeTheirs) {
    CustomerRecord resolved = change.merged;
    for (size_t i = 0; i < change.conflicts.size() && i < takeTheirs.size(); ++i)
        if (takeTheirs[i])
            StoredFields()[size_t(change.conflicts[i])].take(resolved, theirs);
    return resolved;
}
