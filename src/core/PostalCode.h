#pragma once

#include <QString>
#include <optional>

// A 7-digit postal code as the book stores it, "XXX-XXXX", from the ways people type it
// (〒530-0001, 100 0001, 1000001, １０５－００１１); nullopt when the text is not one.
std::optional<QString> NormalisedPostalCode(const QString &typed);
