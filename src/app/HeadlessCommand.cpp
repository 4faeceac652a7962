#include "app/HeadlessCommand.h"

#include "admin/BookMove.h"
#include "admin/BookPlace.h"
#include "admin/StartupPassword.h"
#include "app/DataFolder.h"
#include "contacts/ContactSync.h"
#include "contacts/DuplicateFinder.h"
#include "core/Clock.h"
#include "exchange/HeadlessExchange.h"
#include "greetings/SeasonCards.h"
#include "mail/HeadlessMail.h"
#include "platform/BookServer.h"
#include "platform/Installer.h"
#include "postal/PostalUpdate.h"
#include "print/HeadlessPrint.h"
#include "store/CustomerRecord.h"
#include "store/CustomerTable.h"
#include "store/SchemaUpgrade.h"
#include "store/TableEngine.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QRegularExpression>
#include <cstdio>
#include <functional>
#include <termios.h>
#include <unistd.h>

namespace {
QByteArray ConsoleText(const QString &message) {
    QString text = message;
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toLocal8Bit();
}

int Fail(const QString &message) {
    std::fprintf(stderr, "pellor3: %s\n", ConsoleText(message).constData());
    return 1;
}

// From a terminal the password is typed unseen; from a script it is the first line given.
QString ReadPassword() {
    const bool terminal = isatty(STDIN_FILENO) == 1;
    termios saved{};
    if (terminal) {
        std::fputs(ConsoleText(QStringLiteral("パスワード: ")).constData(), stderr);
        tcgetattr(STDIN_FILENO, &saved);
        termios unseen = saved;
        unseen.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &unseen);
    }
    QByteArray line;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, stdin)) {
        line += buffer;
        if (line.endsWith('\n'))
            break;
    }
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fputc('\n', stderr);
    }
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromLocal8Bit(line);
}

// Installs the book when needed, asks for the start-up password when it is on, opens the book,
// brings it to the current form as a start would, and runs `work` with the data folder and
// every customer's id in reading order; a refused statement ends the command with its message.
// The installation, installed when needed, once the start-up password (when it is on) was
// given; nothing after telling why not.
std::optional<QString> OpenedInstallation() {
    QString error;
    const QString dataFolder = Installer::EnsureInstalled(&error);
    if (dataFolder.isEmpty()) {
        Fail(error);
        return std::nullopt;
    }
    if (const std::optional<QString> refusal =
            HeadlessOpeningRefusal(DbPathOf(dataFolder), ReadPassword)) {
        Fail(*refusal);
        return std::nullopt;
    }
    return dataFolder;
}

template <typename Work> int WithInstalledBook(Work work) {
    const std::optional<QString> installation = OpenedInstallation();
    if (!installation)
        return 1;
    const QString &dataFolder = *installation;
    try {
        Database database;
        OpenNamedBook(database, DbPathOf(dataFolder));
        // A book that cannot be brought up to date is still read; what needs the new form fails.
        if (const QString problem = RunSchemaUpgrade(database, DataPathOf(dataFolder));
            !problem.isEmpty())
            std::fprintf(stderr, "pellor3: %s\n", ConsoleText(problem).constData());
        Query query(database);
        return work(database, dataFolder, CustomerIdsByReading(query));
    } catch (const EngineError &e) {
        return Fail(e.message());
    }
}
} // namespace

int RunPrintAddressesCommand(const QString &pdfPath) {
    return WithInstalledBook(
        [&](Database &database, const QString &dataFolder, const QList<int> &ids) {
            QString error;
            return PrintAddressesToPdf(database, DataPathOf(dataFolder), ids, pdfPath, &error) == 0
                       ? 0
                       : Fail(error);
        });
}

int RunCheckAddressesCommand() {
    return WithInstalledBook(
        [](Database &database, const QString &dataFolder, const QList<int> &ids) {
            QStringList problems;
            QString error;
            const int status = CheckAddressesHeadless(
                database, DataPathOf(dataFolder), ids, &problems, &error,
                [&database](int kind) { return MournersForCard(database, kind, Clock::Today()); });
            if (status == 1)
                return Fail(error);
            for (const QString &line : problems)
                std::printf("%s\n", ConsoleText(line).constData());
            return status;
        });
}

int RunMarkGreetingCardsCommand(const QString &season) {
    bool isNumber = false;
    const int year = season.toInt(&isNumber);
    if (!isNumber || year < 1900 || year > 9999) {
        std::fprintf(
            stderr, "pellor3: %s\n",
            ConsoleText(QStringLiteral("年（2027 など）を指定して下さい: ") + season).constData());
        return 2;
    }
    return WithInstalledBook([year](Database &database, const QString &, const QList<int> &) {
        const SeasonChoice choice = ChooseSeasonCards(database, year, SeasonRules{});
        const int marked = MarkChosenCustomers(database, choice, MarkMode::Replace);
        std::printf("%s\n",
                    ConsoleText(QStringLiteral("%1年: %2 件を印刷対象にしました（喪中 %3 件）")
                                    .arg(year)
                                    .arg(marked)
                                    .arg(choice.mourners.size()))
                        .constData());
        return 0;
    });
}

int RunUpdatePostalDataCommand() {
    QString error;
    const QString dataFolder = Installer::EnsureInstalled(&error);
    if (dataFolder.isEmpty())
        return Fail(error);
    const UnattendedZipUpdate result = UpdatePostalDataUnattended(DataPathOf(dataFolder));
    if (!result.ok)
        return Fail(result.message);
    std::printf("%s\n", ConsoleText(result.message).constData());
    return 0;
}

int RunSendMailCommand(const QString &templatePath, bool marked, bool dryRun) {
    return WithInstalledBook([&](Database &database, const QString &dataFolder,
                                 const QList<int> &ids) {
        Query query(database);
        std::vector<MailCustomer> customers;
        for (const CustomerRecord &record :
             LoadCustomerRecords(query, ids, marked ? WhichCustomers::Marked : WhichCustomers::All))
            customers.push_back(MailCustomerOf(record));
        QString error;
        const int status = SendTemplateHeadless(
            DataPathOf(dataFolder), templatePath, customers, dryRun,
            [](const QString &line) {
                std::printf("%s\n", ConsoleText(line).constData());
                std::fflush(stdout);
            },
            &error);
        return status == 1 ? Fail(error) : status;
    });
}

int RunPrintListCommand(ListPrintKind kind, const QString &pdfPath) {
    return WithInstalledBook(
        [&](Database &database, const QString &dataFolder, const QList<int> &ids) {
            QString error;
            return PrintListToPdf(kind, database, DbPathOf(dataFolder), ids, pdfPath, &error)
                       ? 0
                       : Fail(error);
        });
}

int RunExportCsvCommand(const QString &csvPath) {
    return WithInstalledBook([&](Database &database, const QString &, const QList<int> &ids) {
        QString error;
        return ExportCsvHeadless(database, std::vector<int>(ids.begin(), ids.end()), csvPath,
                                 &error) == 0
                   ? 0
                   : Fail(error);
    });
}

namespace {
void ToStandardError(const QString &line) {
    std::fprintf(stderr, "%s\n", ConsoleText(line).constData());
}

// An import of the installed book whose refused lines go to standard error, one a line.
using HeadlessImport = int (*)(Database &, const QString &,
                               const std::function<void(const QString &)> &, QString *);
int RunImport(HeadlessImport import, const QString &csvPath) {
    return WithInstalledBook([&](Database &database, const QString &, const QList<int> &) {
        QString error;
        const int status = import(database, csvPath, ToStandardError, &error);
        return status == 1 ? Fail(error) : status;
    });
}
} // namespace

int RunImportCsvCommand(const QString &csvPath) {
    return RunImport(ImportCsvHeadless, csvPath);
}

int RunExportVCardCommand(const QString &vcfPath, bool vcard3) {
    return WithInstalledBook([&](Database &database, const QString &dataFolder,
                                 const QList<int> &ids) {
        QString error;
        const QString dataPath = DataPathOf(dataFolder);
        return ExportVCardsHeadless(database, std::vector<int>(ids.begin(), ids.end()), dataPath,
                                    DbPathOf(dataFolder), vcfPath,
                                    vcard3 ? VCard::Version::V3 : VCard::Version::V4, &error) == 0
                   ? 0
                   : Fail(error);
    });
}

int RunImportVCardCommand(const QString &vcfPath) {
    return WithInstalledBook(
        [&](Database &database, const QString &dataFolder, const QList<int> &) {
            QString error;
            const int status = ImportVCardsHeadless(database, DataPathOf(dataFolder), vcfPath,
                                                    ToStandardError, &error);
            return status == 1 ? Fail(error) : status;
        });
}

int RunSyncContactsCommand(bool acceptDeletions) {
    return WithInstalledBook([&](Database &database, const QString &dataFolder,
                                 const QList<int> &) {
        const QString dataPath = DataPathOf(dataFolder);
        const CardDavSettings settings = LoadCardDavSettings(dataPath);
        if (settings.url.isEmpty())
            return Fail(QStringLiteral("アドレス帳サーバーが設定されていません。"
                                       "設定画面の「アドレス帳同期」で URL を入力して下さい。"));
        try {
            ContactSync sync(database, dataPath, settings);
            const ContactSync::Outcome outcome = sync.Run(acceptDeletions);
            for (const QString &refusal : outcome.refused)
                ToStandardError(QStringLiteral("この顧客台帳に保存できない文字: ") + refusal);
            for (const ContactSync::Conflict &conflict : outcome.conflicts)
                ToStandardError(QStringLiteral("競合（両方で変更されたため変更しませんでした）: ") +
                                conflict.Name());
            for (const ContactSync::Deletion &deletion : outcome.deletions)
                ToStandardError(QStringLiteral("サーバーで削除されました（--accept-deletions "
                                               "で顧客も削除します）: ") +
                                deletion.name);
            std::printf("%s\n", ConsoleText(outcome.Summary()).constData());
            return outcome.conflicts.empty() && outcome.deletions.empty() &&
                           outcome.refused.isEmpty()
                       ? 0
                       : 3;
        } catch (const HttpError &error) {
            return Fail(error.Text());
        }
    });
}

int RunExportGreetingsCommand(const QString &csvPath) {
    return WithInstalledBook([&](Database &database, const QString &, const QList<int> &) {
        QString error;
        return ExportGreetingsHeadless(database, csvPath, &error) == 0 ? 0 : Fail(error);
    });
}

int RunImportGreetingsCommand(const QString &csvPath) {
    return RunImport(ImportGreetingsHeadless, csvPath);
}

int RunFindDuplicatesCommand() {
    return WithInstalledBook([](Database &database, const QString &, const QList<int> &) {
        const auto pairs = FindDuplicatesInBook(database, [](int, int) { return true; });
        // A tab or line break typed into a name would shift the columns.
        const auto field = [](QString text) {
            return text.replace(QRegularExpression(QStringLiteral("[\t\r\n]")),
                                QStringLiteral(" "));
        };
        for (const DuplicatePair &pair : *pairs)
            std::printf("%d\t%d\t%s\t%s\t%s\n", pair.userId, pair.otherUserId,
                        ConsoleText(field(pair.name)).constData(),
                        ConsoleText(field(pair.otherName)).constData(),
                        ConsoleText(ReasonText(pair.reasons)).constData());
        return 0;
    });
}

int RunCopyBookCommand(const QString &uri, bool toServer) {
    if (QString reason; !BookServer::Parse(uri, &reason)) {
        std::fprintf(stderr, "pellor3: %s\n", ConsoleText(reason).constData());
        return 2;
    }
    const std::optional<QString> installation = OpenedInstallation();
    if (!installation)
        return 1;
    const QString &dataFolder = *installation;
    int shownTenth = 0;
    const auto progress = [&shownTenth](int done, int total) {
        if (const int tenth = done * 10 / total; tenth > shownTenth) {
            shownTenth = tenth;
            std::fprintf(stderr, "%d%%\n", tenth * 10);
        }
        return true;
    };
    try {
        const BookCounts copied =
            MoveBook(toServer ? BookMoveDirection::ToServer : BookMoveDirection::FromServer, uri,
                     DbPathOf(dataFolder), DataPathOf(dataFolder), progress);
        std::printf(
            "%s\n",
            ConsoleText(QStringLiteral("コピーしました: ") + BookCountsText(copied)).constData());
        return 0;
    } catch (const EngineError &e) {
        return Fail(e.message());
    }
}

namespace {

enum class ApplicationKind { None, Core, Gui };

struct CommandOption {
    Command command;
    QStringList names;
    QString valueName; // empty when the command takes no value
    QString help;      // its line in --help
    ApplicationKind application;
    std::function<int(const CommandLine &)> run;
    QStringList switches = {}; // the switches the command takes
};

// Switches that change what a command does; each is refused without a command that takes it.
struct CommandSwitch {
    QString name;
    QString help;
};

const std::vector<CommandSwitch> &CommandSwitches() {
    static const std::vector<CommandSwitch> switches = {
        {QStringLiteral("marked"), QStringLiteral("--send-mail: 印刷対象の顧客だけに送ります")},
        {QStringLiteral("dry-run"),
         QStringLiteral("--send-mail: 送信せず、送信先を一行ずつ表示します")},
        {QStringLiteral("vcard3"),
         QStringLiteral("--export-vcard: 古い携帯電話向けに vCard 3.0 で書き出します")},
        {QStringLiteral("accept-deletions"),
         QStringLiteral("--sync-contacts: サーバーで削除されたカードの顧客も削除します")},
    };
    return switches;
}

int Show(const CommandLine &line) {
    std::printf("%s\n", ConsoleText(line.message).constData());
    return 0;
}

const std::vector<CommandOption> &CommandOptions() {
    static const std::vector<CommandOption> options = {
        {Command::PrintAddresses,
         {QStringLiteral("print-addresses")},
         QStringLiteral("FILE.pdf"),
         QStringLiteral("印刷対象の顧客の宛名面を PDF ファイルに印刷します"),
         ApplicationKind::Gui,
         [](const CommandLine &line) { return RunPrintAddressesCommand(line.value); }},
        {Command::CheckAddresses,
         {QStringLiteral("check-addresses")},
         {},
         QStringLiteral("印刷対象の顧客の宛名面を印刷の前に点検し、問題を一行ずつ表示します"),
         ApplicationKind::Gui,
         [](const CommandLine &) { return RunCheckAddressesCommand(); }},
        {Command::MarkGreetingCards,
         {QStringLiteral("mark-greeting-cards")},
         QStringLiteral("SEASON"),
         QStringLiteral("前の年に年賀状をやりとりし、その年（SEASON）に喪中でない顧客だけを"
                        "印刷対象にします"),
         ApplicationKind::Core,
         [](const CommandLine &line) { return RunMarkGreetingCardsCommand(line.value); }},
        {Command::PrintPhoneList,
         {QStringLiteral("print-phone-list")},
         QStringLiteral("FILE.pdf"),
         QStringLiteral("印刷対象の顧客の電話番号一覧を PDF ファイルに印刷します"),
         ApplicationKind::Gui,
         [](const CommandLine &line) {
             return RunPrintListCommand(ListPrintKind::PhoneList, line.value);
         }},
        {Command::PrintCards,
         {QStringLiteral("print-cards")},
         QStringLiteral("FILE.pdf"),
         QStringLiteral("印刷対象の顧客のカルテを PDF ファイルに印刷します"),
         ApplicationKind::Gui,
         [](const CommandLine &line) {
             return RunPrintListCommand(ListPrintKind::CustomerCards, line.value);
         }},
        {Command::UpdatePostalData,
         {QStringLiteral("update-postal-data")},
         {},
         QStringLiteral("更新サーバーに新しい郵便番号データがあれば取り込みます"),
         ApplicationKind::Core,
         [](const CommandLine &) { return RunUpdatePostalDataCommand(); }},
        {Command::SendMail,
         {QStringLiteral("send-mail")},
         QStringLiteral("TEMPLATE.mtl"),
         QStringLiteral("メールテンプレートを、使用区分のアドレスがある顧客全員に送ります"),
         ApplicationKind::Core,
         [](const CommandLine &line) {
             return RunSendMailCommand(line.value, line.switches.contains(QStringLiteral("marked")),
                                       line.switches.contains(QStringLiteral("dry-run")));
         },
         {QStringLiteral("marked"), QStringLiteral("dry-run")}},
        {Command::ExportCsv,
         {QStringLiteral("export-csv")},
         QStringLiteral("FILE.csv"),
         QStringLiteral("全顧客のすべての項目を見出しつきの CSV ファイルに書き出します"),
         ApplicationKind::Core,
         [](const CommandLine &line) { return RunExportCsvCommand(line.value); }},
        {Command::ImportCsv,
         {QStringLiteral("import-csv")},
         QStringLiteral("FILE.csv"),
         QStringLiteral("見出しつきの CSV ファイルの顧客を、見出しで項目を対応させて登録します"),
         ApplicationKind::Core,
         [](const CommandLine &line) { return RunImportCsvCommand(line.value); }},
        {Command::ExportVCard,
         {QStringLiteral("export-vcard")},
         QStringLiteral("FILE.vcf"),
         QStringLiteral("全顧客を携帯電話の連絡先に取り込める vCard 4.0 ファイルに書き出します"),
         ApplicationKind::Core,
         [](const CommandLine &line) {
             return RunExportVCardCommand(line.value,
                                          line.switches.contains(QStringLiteral("vcard3")));
         },
         {QStringLiteral("vcard3")}},
        {Command::ImportVCard,
         {QStringLiteral("import-vcard")},
         QStringLiteral("FILE.vcf"),
         QStringLiteral("vCard ファイル（2.1、3.0、4.0）の連絡先を顧客として登録します"),
         ApplicationKind::Core,
         [](const CommandLine &line) { return RunImportVCardCommand(line.value); }},
        {Command::SyncContacts,
         {QStringLiteral("sync-contacts")},
         {},
         QStringLiteral("設定のアドレス帳サーバー（CardDAV）と顧客を双方向に同期します"),
         ApplicationKind::Core,
         [](const CommandLine &line) {
             return RunSyncContactsCommand(
                 line.switches.contains(QStringLiteral("accept-deletions")));
         },
         {QStringLiteral("accept-deletions")}},
        {Command::ExportGreetings,
         {QStringLiteral("export-greetings")},
         QStringLiteral("FILE.csv"),
         QStringLiteral("挨拶状の記録をすべて CSV ファイルに書き出します"),
         ApplicationKind::Core,
         [](const CommandLine &line) { return RunExportGreetingsCommand(line.value); }},
        {Command::ImportGreetings,
         {QStringLiteral("import-greetings")},
         QStringLiteral("FILE.csv"),
         QStringLiteral("挨拶状の記録を CSV ファイルから、氏名・フリガナ・郵便番号の合う顧客に"
                        "取り込みます"),
         ApplicationKind::Core,
         [](const CommandLine &line) { return RunImportGreetingsCommand(line.value); }},
        {Command::FindDuplicates,
         {QStringLiteral("find-duplicates")},
         {},
         QStringLiteral("同じ顧客が二重に登録されていそうな組を、理由とともに一行ずつ表示します"),
         ApplicationKind::Core,
         [](const CommandLine &) { return RunFindDuplicatesCommand(); }},
        {Command::CopyBookTo,
         {QStringLiteral("copy-book-to")},
         QStringLiteral("URL"),
         QStringLiteral("このパソコンの台帳をすべて、サーバーの空のデータベース"
                        "（postgresql://ユーザー名@ホスト名:ポート番号/データベース名）に"
                        "コピーします"),
         ApplicationKind::Core,
         [](const CommandLine &line) { return RunCopyBookCommand(line.value, true); }},
        {Command::CopyBookFrom,
         {QStringLiteral("copy-book-from")},
         QStringLiteral("URL"),
         QStringLiteral("サーバーの台帳をすべて、このパソコンの空の台帳にコピーします"),
         ApplicationKind::Core,
         [](const CommandLine &line) { return RunCopyBookCommand(line.value, false); }},
        {Command::ShowHelp,
         {QStringLiteral("h"), QStringLiteral("help")},
         {},
         QStringLiteral("この説明を表示します"),
         ApplicationKind::None,
         Show},
        {Command::ShowVersion,
         {QStringLiteral("v"), QStringLiteral("version")},
         {},
         QStringLiteral("版を表示します"),
         ApplicationKind::None,
         Show},
    };
    return options;
}

QString Dashed(const QString &name) {
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// "--print-addresses FILE.pdf", "-h, --help".
QString Synopsis(const CommandOption &option) {
    QStringList names;
    for (const QString &name : option.names)
        names << Dashed(name);
    QString synopsis = names.join(QStringLiteral(", "));
    if (!option.valueName.isEmpty())
        synopsis += u' ' + option.valueName;
    return synopsis;
}

QString HelpText() {
    qsizetype width = 0;
    for (const CommandOption &option : CommandOptions())
        width = std::max(width, Synopsis(option).size());
    QStringList lines = {QStringLiteral("使い方: pellor3 [コマンド]"),
                         QStringLiteral("コマンドがなければ画面を開きます。コマンドは画面を開かずに"
                                        "実行し、終了状態で結果を返します。"),
                         QString()};
    for (const CommandSwitch &commandSwitch : CommandSwitches())
        width = std::max(width, commandSwitch.name.size() + 2);
    for (const CommandOption &option : CommandOptions())
        lines << QStringLiteral("  ") + Synopsis(option).leftJustified(width + 2) + option.help;
    for (const CommandSwitch &commandSwitch : CommandSwitches())
        lines << QStringLiteral("  ") + Dashed(commandSwitch.name).leftJustified(width + 2) +
                     commandSwitch.help;
    lines << QString() << ExitStatusText();
    return lines.join(u'\n');
}

bool NamesOption(const QString &argument, const CommandOption &option) {
    QString name = argument.section(u'=', 0, 0);
    while (name.startsWith(u'-'))
        name.remove(0, 1);
    return option.names.contains(name);
}

QString MissingValueText(const CommandOption &option) {
    return QStringLiteral("%1 には %2 を指定して下さい。")
        .arg(Dashed(option.names.last()), option.valueName);
}

// What the parser refused, in the program's words.
QString RefusalText(const QCommandLineParser &parser, const QStringList &arguments) {
    if (!parser.unknownOptionNames().isEmpty())
        return QStringLiteral("不明なオプションです: ") +
               Dashed(parser.unknownOptionNames().first());
    // Otherwise a value is missing at the end, or given to an option that takes none.
    for (const CommandOption &option : CommandOptions()) {
        if (!option.valueName.isEmpty() && NamesOption(arguments.last(), option))
            return MissingValueText(option);
        for (const QString &argument : arguments.mid(1))
            if (option.valueName.isEmpty() && argument.contains(u'=') &&
                NamesOption(argument, option))
                return QStringLiteral("%1 は値をとりません。").arg(Dashed(option.names.last()));
    }
    return parser.errorText();
}

CommandLine Refused(const QString &message) {
    return {Command::UsageError, {}, message, {}};
}

} // namespace

CommandLine ParseCommandLine(const QStringList &arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const CommandOption &option : CommandOptions()) {
        QCommandLineOption parsed(option.names);
        parsed.setValueName(option.valueName);
        parser.addOption(parsed);
    }
    for (const CommandSwitch &commandSwitch : CommandSwitches())
        parser.addOption(QCommandLineOption(commandSwitch.name));
    if (!parser.parse(arguments))
        return Refused(RefusalText(parser, arguments));
    if (!parser.positionalArguments().isEmpty())
        return Refused(QStringLiteral("余分な引数があります: ") +
                       parser.positionalArguments().first());
    const CommandOption *chosen = nullptr;
    for (const CommandOption &option : CommandOptions()) {
        if (!parser.isSet(option.names.last()))
            continue;
        if (chosen)
            return Refused(QStringLiteral("コマンドは一度に一つだけ指定して下さい: %1, %2")
                               .arg(Dashed(chosen->names.last()), Dashed(option.names.last())));
        chosen = &option;
    }
    for (const CommandSwitch &commandSwitch : CommandSwitches())
        if (parser.isSet(commandSwitch.name) &&
            (!chosen || !chosen->switches.contains(commandSwitch.name)))
            return Refused(QStringLiteral("%1 はこのコマンドには指定できません。")
                               .arg(Dashed(commandSwitch.name)));
    if (!chosen)
        return {};
    CommandLine line{chosen->command, {}, {}, {}};
    for (const QString &name : chosen->switches)
        if (parser.isSet(name))
            line.switches << name;
    if (!chosen->valueName.isEmpty()) {
        line.value = parser.value(chosen->names.last());
        // An option in the value's place means the value was left out.
        if (line.value.isEmpty() || line.value.startsWith(u'-'))
            return Refused(MissingValueText(*chosen));
    }
    if (chosen->command == Command::ShowHelp)
        line.message = HelpText();
    else if (chosen->command == Command::ShowVersion)
        line.message = QStringLiteral("pellor3 " PELLOR3_VERSION);
    return line;
}

std::vector<CommandDescription> DescribedCommands() {
    std::vector<CommandDescription> described;
    for (const CommandOption &option : CommandOptions()) {
        QStringList names;
        for (const QString &name : option.names)
            names << Dashed(name);
        described.push_back({names, option.valueName, option.help});
    }
    for (const CommandSwitch &commandSwitch : CommandSwitches())
        described.push_back({{Dashed(commandSwitch.name)}, {}, commandSwitch.help});
    return described;
}

QString ExitStatusText() {
    return QStringLiteral("終了状態: 0 完了、1 実行できなかった、2 使い方の誤り、"
                          "3 一部の項目を受け付けなかった（--check-addresses では問題あり）");
}

int RunCommand(const CommandLine &line, int &argc, char **argv) {
    if (line.command == Command::UsageError) {
        std::fprintf(
            stderr, "pellor3: %s\n%s\n", ConsoleText(line.message).constData(),
            ConsoleText(QStringLiteral("使い方は pellor3 --help で表示します。")).constData());
        return 2;
    }
    const auto option = std::find_if(
        CommandOptions().begin(), CommandOptions().end(),
        [&line](const CommandOption &candidate) { return candidate.command == line.command; });
    if (option == CommandOptions().end())
        return Fail(QStringLiteral("このコマンドは画面なしでは実行できません。"));
    switch (option->application) {
    case ApplicationKind::None:
        return option->run(line);
    case ApplicationKind::Core: {
        QCoreApplication app(argc, argv);
        return option->run(line);
    }
    case ApplicationKind::Gui:
        break;
    }
    // The prints draw on no screen, so a scheduled job needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pellor3"));
    QApplication::setApplicationDisplayName(QStringLiteral("Brisko Pellor3"));
    return option->run(line);
}
