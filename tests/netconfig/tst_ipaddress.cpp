#include "ipaddress.h"

#include <QtTest>

// The loose text conversion of addresses read from the system and from
// settings files, and its exact inverse.
class TestIPAddress : public QObject
{
    Q_OBJECT

private slots:
    void fromText_data();
    void fromText();
    void roundTrip_data();
    void roundTrip();
    void equality();
};

void TestIPAddress::fromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint32>("value");

    QTest::newRow("private") << "192.168.0.1" << quint32(0xC0A80001);
    QTest::newRow("mask") << "255.255.255.0" << quint32(0xFFFFFF00);
    QTest::newRow("all ones") << "255.255.255.255" << quint32(0xFFFFFFFF);
    QTest::newRow("zero") << "0.0.0.0" << quint32(0);
    QTest::newRow("leading zeros") << "010.001.000.005" << quint32(0x0A010005);
    // Groups above 255 are not refused: their high bits spill into the
    // previous octet and whatever leaves the top is lost.
    QTest::newRow("first group 300") << "300.1.1.1" << quint32(0x2C010101);
    QTest::newRow("second group 256") << "1.256.1.1" << quint32(0x01000101);
    QTest::newRow("last group 999") << "0.0.0.999" << quint32(999);
    QTest::newRow("empty") << "" << quint32(0);
    QTest::newRow("three groups") << "1.2.3" << quint32(0);
    QTest::newRow("five groups") << "1.2.3.4.5" << quint32(0);
    QTest::newRow("leading blank") << " 1.2.3.4" << quint32(0);
    QTest::newRow("trailing blank") << "1.2.3.4 " << quint32(0);
    QTest::newRow("letters") << "a.b.c.d" << quint32(0);
    QTest::newRow("four digits") << "1234.1.1.1" << quint32(0);
    QTest::newRow("masked empty field") << "..." << quint32(0);
    QTest::newRow("blank inside") << "1. 2.3.4" << quint32(0);
    QTest::newRow("sign") << "+1.2.3.4" << quint32(0);
}

void TestIPAddress::fromText()
{
    QFETCH(QString, text);
    QFETCH(quint32, value);
    QCOMPARE(CIPAddress(text).Value(), value);
}

void TestIPAddress::roundTrip_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << quint32(0) << "0.0.0.0";
    QTest::newRow("private") << quint32(0xC0A80001) << "192.168.0.1";
    QTest::newRow("top bit set") << quint32(0xFFFFFF00) << "255.255.255.0";
    QTest::newRow("octet order") << quint32(0x0A010203) << "10.1.2.3";
    QTest::newRow("broadcast") << quint32(0xFFFFFFFF) << "255.255.255.255";
}

void TestIPAddress::roundTrip()
{
    QFETCH(quint32, value);
    QFETCH(QString, text);
    QCOMPARE(CIPAddress(value).ToString(), text);
    QCOMPARE(CIPAddress(text).Value(), value);
}

void TestIPAddress::equality()
{
    QVERIFY(CIPAddress(QStringLiteral("10.0.0.1")) == CIPAddress(0x0A000001));
    QVERIFY(CIPAddress(QStringLiteral("10.0.0.1")) != CIPAddress(QStringLiteral("10.0.0.2")));
    QCOMPARE(CIPAddress().Value(), quint32(0));
    // A bad text is indistinguishable from "no address".
    QVERIFY(CIPAddress(QStringLiteral("bad")) == CIPAddress());
}

QTEST_APPLESS_MAIN(TestIPAddress)
#include "tst_ipaddress.moc"
