#include "core/DomainWords.h"

UseType UseTypeOf(int stored) {
    return stored == 1 ? UseType::Company : UseType::Personal;
}

QString UseTypeCaption(UseType useType) {
    return useType == UseType::Company ? QStringLiteral("会社用") : QStringLiteral("個人用");
}

PrintControl PrintControlOf(int stored) {
    switch (stored) {
    case 0:
    case 4:
        return PrintControl::PersonalName;
    case 1:
        return PrintControl::CompanyOnchu;
    case 2:
        return PrintControl::CompanyDono;
    case 3:
        return PrintControl::CompanyNamed;
    default:
        return PrintControl::Unknown;
    }
}

QString PrintControlCaption(PrintControl control) {
    switch (control) {
    case PrintControl::PersonalName:
        return QStringLiteral("個人名");
    case PrintControl::CompanyOnchu:
        return QStringLiteral("会社部署御中");
    case PrintControl::CompanyDono:
        return QStringLiteral("会社部署役職殿");
    case PrintControl::CompanyNamed:
        return QStringLiteral("会社部署役職氏名");
    case PrintControl::Unknown:
        break;
    }
    return {};
}

const QStringList &PrintControlChoices() {
    static const QStringList choices{QStringLiteral("名前"), QStringLiteral("会社部署御中"),
                                     QStringLiteral("会社部署役職殿"),
                                     QStringLiteral("会社部署役職名前")};
    return choices;
}

const QStringList &HonorificChoices() {
    static const QStringList titles{QString(),
                                    kHonorificSama,
                                    kHonorificDono,
                                    kHonorificOnchu,
                                    QStringLiteral("先生"),
                                    QStringLiteral("各位"),
                                    QStringLiteral("君"),
                                    QStringLiteral("さん"),
                                    QStringLiteral("宛て"),
                                    QStringLiteral("ちゃん"),
                                    QStringLiteral("行"),
                                    QStringLiteral("係")};
    return titles;
}
