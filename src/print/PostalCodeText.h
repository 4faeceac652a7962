#pragma once

#include <QString>
#include <optional>

// A postal code as typed (〒530-0001, 100 0001, 1000001, １０５－００１１) as "XXX-XXXX", so that
// each digit lands in its own box; nullopt when the text does not hold exactly seven digits.
std::optional<QString> BoxedPostalCode(const QString &typed);
