#pragma once

#include <QStringList>

// The six-column file for the estimate program: each column takes the company's or the
// person's value, or none.

// The choices of the six columns (会社名, 郵便番号, 住所１, 住所２, 電話番号, FAX), first entry
// "エクスポートしない".
const QList<QStringList> &EstimateChoices();

// The usertbl columns the choices can read; a customer's values come in this order.
const QStringList &EstimateColumns();

// The value a choice takes from a customer (values in EstimateColumns() order); empty for
// "エクスポートしない".
QString ValueForChoice(const QString &choice, const QStringList &customer);

// The six values without line breaks, each through QuoteCsvValue, joined by "," (five commas,
// none at the end); empty text when all six are empty.
QString EstimateLine(const QStringList &choices, const QStringList &customer);
