#pragma once

#include <QDate>
#include <QDateTime>

// The one source of "today" and "now"; tests fix it to a known moment.
namespace Clock {

QDate Today();
QDateTime Now();

void SetFixed(const QDateTime &moment);
void Reset();

} // namespace Clock
