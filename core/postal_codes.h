#pragma once

#include <QString>
#include <vector>

struct PostalEntry {
    QString code;    // "123-4567"
    QString address;
};

// Postal codes with their addresses, read at start-up from the data folder.
struct PostalCodeTable {
    std::vector<PostalEntry> entries; // at most cap::kPostalEntries

    // The address for an entered code of three digits, a hyphen and four
    // digits: entries are compared on their first three and last four
    // characters; the last matching entry wins. "" when none matches.
    QString lookup(const QString& enteredCode) const;
};
