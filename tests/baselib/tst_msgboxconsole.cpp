#include "msgbox.h"

#include <QMessageBox>
#include <QtTest>

// Without a GUI application (console tools, early start-up) the box must
// not be attempted, whatever platform the environment names.
class TestMsgBoxConsole : public QObject
{
    Q_OBJECT

private slots:
    void noGuiApplicationIsHeadless()
    {
        QVERIFY(QuarvelMsgBoxHeadless());
        QuarvelMsgBoxHistory().clear();
        QCOMPARE(QuarvelMsgBox(nullptr, QStringLiteral("console")), int(QMessageBox::Ok));
        QCOMPARE(QuarvelMsgBoxHistory(), QStringList{"console"});
    }
};

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QCoreApplication app(argc, argv);
    TestMsgBoxConsole test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_msgboxconsole.moc"
