#pragma once

#include "store/CustomerRecord.h"

#include <QString>
#include <span>

// One text of a customer as the merge window shows it side by side.
struct MergeField {
    const char16_t *caption;
    QString &(*text)(CustomerRecord &customer);

    const QString &Of(const CustomerRecord &customer) const {
        return text(const_cast<CustomerRecord &>(customer));
    }
};

// The texts a merge chooses between, in the editor's order (the joint names are combined, not
// chosen).
std::span<const MergeField> MergeFields();

// The kept customer as a merge first proposes it: each empty text, the birthday and each empty
// picture slot taken from the other; the joint names of both, the kept one's first, each name
// once, at most four.
CustomerRecord ProposedMerge(const CustomerRecord &kept, const CustomerRecord &other);
