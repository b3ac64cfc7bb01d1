#pragma once

#include <QDate>
#include <QString>

class SettingsStore;

// The roster's password. Only a salted hash is kept, in the settings store,
// so a user who sets a password is asked for it at every start.
namespace password {

inline constexpr int kLength = 8;
QString masterPassword();
// An 8-character code that changes every day; its last character is a check
// digit over the seven before it. Support staff read it out to a user who
// has forgotten the password.
QString serviceCode(const QDate& day);
bool isServiceCode(const QString& entry, const QDate& day);

QString hashFor(const QString& password, const QString& salt);
// "salt$hash" of a new password, with a fresh salt.
QString makeStoredHash(const QString& password);
bool matches(const QString& entry, const QString& stored);

// Where it lives: (appKey, "SCHOOL", "PASS_HASH").
QString load(const SettingsStore& settings, const QString& appKey);
// False when the settings store could not be written.
bool save(SettingsStore& settings, const QString& appKey, const QString& stored);

} // namespace password
