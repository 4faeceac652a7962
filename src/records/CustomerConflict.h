#pragma once

#include "platform/Prompt.h"
#include "store/CustomerRecord.h"

#include <span>
#include <vector>

// One field the editor's save writes, with its caption and its value as text for the window
// that shows two versions of a customer.
struct StoredField {
    const char16_t *caption;
    QString (*text)(const CustomerRecord &customer);
    void (*take)(CustomerRecord &to, const CustomerRecord &from);
};

// Every field the editor's save writes, in the editor's order.
std::span<const StoredField> StoredFields();

// A save that found the row changed by another PC, folded with that change.
struct ConcurrentChange {
    // The stored row with this PC's changes on it; a field both changed differently keeps this
    // PC's value until the user chooses.
    CustomerRecord merged;
    // The fields both changed differently (indexes into StoredFields()), with both values.
    std::vector<int> conflicts;
    std::vector<Prompt::FieldVersions> versions;
};

// `base` is the row as this PC last read or stored it, `mine` what the editor shows now and
// `theirs` the row as stored now. What only one side changed is taken from that side.
ConcurrentChange FoldConcurrentChange(const CustomerRecord &base, const CustomerRecord &mine,
                                      const CustomerRecord &theirs);

// The merged row with the conflicting fields whose `takeTheirs` is set taken from `theirs`.
CustomerRecord ResolveConflicts(const ConcurrentChange &change, const CustomerRecord &theirs,
                                const std::vector<bool> &takeTheirs);
