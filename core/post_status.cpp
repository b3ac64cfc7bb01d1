#include "post_status.h"

using namespace Qt::StringLiterals;

const QStringList& postStatuses()
{
    static const QStringList names{QString(), u"欠員補充"_s, u"休暇等補助"_s, u"産・育休補助"_s, u"産・育休中"_s};
    return names;
}

QString postStatusName(PostStatus status)
{
    return postStatuses().value(int(status));
}

bool hasPostStatus(const QString& text, PostStatus status)
{
    return text == postStatuses().value(int(status));
}

QString otherChoiceName()
{
    return u"その他"_s;
}
