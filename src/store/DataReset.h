#pragma once

class Query;

// What a reset deleted.
struct BookReset {
    int customers = 0;
    int historyEntries = 0;
    int greetingEvents = 0;
};

// Returns the book to its delivered state: no customers, no history entries, no greeting record,
// no pairs declared different and the default class names FreshClassNames() on both axes, in one
// transaction. A statement the engine refuses (EngineError) leaves the book as it was.
BookReset ResetCustomerBook(Query &userQuery, Query &historyQuery, Query &classQuery);
