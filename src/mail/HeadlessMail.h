#pragma once

#include "mail/MailComposition.h"

#include <QString>
#include <functional>
#include <vector>

// `pellor3 --send-mail TEMPLATE.mtl`: the template to every given customer, personalised, with
// the saved mail settings and without any window. `report` gets one line per customer (sent,
// refused with the reason, skipped for want of an address; with `dryRun` only who would get
// it). Returns the exit status: 0 every message went out, 3 some were refused, 1 nothing could
// be sent (the reason in `error`).
int SendTemplateHeadless(const QString &dataPath, const QString &templatePath,
                         const std::vector<MailCustomer> &customers, bool dryRun,
                         const std::function<void(const QString &line)> &report, QString *error);
