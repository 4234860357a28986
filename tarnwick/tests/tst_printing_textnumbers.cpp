#include "printing/TextNumbers.h"

#include <QLocale>
#include <QTest>

class TestTextNumbers : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void isNumeric_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        QTest::newRow("integer") << "12" << true;
        QTest::newRow("blanks around") << "  12  " << true;
        QTest::newRow("tab before") << "\t12" << true;
        QTest::newRow("negative") << "-20" << true;
        QTest::newRow("plus sign") << "+3" << true;
        QTest::newRow("fraction") << "12.5" << true;
        QTest::newRow("leading point") << ".5" << true;
        QTest::newRow("trailing point") << "5." << true;
        QTest::newRow("exponent") << "1e3" << true;
        QTest::newRow("signed exponent") << "2.5E-2" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blanks only") << "   " << false;
        QTest::newRow("sign only") << "-" << false;
        QTest::newRow("point only") << "." << false;
        QTest::newRow("letters") << "abc" << false;
        QTest::newRow("trailing letters") << "12px" << false;
        QTest::newRow("blank inside") << "1 2" << false;
        QTest::newRow("exponent without digits") << "1e" << false;
        QTest::newRow("two points") << "1.2.3" << false;
        QTest::newRow("comma decimal") << "0,5" << false;
        QTest::newRow("double sign") << "--1" << false;
    }
    void isNumeric() {
        QFETCH(QString, text);
        QFETCH(bool, numeric);
        QCOMPARE(IsNumeric(text), numeric);
    }

    void toInt16_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "2" << true << 2;
        QTest::newRow("half to even down") << "2.5" << true << 2;
        QTest::newRow("half to even up") << "3.5" << true << 4;
        QTest::newRow("negative half") << "-2.5" << true << -2;
        QTest::newRow("below half") << "2.49" << true << 2;
        QTest::newRow("above half") << "2.51" << true << 3;
        QTest::newRow("small negative") << "-0.4" << true << 0;
        QTest::newRow("exponent") << "1e3" << true << 1000;
        QTest::newRow("blanks") << " 7 " << true << 7;
        QTest::newRow("top of range") << "32767" << true << 32767;
        QTest::newRow("rounds past range") << "32767.5" << false << 0;
        QTest::newRow("bottom of range") << "-32768" << true << -32768;
        QTest::newRow("out of range") << "40000" << false << 0;
        QTest::newRow("not a number") << "landscape" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("infinity") << "inf" << false << 0;
    }
    void toInt16() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(int, value);
        const std::optional<qint16> result = TextToInt16(text);
        QCOMPARE(result.has_value(), ok);
        if (ok)
            QCOMPARE(int(*result), value);
    }

    void toInt32_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint64>("value");
        QTest::newRow("12.5") << "12.5" << true << qint64(12);
        QTest::newRow("13.5") << "13.5" << true << qint64(14);
        QTest::newRow("beyond 16 bits") << "70000" << true << qint64(70000);
        QTest::newRow("negative") << "-20" << true << qint64(-20);
        QTest::newRow("top") << "2147483647" << true << qint64(2147483647);
        QTest::newRow("past top") << "2147483648" << false << qint64(0);
    }
    void toInt32() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(qint64, value);
        const std::optional<qint32> result = TextToInt32(text);
        QCOMPARE(result.has_value(), ok);
        if (ok)
            QCOMPARE(qint64(*result), value);
    }

    void doubleText_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fixed3");
        QTest::newRow("one") << "C" << 1.0 << "1"
                             << "1.000";
        QTest::newRow("quarter") << "C" << 1.25 << "1.25"
                                 << "1.250";
        QTest::newRow("half") << "C" << 0.5 << "0.5"
                              << "0.500";
        QTest::newRow("fifteen digits") << "C" << 0.1 + 0.2 << "0.3"
                                        << "0.300";
        QTest::newRow("no grouping") << "en_US" << 12345.5 << "12345.5"
                                     << "12345.500";
        QTest::newRow("negative") << "C" << -2.0 << "-2"
                                  << "-2.000";
        QTest::newRow("tiny negative") << "C" << -0.0001 << "-0.0001"
                                       << "0.000";
        QTest::newRow("rounded") << "C" << 0.12345 << "0.12345"
                                 << "0.123";
        QTest::newRow("comma locale") << "de_DE" << 1.25 << "1,25"
                                      << "1,250";
    }
    void doubleText() {
        QFETCH(QString, locale);
        QFETCH(double, value);
        QFETCH(QString, text);
        QFETCH(QString, fixed3);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(DoubleToText(value), text);
        QCOMPARE(FormatFixed3(value), fixed3);
        // What is written reads back as the same number.
        const std::optional<double> back = TextToDouble(DoubleToText(value));
        QVERIFY(back.has_value());
        QCOMPARE(*back, value);
    }

    void toDouble_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "C"
                               << "1.00" << true << 1.0;
        QTest::newRow("blanks") << "C"
                                << " 0.5 " << true << 0.5;
        QTest::newRow("exponent") << "C"
                                  << "2e-1" << true << 0.2;
        QTest::newRow("point under comma locale") << "de_DE"
                                                  << "1.25" << true << 1.25;
        QTest::newRow("comma under comma locale") << "de_DE"
                                                  << "0,5" << true << 0.5;
        QTest::newRow("grouping is not a point") << "de_DE"
                                                 << "1.250" << true << 1.25;
        QTest::newRow("text") << "C"
                              << "big" << false << 0.0;
        QTest::newRow("empty") << "C"
                               << "" << false << 0.0;
        QTest::newRow("not a number") << "C"
                                      << "nan" << false << 0.0;
    }
    void toDouble() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, value);
        QLocale::setDefault(QLocale(locale));
        const std::optional<double> result = TextToDouble(text);
        QCOMPARE(result.has_value(), ok);
        if (ok)
            QCOMPARE(*result, value);
    }

    void leadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "12" << 12.0;
        QTest::newRow("blanks first") << "   12.5" << 12.5;
        QTest::newRow("stops at letters") << "12abc" << 12.0;
        QTest::newRow("stops at second point") << "1.2.3" << 1.2;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("dangling exponent") << "4e" << 4.0;
        QTest::newRow("comma is not a point") << "0,5" << 0.0;
        QTest::newRow("nothing") << "x1" << 0.0;
        QTest::newRow("negative") << "-0.4" << -0.4;
    }
    void leadingNumber() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(LeadingNumber(text), value);
    }
};

QTEST_GUILESS_MAIN(TestTextNumbers)
#include "tst_printing_textnumbers.moc"
