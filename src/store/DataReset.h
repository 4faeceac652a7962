#pragma once

class Query;

// Returns the book to its delivered state: no customers, no history entries and the default
// class names FreshClassNames() on both axes. Stops at the first statement the engine refuses
// (EngineError); what was done stays done.
void ResetCustomerBook(Query &userQuery, Query &historyQuery, Query &classQuery);
