#pragma once

#include <QString>
#include <QStringList>

// The staffing status of a clerk's post, as the school file stores it and the
// school editor offers it. A regular post has no status text. The codes are
// the positions in the editor's choice.
enum class PostStatus : int {
    Regular = 0,     // ""
    VacancyFill = 1, // 欠員補充
    LeaveAssist = 2, // 休暇等補助
    LeaveCover = 3,  // 産・育休補助
    OnLeave = 4,     // 産・育休中
};
inline constexpr int kPostStatusCount = 5;

// The stored text of a status ("" for a regular post).
QString postStatusName(PostStatus status);
// Whether a post's stored status text is `status`.
bool hasPostStatus(const QString& text, PostStatus status);
// Every status text in code order: "" then the four staffing statuses.
const QStringList& postStatuses();

// The last choice of the area, group and officer-group selectors: the rows
// that belong to none of the listed names.
QString otherChoiceName();
