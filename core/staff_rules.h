#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class RosterStore;

// The rules of the staff editor and its neighbours that need no window.
namespace staff_rules {

// The leading number of a box, as the editor reads its boxes (full-width
// digits count too); 0 when there is none. Kept within the field's range.
qint32 toI32(const QString& text);
qint16 toI16(const QString& text);

// The grade a job title brings when none is entered yet (0: none).
int defaultGrade(int jobTitleIndex);
int gradeUp(int grade);
int gradeDown(int grade);

// 号給 steps: plain numbers or a series letter (T, Z, X) and a number.
QString payStepUp(const QString& step, int grade);
QString payStepDown(const QString& step);

// "1234567" -> "123-4567"; anything else unchanged.
QString formatPostalCode(const QString& text);

// The association posts (県役職名) and the second posts each allows.
const QStringList& yaku1Items();
QStringList yaku2Items(const QString& yaku1);

// A job title compared without half- and full-width spaces.
QString compactTitle(const QString& title);

// A staff code as the user types it: digits only (half- or full-width, spaces
// around allowed), a number above 0 that fits the field. Anything else is
// refused where it is typed, never stored as 0.
std::optional<qint32> parseStaffCode(const QString& text);

// 氏名・コード変更: the first post holding `oldCode` and the first staff
// record with it take the new code and name. Refused (false, nothing
// changed) when either code is not above 0: an empty post is never filled
// and a post never takes code 0.
bool changeNameAndCode(RosterStore& store, qint32 oldCode, qint32 newCode, const QString& newName);

} // namespace staff_rules
