// The contact-network files (*.TNE, *.TN2): read, then refreshed against
// candidates.
#include "contact_network.h"

#include <cstdlib>

namespace {
template <typename Network, typename Node>
void check(const QByteArray& bytes, std::vector<Node> candidates)
{
    Network n;
    const int result = contact_network::parseFile(bytes, n);
    if (result != 1 && result != -1)
        std::abort();
    const size_t before = candidates.size();
    contact_network::refresh(n, candidates);
    if (candidates.size() > before)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    check<SchoolNetwork>(bytes, std::vector<NetworkNode>{{QStringLiteral("東小学校"), 1, QString(), QString()},
                                                         {QStringLiteral("西小学校"), 2, QString(), QString()}});
    check<OfficerNetwork>(bytes, std::vector<OfficerNetworkNode>{
                                     {QString(), QString(), QString(), QStringLiteral("青木"), 20000001, QString()}});
    return 0;
}
