#pragma once

#include "print/PrintRun.h"
#include "store/CustomerRecord.h"

#include <QDate>
#include <QImage>
#include <QStringList>
#include <functional>
#include <vector>

class QPainter;
class QPrinter;

// Customer cards, "顧客印刷": one card per A4 half-page, two to a page, with cut marks between.

// What a card needs besides the customer.
struct CardSources {
    QStringList classNames1; // by class id
    QStringList classNames2;
    // The picture a column names (a null image for none).
    std::function<QImage(const QString &storedName)> picture;
    QDate today; // for the age
};

// Draws one card, A4 sized at the given resolutions, with its top-left at the painter's origin.
void DrawCustomerCard(QPainter &painter, int dpiX, int dpiY, const CustomerRecord &customer,
                      const CardSources &sources);

// Prints the cards on the printer (set up by the caller), telling `progress` before each card;
// false with the reason on failure, with an empty reason when `progress` stopped it.
bool PrintCustomerCards(QPrinter &printer, const std::vector<CustomerRecord> &customers,
                        const CardSources &sources, QString *error,
                        const PrintProgress &progress = {});
