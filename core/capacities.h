#pragma once

#include <QtGlobal>

// Every table of the roster has a fixed capacity. The add commands stop one
// short of the table size; a file may still fill the very last row.
namespace cap {
inline constexpr int kTableRows = 1501;        // rows of the school and staff tables
inline constexpr int kMaxSchools = 1500;       // the school list adds up to this many
inline constexpr int kMaxStaff = 1500;         // the staff list adds up to this many
inline constexpr int kClerkSlots = 7;          // clerk posts of one school
inline constexpr int kMaxGroupNames = 150;     // distinct school group names
inline constexpr int kCodeYearEntries = 101;   // entries of the staff code index
inline constexpr int kMunicipalities = 81;     // entries of the municipality table
inline constexpr int kDistrictNames = 17;      // district list
inline constexpr int kAreaNames = 11;          // area list
inline constexpr int kPostalEntries = 10000;   // postal-code table
inline constexpr qint64 kMaxFileBytes = 32ll * 1024 * 1024; // nothing the program reads is larger

inline constexpr qint16 kMunicipalityUnknown = 99; // name not in the table, or staff not posted
inline constexpr qint16 kMunicipalityEmpty = 100;  // empty municipality name
inline constexpr qint16 kNoJobTitle = 99;
} // namespace cap
