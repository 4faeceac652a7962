#pragma once

// What the address print window plugs into, given at its construction; every one is required.
// - drawFace: draws one face (white background, then the texts) on a painter whose origin is
//   the face's top left, at the given resolutions. The preview calls it with the preview's
//   resolutions; the preview shows the drawing with its white made transparent.
// - runPrint: called by "印刷" once the rows to print are known, the paper checked and the
//   printer set up (dialog accepted, orientation and job title set). It begins the job, draws
//   every face (one page per card, or a grid per label sheet: PlaceLabel) and ends it.
// - checkAddresses: the problems of the rows about to be printed, nothing when the user stopped
//   the check; when there are any, the user sees them before the printer dialog and may go back.
// - reloadSenderData: at every opening of the window, the sender data read afresh.
// - showSenderPrintConfig: "印刷項目設定", the choice of the sender's printed items.
// `window` is the print window, over which progress is shown.

#include "print/AddressCheck.h"
#include "print/PrintRun.h"

#include <QList>
#include <QSet>
#include <functional>
#include <optional>

class QPrinter;
class QWidget;

using PrintRunner =
    std::function<void(QPrinter &printer, const PrintRunRequest &request, QWidget &window)>;
using AddressCheck = std::function<std::optional<QList<AddressProblem>>(
    const PrintRunRequest &request, QWidget &window)>;

struct PrintAddressServices {
    FaceDrawer drawFace;
    PrintRunner runPrint;
    AddressCheck checkAddresses;
    std::function<void()> reloadSenderData;
    std::function<void()> showSenderPrintConfig;
};

// What the greeting record adds to the address print, given by the program; either may be empty.
// - mournersFor: the customers in mourning for the season of a card of the paper kind (0 for
//   label sheets); the check before printing names those about to be printed.
// - afterPrinted: called once a run went to the printer (or its PDF file) whole.
struct GreetingHooks {
    std::function<QSet<int>(int paperKind)> mournersFor;
    std::function<void(const PrintRunRequest &request)> afterPrinted;
};
