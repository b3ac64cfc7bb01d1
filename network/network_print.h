#pragma once

#include "contact_network.h"
#include "print_framework.h"

// The printed phone-tree sheet: one landscape A4 page, the head of the tree at
// the left, the chains in rows, the columns of levels to the right.
namespace network_print {

inline constexpr PrintJobCode kSchoolNetworkJob = PrintJobCode::SchoolNetwork;
inline constexpr PrintJobCode kOfficerNetworkJob = PrintJobCode::OfficerNetwork;

struct NetworkLayout {
    int maxLevel = 0;
    int maxChain = 0;
    int firstFullLevel = 0;
    double rowGap = 3;
    double topOffset = 16.5;
};

NetworkLayout computeLayout(const SchoolNetwork& network);
NetworkLayout computeLayout(const OfficerNetwork& network);

// A chain without any node above a chain that has one: the sheet would show
// a gap, and is not printed.
bool hasEmptyChainInBetween(const SchoolNetwork& network);
bool hasEmptyChainInBetween(const OfficerNetwork& network);

// `picture` is the loaded picture, null when none is.
void printSheet(PrintJobContext& c, const SchoolNetwork& network, const QImage& picture);
void printSheet(PrintJobContext& c, const OfficerNetwork& network, const QImage& picture);

} // namespace network_print
