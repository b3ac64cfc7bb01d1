#include "contact_network.h"

#include "post_status.h"
#include "record_format.h"

using namespace Qt::StringLiterals;

void NetworkNode::takeValues(const NetworkNode& current)
{
    schoolName = current.schoolName;
    tel = current.tel;
    clerkName = current.clerkName;
}

void OfficerNetworkNode::takeValues(const OfficerNetworkNode& current)
{
    municipality = current.municipality;
    schoolName = current.schoolName;
    schoolTel = current.schoolTel;
    memberName = current.memberName;
    homeTel = current.homeTel;
}

namespace contact_network {

QString answeringClerk(const SchoolRecord& school)
{
    for (const ClerkSlot& slot : school.clerks) {
        if (slot.staffCode <= 0)
            continue;
        if (slot.status.isEmpty() || hasPostStatus(slot.status, PostStatus::VacancyFill) ||
            slot.status.contains(u"補助"_s))
            return slot.staffName;
    }
    return QString();
}

std::vector<NetworkNode> schoolCandidates(const RosterStore& store, const RosterSession& session)
{
    std::vector<NetworkNode> out;
    for (int row : session.shownSchoolRows(store)) {
        const SchoolRecord& s = store.schools[size_t(row)];
        out.push_back({s.name + s.kindText, s.code, s.tel, answeringClerk(s)});
    }
    return out;
}

std::vector<OfficerNetworkNode> officerCandidates(const std::vector<OfficerEntry>& shown)
{
    std::vector<OfficerNetworkNode> out;
    for (const OfficerEntry& e : shown) {
        if (out.size() >= size_t(officers::kMaxOfficers))
            break;
        out.push_back({e.municipality, e.schoolName, e.schoolTel, e.name, e.code, e.homeTel});
    }
    return out;
}

namespace {
template <typename Node>
void takeCandidate(Node& node, std::vector<Node>& candidates)
{
    for (auto it = candidates.begin(); it != candidates.end(); ++it) {
        if (it->code() == node.code()) {
            node.takeValues(*it);
            candidates.erase(it);
            return;
        }
    }
}
} // namespace

template <typename Node>
void refresh(ContactNetwork<Node>& network, std::vector<Node>& candidates)
{
    for (Node& top : network.topNodes)
        if (top.code() > 0)
            takeCandidate(top, candidates);
    for (auto& level : network.grid)
        for (Node& node : level)
            if (node.filled())
                takeCandidate(node, candidates);
}
template void refresh(SchoolNetwork&, std::vector<NetworkNode>&);
template void refresh(OfficerNetwork&, std::vector<OfficerNetworkNode>&);

namespace {
void readNode(RecordReader& r, NetworkNode& n)
{
    r.readString(n.schoolName);
    r.readI32(n.schoolCode);
    r.readString(n.tel);
    r.skip(5);
    r.readString(n.clerkName);
    r.skip(2);
}

void readNode(RecordReader& r, OfficerNetworkNode& n)
{
    r.readString(n.schoolName);
    r.readI32(n.staffCode);
    r.readString(n.municipality);
    r.readString(n.schoolTel);
    r.readString(n.memberName);
    r.readString(n.homeTel);
    r.skip(6);
}

void writeNode(RecordWriter& w, const NetworkNode& n)
{
    w.beginRecord(n.schoolName);
    w.string(n.schoolName, u"学校名"_s);
    w.number(n.schoolCode);
    w.string(n.tel, u"TEL"_s);
    w.strings(3);
    w.numbers(2);
    w.string(n.clerkName, u"事務職員名"_s);
    w.strings(2);
    w.endRecord();
}

void writeNode(RecordWriter& w, const OfficerNetworkNode& n)
{
    w.beginRecord(n.memberName);
    w.string(n.schoolName, u"学校名"_s);
    w.number(n.staffCode);
    w.string(n.municipality, u"市町村名"_s);
    w.string(n.schoolTel, u"学校TEL"_s);
    w.string(n.memberName, u"氏名"_s);
    w.string(n.homeTel, u"自宅TEL"_s);
    w.strings(2);
    w.numbers(2);
    w.strings(2);
    w.endRecord();
}

// Reads into the model as it goes: a file cut short leaves what came before.
template <typename Node>
int parse(const QByteArray& bytes, ContactNetwork<Node>& network)
{
    RecordReader r = RecordReader::fromBytes(bytes);
    r.skip(5);
    QString picture;
    if (r.readString(picture))
        network.pictureFile = picture;
    r.skip(2);
    for (QString& remark : network.remarks) {
        QString text;
        if (r.readString(text))
            remark = text;
    }
    for (int i = 0; i < 3 && r.ok(); ++i) {
        Node node;
        readNode(r, node);
        // The third head has no box: whatever a file holds there is dropped.
        if (r.ok() && i < 2)
            network.topNodes[size_t(i)] = node;
    }
    for (auto& level : network.grid) {
        for (Node& slot : level) {
            Node node;
            readNode(r, node);
            if (!r.ok())
                return -1;
            slot = node;
        }
    }
    return r.ok() ? 1 : -1;
}

template <typename Node>
int write(const QString& path, const ContactNetwork<Node>& network, QString* error)
{
    RecordWriter w;
    w.beginRecord(u"連絡網"_s);
    w.numbers(5);
    w.string(network.pictureFile, u"画像ファイル"_s);
    w.strings(2);
    w.endRecord();
    w.beginRecord(u"備考"_s);
    for (const QString& remark : network.remarks)
        w.string(remark, u"備考"_s);
    w.endRecord();
    writeNode(w, network.topNodes[0]);
    writeNode(w, network.topNodes[1]);
    writeNode(w, Node{});
    for (const auto& level : network.grid)
        for (const Node& node : level)
            writeNode(w, node);
    if (!w.ok()) {
        if (error)
            *error = w.problems().join(u'\n');
        return -1;
    }
    return writeFileAtomically(path, w.bytes(), error) ? 1 : -1;
}
} // namespace

int parseFile(const QByteArray& bytes, SchoolNetwork& network)
{
    return parse(bytes, network);
}
int parseFile(const QByteArray& bytes, OfficerNetwork& network)
{
    return parse(bytes, network);
}

int readFile(const QString& path, SchoolNetwork& network)
{
    QByteArray bytes;
    return readWholeFile(path, bytes) ? parse(bytes, network) : -1;
}
int readFile(const QString& path, OfficerNetwork& network)
{
    QByteArray bytes;
    return readWholeFile(path, bytes) ? parse(bytes, network) : -1;
}
int writeFile(const QString& path, const SchoolNetwork& network, QString* error)
{
    return write(path, network, error);
}
int writeFile(const QString& path, const OfficerNetwork& network, QString* error)
{
    return write(path, network, error);
}

QString fileFilter(bool officers)
{
    return officers ? u"連絡網ファイル(*.TN2)"_s : u"連絡網ファイル(*.TNE)"_s;
}

} // namespace contact_network
