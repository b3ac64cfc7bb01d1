#include "cp932.h"
#include "periods.h"
#include "record_format.h"
#include "roster_files.h"
#include "test_env.h"
#include "text_width.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestRecordFormat : public QObject {
    Q_OBJECT
private slots:
    void readsValuesAcrossCommasAndLineEnds()
    {
        RecordReader r = RecordReader::fromBytes(testenv::sjis(
            u"\"山田, 太郎\",12,-3,#2024-04-01#\r\n\r\n\"\",,#1899-12-30#,1.5\nbare text ,#NULL#,##\r\n"_s));
        QString s;
        qint16 i16 = 0;
        qint32 i32 = 0;
        Date d;
        float f = 0;
        QVERIFY(r.readString(s));
        QCOMPARE(s, u"山田, 太郎"_s);
        QVERIFY(r.readI32(i32));
        QCOMPARE(i32, 12);
        QVERIFY(r.readI16(i16));
        QCOMPARE(i16, qint16(-3));
        QVERIFY(r.readDate(d));
        QCOMPARE(d.toQDate(), QDate(2024, 4, 1));
        QVERIFY(r.readString(s));
        QCOMPARE(s, QString());
        QVERIFY(r.readI16(i16)); // an empty value reads as 0
        QCOMPARE(i16, qint16(0));
        QVERIFY(r.readDate(d));
        QCOMPARE(d.days(), 0); // the written form of an unset date
        QVERIFY(r.readSingle(f));
        QCOMPARE(f, 1.5f);
        QVERIFY(r.readString(s));
        QCOMPARE(s, u"bare text"_s);
        QVERIFY(r.readDate(d));
        QVERIFY(!d.isSet());
        QVERIFY(r.readDate(d));
        QVERIFY(!d.isSet());
        QVERIFY(r.atEnd());
        QVERIFY(r.ok());
        QVERIFY(!r.readString(s)); // past the end
        QVERIFY(!r.ok());
    }

    void rejectsMalformedValues_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("kind"); // 0 string, 1 i16, 2 i32, 3 date, 4 single
        QTest::newRow("unterminated quote") << QByteArray("\"abc,1,2\r\n") << 0;
        QTest::newRow("text where a number goes") << QByteArray("\"12\"") << 2;
        QTest::newRow("letters where a number goes") << QByteArray("abc") << 2;
        QTest::newRow("i16 overflow") << QByteArray("40000") << 1;
        QTest::newRow("i32 overflow") << QByteArray("99999999999") << 2;
        QTest::newRow("impossible date") << QByteArray("#2023-02-30#") << 3;
        QTest::newRow("letters as a date") << QByteArray("#abc#") << 3;
        QTest::newRow("month 13") << QByteArray("#2023-13-01#") << 3;
        QTest::newRow("unterminated date") << QByteArray("#2023-01-01") << 3;
        QTest::newRow("number where a date goes") << QByteArray("20230101") << 3;
        QTest::newRow("date where a string goes") << QByteArray("#2023-01-01#") << 0;
        QTest::newRow("junk after a quote") << QByteArray("\"a\"b,1") << 0;
        QTest::newRow("invalid shift-jis") << QByteArray("\"\x81\x20\"") << 0;
        QTest::newRow("cut in a character") << QByteArray("\"\x93") << 0;
        QTest::newRow("empty") << QByteArray() << 2;
        QTest::newRow("infinite single") << QByteArray("1e999") << 4;
        QTest::newRow("quote inside a bare value") << QByteArray("ab\"c\",1") << 0;
    }

    void rejectsMalformedValues()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, kind);
        RecordReader r = RecordReader::fromBytes(bytes);
        QString s;
        qint16 i16;
        qint32 i32;
        Date d;
        float f;
        const bool read = kind == 0   ? r.readString(s)
                          : kind == 1 ? r.readI16(i16)
                          : kind == 2 ? r.readI32(i32)
                          : kind == 3 ? r.readDate(d)
                                      : r.readSingle(f);
        QVERIFY(!read);
        QVERIFY(!r.ok());
        QVERIFY(!r.error().isEmpty());
        QVERIFY(!r.readString(s)); // the failure sticks
    }

    void writesTheFormatAndMapsLookAlikes()
    {
        RecordWriter w;
        w.beginRecord(u"職員「甲」"_s);
        w.string(u"瑠璃\u301C青海\u2212"_s, u"住所"_s);
        w.number(-12);
        w.date(Date());
        w.date(Date::fromYmd(2019, 5, 1));
        w.single(0.3f);
        w.string(u"a\"b"_s);
        w.endRecord();
        QVERIFY(w.ok());
        QCOMPARE(w.bytes(), testenv::sjis(u"\"瑠璃～青海－\",-12,#1899-12-30#,#2019-05-01#,0.3,\"a＂b\"\r\n"_s));

        // Everything written reads back.
        RecordReader r = RecordReader::fromBytes(w.bytes());
        QString s;
        qint32 n;
        Date d;
        float f;
        QVERIFY(r.readString(s) && r.readI32(n) && r.readDate(d));
        QCOMPARE(s, u"瑠璃～青海－"_s);
        QVERIFY(!d.isSet());
        QVERIFY(r.readDate(d) && r.readSingle(f) && r.readString(s) && r.atEnd());
        QCOMPARE(d, Date::fromYmd(2019, 5, 1));
        QCOMPARE(f, 0.3f);
    }

    void refusesCharactersTheCodePageLacks()
    {
        RecordWriter w;
        w.beginRecord(u"職員「𠮷田」"_s);
        w.string(u"𠮷田"_s, u"氏名"_s);
        w.string(u"ok"_s, u"フリガナ"_s);
        w.string(u"😀"_s, u"備考"_s);
        QVERIFY(!w.ok());
        QCOMPARE(w.problems().size(), 2);
        QVERIFY(w.problems()[0].contains(u"氏名"_s));
        QVERIFY(w.problems()[0].contains(u"𠮷"_s));
        QVERIFY(w.problems()[1].contains(u"備考"_s));
        // No substitute bytes were written.
        QVERIFY(!w.bytes().contains("\xfc\xfc"));
        QVERIFY(!w.bytes().contains('?'));
        QVERIFY(cp932::canEncode(u"髙橋ｱｲｳ①Ⅱ㈱"_s));
        QVERIFY(!cp932::canEncode(u"한글"_s));
    }

    void controlCharactersAreThemselves()
    {
        // Every byte below 0x80 is the character of the same number, as on
        // Windows, also inside text with Japanese in it.
        QByteArray ascii;
        for (int i = 1; i < 0x80; ++i)
            ascii += char(i);
        const std::optional<QString> text = cp932::decode(ascii);
        QVERIFY(text);
        for (int i = 1; i < 0x80; ++i)
            QCOMPARE(int((*text)[i - 1].unicode()), i);
        const QString mixed = u"名\u001A\u001C\u007F前"_s;
        QByteArray bytes;
        QVERIFY(cp932::encode(mixed, bytes));
        QCOMPARE(bytes.mid(2, 3), QByteArray("\x1a\x1c\x7f"));
        QCOMPARE(cp932::decode(bytes).value_or(QString()), mixed);
        // A DOS end-of-file mark after the last record is not a value.
        RecordReader r = RecordReader::fromBytes("1,2\r\n\x1a");
        qint16 a, b;
        QVERIFY(r.readI16(a) && r.readI16(b) && r.atEnd());
    }

    void narrowingAndWidening()
    {
        QCOMPARE(toHalfWidth(u"０１２－３４５６　ＡＢＣ　アイウガ"_s), u"012-3456 ABC ｱｲｳｶﾞ"_s);
        QCOMPARE(toFullWidth(u"ｱｲｳｶﾞ"_s), u"アイウガ"_s);
        QCOMPARE(toHalfWidth(QString()), QString());
        QCOMPARE(toHalfWidth(u"学校事務"_s), u"学校事務"_s);
    }

    void narrowedTextCanAlwaysBeSaved()
    {
        // Full-width forms whose half-width form code page 932 lacks stay full-width.
        const QString narrowed = toHalfWidth(u"￥１００　￣￤￠￡￢"_s);
        QCOMPARE(narrowed, u"￥100 ￣￤￠￡￢"_s);
        QVERIFY(cp932::canEncode(narrowed));
        QCOMPARE(toHalfWidth(u"¥"_s), u"￥"_s);
        // The dashes Linux input methods type in numbers.
        QCOMPARE(toHalfWidthNumber(u"９００−０００１"_s), u"900-0001"_s);
        QCOMPARE(toHalfWidthNumber(u"011ー234‐5678–9"_s), u"011-234-5678-9"_s);
        QCOMPARE(toHalfWidthNumber(u"０１１－２３４"_s), u"011-234"_s);
        // Readings keep their long-vowel mark.
        QCOMPARE(toHalfWidth(u"センター"_s), u"ｾﾝﾀｰ"_s);
    }

    void numbersTypedInEitherWidth()
    {
        QCOMPARE(typedNumber(u"１５"_s, -99, 99), 15);
        QCOMPARE(typedNumber(u"　１２ab"_s, -99, 99), 12);
        QCOMPARE(typedNumber(u"−７"_s, -99, 99), -7);
        QCOMPARE(typedNumber(u"－７"_s, -99, 99), -7);
        QCOMPARE(typedNumber(u"abc"_s, -99, 99), 0);
        QCOMPARE(typedNumber(u"123456789012345678901234567890"_s, -99, 99), 99);
        QCOMPARE(typedWholeNumber(u"２０"_s), std::optional<qint64>(20));
        QCOMPARE(typedWholeNumber(u" 3 "_s), std::optional<qint64>(3));
        QCOMPARE(typedWholeNumber(u"3a"_s), std::nullopt);
        QCOMPARE(typedWholeNumber(QString()), std::nullopt);
        QCOMPARE(typedWholeNumber(u"-"_s), std::nullopt);
        QCOMPARE(typedWholeNumber(u"99999999999999999999999"_s), std::nullopt);
        QCOMPARE(typedDecimal(u"１．５mm"_s), 1.5);
        QCOMPARE(typedDecimal(u"-2.55"_s), -2.55);
        QCOMPARE(typedDecimal(u".5"_s), 0.5);
        QCOMPARE(typedDecimal(u"x1"_s), 0.0);
        QCOMPARE(typedDecimal(u"1e300"_s), 1.0);
        QCOMPARE(boxNumber(u"１５"_s), 15);
    }

    void scramblingCoversEveryByte()
    {
        QByteArray all(256, 0);
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        const QByteArray s = scrambled(all);
        for (int i = 0; i < 256; ++i)
            QCOMPARE(quint8(s[i]), quint8((i + 1) % 256));
        QCOMPARE(quint8(scrambled(QByteArray(1, char(255)))[0]), quint8(0));
        QCOMPARE(quint8(unscrambled(QByteArray(1, char(0)))[0]), quint8(255));
        QCOMPARE(unscrambled(s), all);
        QCOMPARE(leadingNumber(scrambled("10001,0,\"\"")), 21112);
        QCOMPARE(leadingNumber("  10001,0"), 10001);
        QCOMPARE(leadingNumber("\"x\""), 0);
    }
};

QTEST_GUILESS_MAIN(TestRecordFormat)
#include "tst_record_format.moc"
