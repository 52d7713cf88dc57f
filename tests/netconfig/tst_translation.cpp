// The German catalogue: complete, loaded under a German locale, shown by the dialogs.
#include "netconfigimpl.h"
#include "testenv.h"

#include "baselib.h"
#include "msgboxrecorder.h"

#include <QRegularExpression>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

struct TsMessage
{
    QString source, translation, type; // type: "unfinished", "vanished"...
};

QList<TsMessage> ReadCatalogue()
{
    QList<TsMessage> messages;
    QFile file(QStringLiteral(NETCONFIG_SOURCE_DIR "/translations/netconfig_de.ts"));
    file.open(QIODevice::ReadOnly);
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("message"))
            continue;
        TsMessage& m = messages.emplace_back();
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("source"))
                m.source = xml.readElementText();
            else if (xml.name() == QLatin1String("translation"))
                m.type = xml.attributes().value(QLatin1String("type")).toString(),
                m.translation = xml.readElementText();
            else
                xml.skipCurrentElement();
        }
    }
    return xml.hasError() ? QList<TsMessage>() : messages;
}

QStringList Sorted(const char* pattern, const QString& text)
{
    QStringList found;
    for (auto it = QRegularExpression(QLatin1String(pattern)).globalMatch(text); it.hasNext();)
        found << it.next().captured();
    found.sort();
    return found;
}

} // namespace

class TestTranslation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void messageIsTranslated_data();
    void messageIsTranslated();
    void dialogsAreGerman();

private:
    QList<TsMessage> m_Catalogue;
};

void TestTranslation::initTestCase()
{
    m_Catalogue = ReadCatalogue();
    QVERIFY(!m_Catalogue.isEmpty());
    // The program's own lookup: the data folder beside build/bin.
    QTranslator* translator = nullptr;
    QVERIFY2(InstallTranslator(QStringLiteral("netconfig"), nullptr, &translator) && translator,
             qPrintable(GetAppSubDirectory(AppDirTranslations)));
}

void TestTranslation::messageIsTranslated_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("translation");
    QTest::addColumn<QString>("type");
    for (const TsMessage& m : std::as_const(m_Catalogue))
        QTest::newRow(qPrintable(m.source.left(70))) << m.source << m.translation << m.type;
}

// A translator's slips: unfinished, a lost place marker, tag or accelerator.
void TestTranslation::messageIsTranslated()
{
    QFETCH(QString, source);
    QFETCH(QString, translation);
    QFETCH(QString, type);
    QVERIFY2(type.isEmpty(), qPrintable(type));
    QVERIFY(!translation.trimmed().isEmpty());
    for (const char* pattern : {"<[^>]*>", "&[^&]"})
        QCOMPARE(Sorted(pattern, translation).count(), Sorted(pattern, source).count());
    QCOMPARE(Sorted("%\\d+", translation), Sorted("%\\d+", source));
    if (!source.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))))
        QCOMPARE(translation, source); // input masks and "..."
}

void TestTranslation::dialogsAreGerman()
{
    TestEnv env;
    QVERIFY(env.initSampleHost());
    CNetConfigImpl dialog;
    QCOMPARE(dialog.ReadConfiguration(), 0ul);
    dialog.SelectAdapter(0);
    QCOMPARE(dialog.btnApply->text(), QStringLiteral("Ü&bernehmen"));

    MsgBoxRecorder boxes;
    dialog.Editor().EditAddress(0, CardField::IPAddress, QStringLiteral("300.1.1.1"));
    QVERIFY(!dialog.ValidateInput());
    QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Die IP-Adresse 300.1.1.1 ist ungültig.")});
}

int main(int argc, char** argv)
{
    // The locale need not be installed on the machine.
    qputenv("LC_ALL", "de_DE.UTF-8");
    qputenv("LANG", "de_DE.UTF-8");
    QApplication app(argc, argv);
    TestTranslation test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_translation.moc"
