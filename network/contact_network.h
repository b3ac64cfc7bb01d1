#pragma once

#include "officers.h"
#include "roster_store.h"

#include <QString>
#include <array>
#include <vector>

// A phone tree: who passes an urgent message on to whom. Two heads, then a
// body of seven levels (columns) by eight chains (rows).

// A school of the school network (*.TNE).
struct NetworkNode {
    QString schoolName; // name followed by the kind
    qint32 schoolCode = 0;
    QString tel;
    QString clerkName; // the clerk who takes the call; may be empty

    qint32 code() const { return schoolCode; }
    bool filled() const { return !schoolName.isEmpty(); }
    // Takes over what the roster says now; the code stays.
    void takeValues(const NetworkNode& current);
    bool operator==(const NetworkNode&) const = default;
};

// An officer of the officer network (*.TN2).
struct OfficerNetworkNode {
    QString municipality;
    QString schoolName;
    QString schoolTel;
    QString memberName;
    qint32 staffCode = 0;
    QString homeTel;

    qint32 code() const { return staffCode; }
    bool filled() const { return !memberName.isEmpty(); }
    void takeValues(const OfficerNetworkNode& current);
    bool operator==(const OfficerNetworkNode&) const = default;
};

template <typename Node>
struct ContactNetwork {
    static constexpr int kLevels = 7;
    static constexpr int kChains = 8;
    // 0 calls first, 1 second; 2 has no box and is always written empty.
    std::array<Node, 3> topNodes{};
    std::array<std::array<Node, kChains>, kLevels> grid{};
    // 0 and 1: the remark lines under the tree; 2: the title of the sheet.
    std::array<QString, 3> remarks{};
    QString pictureFile;
    QString fileName;
};

using SchoolNetwork = ContactNetwork<NetworkNode>;
using OfficerNetwork = ContactNetwork<OfficerNetworkNode>;

namespace contact_network {

// The candidates of the school network: the schools of the school list's
// last extraction, in list order.
std::vector<NetworkNode> schoolCandidates(const RosterStore& store);
// The clerk who takes a school's call: the first post held by somebody who
// is not away on leave (no status, 欠員補充, or a 補助 status).
QString answeringClerk(const SchoolRecord& school);
// The candidates of the officer network: the officers the officer list shows
// (at most 101).
std::vector<OfficerNetworkNode> officerCandidates(const std::vector<OfficerEntry>& shown);

// Nodes read from a file take the current values of their candidate, which
// leaves the list; nodes without one keep what the file says.
template <typename Node>
void refresh(ContactNetwork<Node>& network, std::vector<Node>& candidates);

// The same from the bytes of a file.
int parseFile(const QByteArray& bytes, SchoolNetwork& network);
int parseFile(const QByteArray& bytes, OfficerNetwork& network);
// 1 read, -1 a read error (what was read before it stays in the model).
int readFile(const QString& path, SchoolNetwork& network);
int readFile(const QString& path, OfficerNetwork& network);
// 1 written, -1 a write error (the previous file is left as it was); `error`
// then says why: the values code page 932 cannot hold, or what the disk said.
int writeFile(const QString& path, const SchoolNetwork& network, QString* error = nullptr);
int writeFile(const QString& path, const OfficerNetwork& network, QString* error = nullptr);

// The file dialogs' filters.
QString fileFilter(bool officers);

} // namespace contact_network
