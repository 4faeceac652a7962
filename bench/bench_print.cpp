#include "Bench.h"

#include "../tests/common/TestEnv.h"
#include "core/IniFile.h"
#include "print/HeadlessPrint.h"
#include "print/PrintSettings.h"
#include "print/SenderData.h"

#include <QFile>

namespace {

constexpr int kPostcards = 1000;

// Marked customers in a fresh book, every fourth at its company with a joint name.
QList<int> AddMarkedCustomers(TestEnv &env) {
    QList<int> ids;
    Transaction transaction(env.db());
    for (int i = 0; i < kPostcards; ++i) {
        const int id =
            env.AddCustomer(QStringLiteral("山田　太郎%1").arg(i),
                            QStringLiteral("ﾔﾏﾀﾞ%1").arg(i, 4, 10, QLatin1Char('0')), true);
        env.Run(QStringLiteral("update Usertbl set Zip='263-0023', "
                               "Address1='千葉県千葉市稲毛区緑町3丁目%1-8', "
                               "Address2='郵便ビル403号', Office='株式会社ブリスコ商事', "
                               "OfficeZip='110-0016', OfficeAddress1='東京都台東区台東5-6-3', "
                               "OfficePost='営業部', OfficeExecutive='部長', UseType=%2, "
                               "PrintCtrl=3, CheckRen1=1, Renmei1='山田　花子', "
                               "RenNameTitle1='様' where UserId=%3")
                    .arg(i % 40 + 1)
                    .arg(i % 4 == 3 ? 1 : 0)
                    .arg(id));
        ids << id;
    }
    transaction.Commit();
    return ids;
}

void StoreVerticalPostcardChoices(TestEnv &env) {
    IniFile ini(SenderConfPath(env.dataPath()));
    ini.Load();
    PrintSettings settings;
    settings.Vertical = true;
    settings.PrintSender = true;
    settings.PrintCostom = true;
    WritePrintSettings(ini, settings);
    TSenderBuff sender;
    sender.Name = QStringLiteral("鈴木　一郎");
    sender.ZipCode = QStringLiteral("100-0001");
    sender.Zip1 = QStringLiteral("東京都千代田区千代田1-1");
    sender.Tel = QStringLiteral("03-1234-5678");
    sender.TelCheck = true;
    sender.OfficeName = QStringLiteral("ブリスコ株式会社");
    sender.OfficeCheck = true;
    WriteSenderData(ini, sender, {});
    ini.Save();
}

} // namespace

// The national postal data of the installation is read for the barcodes within the figure.
PELLOR3_BENCH_FIGURE(Print1000Postcards, "print_1000_postcards_pdf_ms", "ms") {
    TestEnv env;
    StoreVerticalPostcardChoices(env);
    const QList<int> ids = AddMarkedCustomers(env);
    const QString path = env.root() + QStringLiteral("postcards.pdf");
    QString error;
    int status = 0;
    const double ms = ElapsedMs(
        [&] { status = PrintAddressesToPdf(env.db(), env.dataPath(), ids, path, &error); });
    if (qEnvironmentVariableIsSet("PELLOR3_BENCH_KEEP_PDF"))
        QFile::copy(path, qEnvironmentVariable("PELLOR3_BENCH_KEEP_PDF"));
    return status == 0 ? ms : -1;
}
