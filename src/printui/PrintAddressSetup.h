#pragma once

// The address print window made ready for use: faces drawn by ComposeFace, "印刷" running the
// print with a progress window, the check before printing and the sender windows hooked in.
//
// Usage (the main window's print choice "宛名印刷"):
//     auto window = MakePrintAddressWindow(context, *FPrintSenderCfg, this);
//     window->exec();

#include "printui/PrintAddress.h"
#include "printui/PrintAddressServices.h"

#include <functional>
#include <memory>

class TFPrintSenderCfg;

// `context` and `senderCfg` (made for the context's data folder) must outlive the window.
std::unique_ptr<TPrintAddress> MakePrintAddressWindow(AppContext &context,
                                                      TFPrintSenderCfg &senderCfg,
                                                      GreetingHooks greetings = {},
                                                      QWidget *parent = nullptr);
