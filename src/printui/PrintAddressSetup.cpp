#include "printui/PrintAddressSetup.h"

#include "platform/AppContext.h"
#include "platform/Prompt.h"
#include "print/AddressCheck.h"
#include "print/ComposeFace.h"
#include "print/PrintRun.h"
#include "printui/FPrintSenderCfg.h"
#include "printui/SenderForm.h"
#include "store/EngineError.h"
#include "widgets/ProgressWindow.h"

namespace {

void PrintWithProgress(QPrinter &printer, const PrintRunRequest &request, const TSenderBuff &sender,
                       const GreetingHooks &greetings, Prompt &prompt, QWidget *window) {
    const auto drawFace = [&sender](QPainter &painter, const FaceSettings &face, int dpiX, int dpiY,
                                    int gap, const PrintRow &row) {
        ComposeFace(painter, face, dpiX, dpiY, gap, row, sender);
    };
    QString error;
    PrintRunResult result;
    {
        ProgressWindow progress(QStringLiteral("印刷しています..."), QStringLiteral("印刷"), window,
                                ProgressWindow::AfterAMoment);
        result = RunPrint(printer, request, drawFace, progress.Reporter(), &error);
    }
    if (result == PrintRunResult::Failed)
        prompt.Error(error);
    if (result != PrintRunResult::Printed)
        return;
    prompt.Message(PrintSentText(printer, request.Rows.size()));
    if (greetings.afterPrinted)
        greetings.afterPrinted(request);
}

// Nothing when the user cancels.
std::optional<QList<AddressProblem>> CheckWithProgress(const PrintRunRequest &request,
                                                       const TSenderBuff &sender,
                                                       const GreetingHooks &greetings,
                                                       Prompt &prompt, QWidget *window) {
    QSet<int> mourners;
    try {
        if (greetings.mournersFor)
            mourners = greetings.mournersFor(request.PaperKind);
    } catch (const EngineError &error) {
        prompt.Error(error.message());
        return std::nullopt;
    }
    ProgressWindow progress(QStringLiteral("印刷前チェックをしています..."),
                            QStringLiteral("印刷前チェック"), window, ProgressWindow::AfterAMoment);
    const QList<AddressProblem> problems =
        CheckAddresses(request.Rows, request.Face, sender, kPdfDpi, progress.Reporter(), mourners);
    if (progress.Cancelled())
        return std::nullopt;
    return problems;
}

} // namespace

std::unique_ptr<TPrintAddress> MakePrintAddressWindow(AppContext &context,
                                                      TFPrintSenderCfg &senderCfg,
                                                      GreetingHooks greetings, QWidget *parent) {
    PrintAddressServices services;
    services.drawFace = [&senderCfg](QPainter &painter, const FaceSettings &face, int dpiX,
                                     int dpiY, int gap, const PrintRow &row) {
        ComposeFace(painter, face, dpiX, dpiY, gap, row, ShownSenderBuff(senderCfg.Fields()));
    };
    services.runPrint = [&senderCfg, greetings](QPrinter &printer, const PrintRunRequest &request,
                                                QWidget &window) {
        PrintWithProgress(printer, request, ShownSenderBuff(senderCfg.Fields()), greetings,
                          prompt(), &window);
    };
    services.checkAddresses = [&senderCfg, greetings](const PrintRunRequest &request,
                                                      QWidget &window) {
        return CheckWithProgress(request, ShownSenderBuff(senderCfg.Fields()), greetings, prompt(),
                                 &window);
    };
    services.reloadSenderData = [&senderCfg] { senderCfg.FormShow(); };
    services.showSenderPrintConfig = [&senderCfg] { senderCfg.exec(); };
    return std::make_unique<TPrintAddress>(context, std::move(services), parent);
}
