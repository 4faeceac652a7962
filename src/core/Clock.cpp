#include "core/Clock.h"

namespace Clock {

namespace {
QDateTime fixedMoment;
}

QDate Today() {
    return Now().date();
}

QDateTime Now() {
    return fixedMoment.isValid() ? fixedMoment : QDateTime::currentDateTime();
}

void SetFixed(const QDateTime &moment) {
    fixedMoment = moment;
}

void Reset() {
    fixedMoment = QDateTime();
}

} // namespace Clock
