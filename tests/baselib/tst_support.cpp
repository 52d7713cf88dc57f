#include "devcheck.h"
#include "ptr_t.h"

#include <QtTest>

namespace {
struct Counted {
    static int alive;
    Counted() { ++alive; }
    ~Counted() { --alive; }
    int value = 7;
};
int Counted::alive = 0;
} // namespace

class TestSupport : public QObject
{
    Q_OBJECT

private slots:
    void init() { Counted::alive = 0; }

    void ownsAndDeletes()
    {
        {
            ptr_t<Counted> single(new Counted);
            QCOMPARE(single->value, 7);
            QCOMPARE((*single).value, 7);
            ptr_t<Counted> many(new Counted[3], true);
            QVERIFY(many.isArray());
            QCOMPARE(Counted::alive, 4);
        }
        QCOMPARE(Counted::alive, 0);
    }

    void borrowedIsNotDeleted()
    {
        Counted onStack;
        {
            ptr_t<Counted> borrowed(&onStack, false, false);
            QCOMPARE(borrowed.get(), &onStack);
        }
        QCOMPARE(Counted::alive, 1);
    }

    void releaseHandsOver()
    {
        Counted* raw = nullptr;
        {
            ptr_t<Counted> p(new Counted);
            raw = p.release();
            QVERIFY(p.get() == nullptr);
        }
        QCOMPARE(Counted::alive, 1);
        delete raw;
    }

    void devCheckWarnsAndGoesOn()
    {
        const int Index = 3;
        QList<int> m_Adapters{1, 2};
        int reached = 0;
        QTest::failOnWarning(QRegularExpression(QStringLiteral("ASSERT")));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral(
                                 "^ASSERT: \"Index < \\(int\\)m_Adapters\\.count\\(\\)\" in .*tst_support\\.cpp \\(\\d+\\)$")));
        DEV_CHECK(Index < (int)m_Adapters.count());
        ++reached;
        DEV_CHECK(reached == 1); // true: silent
        if (reached > 0)
            DEV_CHECK(true);
        else
            ++reached; // the macro is one statement
        QCOMPARE(reached, 1);
    }
};

QTEST_APPLESS_MAIN(TestSupport)
#include "tst_support.moc"
