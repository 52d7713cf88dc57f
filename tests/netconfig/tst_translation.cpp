// The German catalogue: complete, in step with the sources, loaded by
// InstallTranslator under a German locale (set in main()), shown by the dialogs.
#include "addrlistimpl.h"
#include "netconfigimpl.h"
#include "testenv.h"

#include "baselib.h"
#include "mapdrive.h"
#include "msgbox.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>

namespace {

struct TsMessage
{
    QString context, source, translation;
    QString type; // "unfinished", "vanished", "obsolete" or empty
};

QString CataloguePath()
{
    return QStringLiteral(NETCONFIG_SOURCE_DIR "/translations/netconfig_de.ts");
}

QList<TsMessage> ReadCatalogue(const QString& path, QString* error)
{
    QList<TsMessage> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return messages;
    }
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            TsMessage message{context, {}, {}, {}};
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("source")) {
                    message.source = xml.readElementText();
                } else if (xml.name() == QLatin1String("translation")) {
                    message.type = xml.attributes().value(QLatin1String("type")).toString();
                    message.translation = xml.readElementText();
                } else {
                    xml.skipCurrentElement();
                }
            }
            messages << message;
        }
    }
    if (xml.hasError())
        *error = xml.errorString();
    return messages;
}

QStringList Matches(const QString& pattern, const QString& text)
{
    QStringList found;
    auto it = QRegularExpression(pattern).globalMatch(text);
    while (it.hasNext())
        found << it.next().captured();
    return found;
}

int AcceleratorCount(QString text)
{
    text.remove(QLatin1String("&&"));
    return text.count(QLatin1Char('&'));
}

QString Key(const TsMessage& m)
{
    return m.context + QLatin1String("::") + m.source;
}

// Every user-visible text a widget tree shows.
QStringList ShownTexts(QWidget* root)
{
    QStringList texts{root->windowTitle()};
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            texts << button->text();
        else if (auto* label = qobject_cast<QLabel*>(w))
            texts << label->text();
        else if (auto* box = qobject_cast<QGroupBox*>(w))
            texts << box->title();
        else if (auto* edit = qobject_cast<QLineEdit*>(w))
            texts << edit->placeholderText();
        else if (auto* combo = qobject_cast<QComboBox*>(w); combo && !combo->isEditable())
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i);
        else if (auto* tabs = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i);
        else if (auto* tree = qobject_cast<QTreeWidget*>(w))
            for (int i = 0; i < tree->columnCount(); ++i)
                texts << tree->headerItem()->text(i);
    }
    texts.removeAll(QString());
    return texts;
}

} // namespace

class TestTranslation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void messageIsTranslated_data();
    void messageIsTranslated();
    void catalogueMatchesSources();

    void mainDialogIsGerman();
    void shortcutsFollowMnemonics();
    void otherDialogsAreGerman();

private:
    void CheckNoEnglish(QWidget* root);

    QList<TsMessage> m_Catalogue;
    QTranslator* m_Translator = nullptr;
    std::unique_ptr<TestEnv> m_Env;
    std::unique_ptr<CNetConfigImpl> m_Dialog;
};

void TestTranslation::initTestCase()
{
    QCOMPARE(QLocale::system().language(), QLocale::German);
    QString error;
    m_Catalogue = ReadCatalogue(CataloguePath(), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(!m_Catalogue.isEmpty());
    // The program's own lookup: the data folder beside build/bin.
    QVERIFY2(InstallTranslator(QStringLiteral("netconfig"), nullptr, &m_Translator),
             qPrintable(GetAppSubDirectory(AppDirTranslations)));
    QVERIFY(m_Translator);
}

void TestTranslation::init()
{
    m_Env = std::make_unique<TestEnv>();
    QVERIFY(m_Env->initSampleHost());
    m_Dialog = std::make_unique<CNetConfigImpl>();
    QCOMPARE(m_Dialog->ReadConfiguration(), 0ul);
    m_Dialog->SelectAdapter(0);
    QuarvelMsgBoxHistory().clear();
}

void TestTranslation::cleanup()
{
    m_Dialog.reset();
    m_Env.reset();
}

void TestTranslation::messageIsTranslated_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("translation");
    QTest::addColumn<QString>("type");
    for (const TsMessage& m : std::as_const(m_Catalogue))
        QTest::newRow(qPrintable(Key(m).left(70))) << m.source << m.translation << m.type;
}

// What a translator can get wrong: an unfinished entry, a lost place marker
// or tag, a missing accelerator, a shortcut that no longer parses.
void TestTranslation::messageIsTranslated()
{
    QFETCH(QString, source);
    QFETCH(QString, translation);
    QFETCH(QString, type);

    QVERIFY2(type.isEmpty(), qPrintable(type));
    QVERIFY(!translation.trimmed().isEmpty());

    const QString marker = QStringLiteral("%\\d+");
    QStringList wanted = Matches(marker, source);
    QStringList got = Matches(marker, translation);
    // A repeated marker is filled by position, so then the order matters too.
    if (QSet<QString>(wanted.cbegin(), wanted.cend()).size() == wanted.size()) {
        wanted.sort();
        got.sort();
    }
    QCOMPARE(got, wanted);
    QCOMPARE(Matches(QStringLiteral("<[^>]*>"), translation), Matches(QStringLiteral("<[^>]*>"), source));
    QCOMPARE(AcceleratorCount(translation), AcceleratorCount(source));

    if (!source.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))))
        QCOMPARE(translation, source); // input masks and "..."
    for (const QString end : {QStringLiteral(":"), QStringLiteral("..."), QStringLiteral(".")}) {
        if (source.trimmed().endsWith(end)) {
            QVERIFY2(translation.trimmed().endsWith(end), qPrintable(end));
            break;
        }
    }
    const QRegularExpression shortcut(QStringLiteral("^(Alt\\+.|Esc)$"));
    if (shortcut.match(source).hasMatch()) {
        QVERIFY2(shortcut.match(translation).hasMatch(), qPrintable(translation));
        QCOMPARE(QKeySequence(translation, QKeySequence::PortableText).count(), 1);
    }
}

// Rescans the sources into a copy of the catalogue: a text added or changed
// since the last update shows up as unfinished, a removed one as missing.
void TestTranslation::catalogueMatchesSources()
{
    QString lupdate = QLibraryInfo::path(QLibraryInfo::BinariesPath) + QStringLiteral("/lupdate");
    if (!QFileInfo(lupdate).isExecutable())
        lupdate = QStandardPaths::findExecutable(QStringLiteral("lupdate"));
    if (lupdate.isEmpty())
        QSKIP("lupdate is not installed");

    const QString copy = m_Env->path(QStringLiteral("netconfig_de.ts"));
    QVERIFY(QFile::copy(CataloguePath(), copy));
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(lupdate, {QStringLiteral(NETCONFIG_SOURCE_DIR "/apps/netconfig"),
                            QStringLiteral(NETCONFIG_SOURCE_DIR "/lib/baselib"), QStringLiteral("-extensions"),
                            QStringLiteral("cpp,h,ui"), QStringLiteral("-locations"), QStringLiteral("none"),
                            QStringLiteral("-no-obsolete"), QStringLiteral("-ts"), copy});
    QVERIFY(process.waitForFinished(120000));
    QVERIFY2(process.exitCode() == 0, process.readAll().constData());

    QString error;
    const QList<TsMessage> rescanned = ReadCatalogue(copy, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QStringList stale, keptKeys;
    for (const TsMessage& m : rescanned) {
        keptKeys << Key(m);
        if (!m.type.isEmpty())
            stale << Key(m);
    }
    for (const TsMessage& m : std::as_const(m_Catalogue)) {
        if (!keptKeys.contains(Key(m)))
            stale << QStringLiteral("gone: ") + Key(m);
    }
    QVERIFY2(stale.isEmpty(), qPrintable(QStringLiteral("build the netconfig_lupdate target and translate:\n") +
                                         stale.join(QLatin1Char('\n'))));
}

void TestTranslation::CheckNoEnglish(QWidget* root)
{
    QSet<QString> english;
    for (const TsMessage& m : std::as_const(m_Catalogue)) {
        if (m.translation != m.source)
            english.insert(m.source);
    }
    for (const QString& text : ShownTexts(root))
        QVERIFY2(!english.contains(text), qPrintable(root->objectName() + QStringLiteral(": ") + text));
}

void TestTranslation::mainDialogIsGerman()
{
    QCOMPARE(m_Dialog->windowTitle(), QStringLiteral("Netzwerkkonfiguration"));
    QStringList tabs;
    for (int i = 0; i < m_Dialog->tbPageMain->count(); ++i)
        tabs << m_Dialog->tbPageMain->tabText(i);
    QCOMPARE(tabs, (QStringList{"Netzwerkadapter", "Netzlaufwerke", "Identifikation", "Dienstprogramme"}));
    QCOMPARE(m_Dialog->btnApply->text(), QStringLiteral("Ü&bernehmen"));
    QCOMPARE(m_Dialog->chlShareList->headerItem()->text(1), QStringLiteral("Netzwerkpfad"));
    CheckNoEnglish(m_Dialog.get());

    // Messages built at run time are translated too.
    m_Dialog->ledIPAddress->setText(QStringLiteral("300.1.1.1"));
    QVERIFY(!m_Dialog->ValidateInput());
    QCOMPARE(QuarvelMsgBoxHistory(), QStringList{QStringLiteral("Die IP-Adresse 300.1.1.1 ist ungültig.")});
}

// The form sets an explicit shortcut after the text; it must name the
// letter the German text underlines.
void TestTranslation::shortcutsFollowMnemonics()
{
    CNetAddrListImpl addressList;
    int checked = 0;
    for (QWidget* root : {static_cast<QWidget*>(m_Dialog.get()), static_cast<QWidget*>(&addressList)}) {
        for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
            const QKeySequence mnemonic = QKeySequence::mnemonic(button->text());
            if (mnemonic.isEmpty() || button->shortcut().isEmpty() ||
                button->shortcut()[0].keyboardModifiers() != Qt::AltModifier)
                continue;
            QVERIFY2(button->shortcut() == mnemonic,
                     qPrintable(button->objectName() + QStringLiteral(": ") + button->text() + QStringLiteral(" / ") +
                                button->shortcut().toString()));
            ++checked;
        }
    }
    QVERIFY(checked >= 10);
}

void TestTranslation::otherDialogsAreGerman()
{
    CNetAddrListImpl addressList;
    QCOMPARE(addressList.windowTitle(), QStringLiteral("Adressliste"));
    QCOMPARE(addressList.chlIPList->headerItem()->text(0), QStringLiteral("IP-Adresse"));
    QCOMPARE(addressList.btnAdd->text(), QStringLiteral("Adresse &hinzufügen"));
    CheckNoEnglish(&addressList);

    CMapDriveDialog mapDrive;
    QCOMPARE(mapDrive.windowTitle(), QStringLiteral("Netzlaufwerk verbinden"));
    QCOMPARE(mapDrive.finishButton()->text(), QStringLiteral("&Fertig stellen"));
    QCOMPARE(mapDrive.cancelButton()->text(), QStringLiteral("Abbrechen"));
    CheckNoEnglish(&mapDrive);
}

int main(int argc, char** argv)
{
    // Read by QLocale::system() when the application object starts; the
    // locale need not be installed on the machine.
    qputenv("LC_ALL", "de_DE.UTF-8");
    qputenv("LANG", "de_DE.UTF-8");
    QApplication app(argc, argv);
    TestTranslation test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_translation.moc"
