#pragma once

#include <QString>
#include <optional>

// The reading (フリガナ) of a name as it is typed with an input method: the
// kana typed before each conversion is the reading of the text the
// conversion commits. The state machine is fed the name box's input-method
// events in order; without an input method it simply adds nothing.
class ReadingCapture {
public:
    // The name box gained focus: what the two boxes hold now.
    void begin(const QString& reading, const QString& name);
    // The name box lost focus.
    void clear();
    // An input-method preedit: the last one made of kana is remembered.
    void preedit(const QString& text);
    // The composition ended with nothing committed (the user cancelled it):
    // its kana must not become the reading of whatever is typed next. Some
    // input methods end the composition just before they commit, so a commit
    // that follows at once still takes the kana.
    void compositionEnded();
    // The input method is committing text to the box.
    void committing();
    // The name box's text after a change. Returns the new reading when the
    // change added to the name, else nothing.
    std::optional<QString> nameChanged(const QString& name);

    const QString& readingSoFar() const { return m_reading; }

private:
    QString m_reading;
    QString m_name;
    QString m_lastKana;
    bool m_ended = false;
};

// Kana (hiragana or katakana) as the half-width katakana of a reading.
QString readingKana(const QString& kana);
