#pragma once

// The address print window made ready for use: faces drawn by ComposeFace, "印刷" running the
// print with a progress window, the sender windows hooked in, and the postal code data the
// customer barcode needs.
//
// Usage (the main window's print choice "宛名印刷"):
//     auto window = MakePrintAddressWindow(database, dataPath, [this] { return ListedIds(); },
//                                          *FPrintSenderCfg, this);
//     window->exec();

#include "print/PrintAddress.h"

#include <functional>
#include <memory>

class TFPrintSenderCfg;

// `dataPath` is the data folder (ending in "/"); `listedCustomerIds` gives the ids of the main
// list's rows in list order at each opening. `senderCfg` must outlive the window.
std::unique_ptr<TPrintAddress> MakePrintAddressWindow(Database &database, const QString &dataPath,
                                                      std::function<QList<int>()> listedCustomerIds,
                                                      TFPrintSenderCfg &senderCfg,
                                                      QWidget *parent = nullptr);
