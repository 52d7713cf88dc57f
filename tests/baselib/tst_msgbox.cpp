// The error box's test seam: boxes are kept only while a test records them.
#include "msgboxrecorder.h"

#include <QtTest>

class TestMsgBox : public QObject
{
    Q_OBJECT

private slots:
    void recordsOnlyWhileARecorderLives()
    {
        QuarvelMsgBox(nullptr, QStringLiteral("before"));
        {
            MsgBoxRecorder outer;
            QuarvelMsgBox(nullptr, QStringLiteral("one"), QStringLiteral("/tmp/file.ini"));
            {
                MsgBoxRecorder inner;
                QuarvelMsgBox(nullptr, QStringLiteral("two"));
                QCOMPARE(inner.texts(), QStringList{QStringLiteral("two")});
            }
            // The inner recorder hands the boxes back to the outer one.
            QuarvelMsgBox(nullptr, QStringLiteral("three"));
            QCOMPARE(outer.texts(), (QStringList{QStringLiteral("one\n/tmp/file.ini"), QStringLiteral("three")}));
        }
        // With every recorder gone the box keeps nothing.
        QCOMPARE(SetQuarvelMsgBoxRecorder(nullptr), static_cast<QStringList*>(nullptr));
    }
};

QTEST_MAIN(TestMsgBox)
#include "tst_msgbox.moc"
