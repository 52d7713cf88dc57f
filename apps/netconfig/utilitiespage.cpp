#include "utilitiespage.h"

#include "baselib.h"
#include "consoletext.h"
#include "logtextpane.h"
#include "processargs.h"

#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTextStream>

#include <algorithm>
#include <numeric>

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

// Fills the markers one value at a time, each value taking the first
// occurrence of the lowest-numbered marker left in the template. Unlike
// QString::arg, a marker that occurs twice takes two values, and text that
// a value brings in is never searched for markers.
QString FillMarkersInOrder(const QString& pattern, const QStringList& values)
{
    struct Marker
    {
        int number, position, length;
    };
    QList<Marker> markers; // in text order
    for (int i = 0; i + 1 < pattern.size(); ++i) {
        if (pattern.at(i) != QLatin1Char('%') || !pattern.at(i + 1).isDigit())
            continue;
        const int digits = (i + 2 < pattern.size() && pattern.at(i + 2).isDigit()) ? 2 : 1;
        markers.append({pattern.mid(i + 1, digits).toInt(), i, digits + 1});
        i += digits;
    }
    QList<int> filled(markers.size());
    std::iota(filled.begin(), filled.end(), 0);
    std::stable_sort(filled.begin(), filled.end(),
                     [&](int a, int b) { return markers.at(a).number < markers.at(b).number; });
    filled.resize(qMin(filled.size(), values.size())); // filled[k] takes values[k]
    QString result = pattern;
    for (int i = markers.size() - 1; i >= 0; --i) { // from the back: positions stay valid
        const qsizetype k = filled.indexOf(i);
        if (k >= 0)
            result.replace(markers.at(i).position, markers.at(i).length, values.at(k));
    }
    return result;
}

// Output and typed text are shown as text, never as markup; "&" stays as it is.
QString EscapeMarkup(QString text)
{
    text.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    text.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    return text;
}

} // namespace

CUtilitiesPage::CUtilitiesPage(QWidget* parent) : QWidget(parent)
{
    setupUi(this);
    SetUtilityTexts();
    connect(&m_Process, &CProcess::readyReadStdout, this, &CUtilitiesPage::OnReadyStdout);
    connect(&m_Process, &CProcess::readyReadStderr, this, &CUtilitiesPage::OnReadyStderr);
    connect(&m_Process, &CProcess::processExited, this, &CUtilitiesPage::OnUtilityProcessExited);

    m_CodecByCodepage.insert(QStringLiteral("437"), QStringLiteral("ISO8859-1"));
    m_CodecByCodepage.insert(QStringLiteral("850"), QStringLiteral("ISO8859-1"));
    m_CodecByCodepage.insert(QStringLiteral("936"), QStringLiteral("GBK"));
    m_CodecByCodepage.insert(QStringLiteral("950"), QStringLiteral("Big5"));
    m_CodecByCodepage.insert(QStringLiteral("932"), QStringLiteral("Shift-JIS"));
    m_CodecByCodepage.insert(QStringLiteral("949"), QStringLiteral("eucKR"));
    m_CodecByCodepage.insert(QStringLiteral("852"), QStringLiteral("ISO8859-2"));
    m_CodecByCodepage.insert(QStringLiteral("737"), QStringLiteral("ISO8859-7"));
    m_CodecByCodepage.insert(QStringLiteral("866"), QStringLiteral("IBM 866"));
    ReadConsoleCodepage();
    m_Process.setCommunication(CProcess::Stdin | CProcess::Stdout | CProcess::Stderr);
}

// The utility list is rebuilt so that it always starts at "Ping".
void CUtilitiesPage::SetUtilityTexts()
{
    comboUtility->clear();
    comboUtility->addItem(tr("Ping"));
    comboUtility->addItem(tr("Trace route"));
    comboUtility->setCurrentIndex(0);
    editUtilityOutput->clear();
}

void CUtilitiesPage::ReadConsoleCodepage()
{
    m_ConsoleCodepage.clear();
    // Cleaned so that the file is found even when the layouts folder itself
    // does not exist (a path through it would not resolve).
    QFile file(QDir::cleanPath(GetAppSubDirectory(4) + QDir::separator() + QStringLiteral("..") + QDir::separator() +
                               QStringLiteral("layout.ini")));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QTextStream stream(&file);
    while (!stream.atEnd()) {
        const QString line = stream.readLine();
        if (!line.startsWith(QLatin1String("Codepage")))
            continue;
        const QStringList parts = line.split(QStringLiteral(" = "), Qt::SkipEmptyParts);
        if (parts.size() >= 2) {
            m_ConsoleCodepage = parts.at(1);
            break;
        }
    }
    if (m_ConsoleCodepage.isEmpty())
        m_ConsoleCodepage = QStringLiteral("850");
}

QStringList CUtilitiesPage::BuildUtilityArguments() const
{
    QStringList arguments;
    if (comboUtility->currentIndex() == 1) {
        arguments << QStringLiteral("tracert");
        if (btnDontResolveAddress->isChecked())
            arguments << QStringLiteral("-d");
        if (btnTraceHops->isChecked())
            arguments << QStringLiteral("-h ") + QString::number(spinTraceHopsNum->value());
        if (btnReplyWait->isChecked())
            arguments << QStringLiteral("-w ") + QString::number(spinReplyWaitTime->value());
    } else {
        arguments << QStringLiteral("ping");
        if (btnEndlessPing->isChecked())
            arguments << QStringLiteral("-t");
        if (btnResolveAddress->isChecked())
            arguments << QStringLiteral("-a");
        if (btnPingEchoRqv->isChecked())
            arguments << QStringLiteral("-n ") + QString::number(spinPingEchoRqvNum->value());
    }
    arguments << editUtilityTarget->text();
    return arguments;
}

void CUtilitiesPage::OnChangeUtilityTarget(const QString& text)
{
    btnStartUtility->setEnabled(!text.isEmpty());
}

void CUtilitiesPage::OnStartUtility()
{
    if (m_Process.isRunning()) {
        // Back to idle happens when the process reports its exit.
        m_Process.kill();
        return;
    }
    const QStringList arguments = BuildUtilityArguments();
    // The process splits each element into words; quoting keeps a typed
    // "-n 1 x" one target instead of switches the utility would obey.
    QStringList quoted = arguments;
    quoted.last() = baselib::QuoteArgument(quoted.last());
    m_Process.setArguments(quoted);
    const QString commandLine = EscapeMarkup(arguments.join(QLatin1Char(' ')));
    if (!editUtilityOutput->document()->isEmpty())
        AppendOutput(kLineBreak);
    if (m_Process.start(nullptr)) {
        AppendOutput(tr("<font color=\"darkgreen\">Running %1.</font>%2").arg(commandLine, kLineBreak));
        SetRunning(true);
    } else {
        AppendOutput(tr("<font color=\"red\">Could not start network utility: failed to run %1.</font>%2")
                         .arg(commandLine, kLineBreak));
    }
}

void CUtilitiesPage::SetRunning(bool running)
{
    btnStartUtility->setText(running ? tr("&Stop") : tr("&Start"));
    comboUtility->setEnabled(!running);
    editUtilityTarget->setEnabled(!running);
    wsUtilityParams->setEnabled(!running);
}

void CUtilitiesPage::OnUtilityProcessExited()
{
    const QString commandLine = EscapeMarkup(BuildUtilityArguments().join(QLatin1Char(' ')));
    AppendOutput(
        FillMarkersInOrder(tr("<font color=\"darkgreen\">%1%2 done.</font>%2"), {kLineBreak, commandLine, kLineBreak}));
    SetRunning(false);
}

void CUtilitiesPage::OnReadyStdout()
{
    ReadChannel(false);
}

void CUtilitiesPage::OnReadyStderr()
{
    ReadChannel(true);
}

void CUtilitiesPage::ReadChannel(bool standardError)
{
    QString codecName = m_CodecByCodepage.value(m_ConsoleCodepage);
    if (codecName.isEmpty())
        codecName = QStringLiteral("ISO8859-1");
    const unsigned codePage = CodePageOfCodec(codecName);
    if (codePage == 0)
        return;
    QByteArray bytes = standardError ? m_Process.readStderr() : m_Process.readStdout();
    // Console output is read as a zero-terminated string.
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    QString text = EscapeMarkup(DecodeCodePage(bytes, codePage));
    if (text.isEmpty())
        return;
    if (standardError)
        text = QStringLiteral("<font color=\"red\">") + text + QStringLiteral("</font>");
    AppendOutput(text);
}

void CUtilitiesPage::OnClearUtilityOutput()
{
    ClearLogPane(editUtilityOutput);
}

void CUtilitiesPage::OnOutputTextChanged()
{
    // isEmpty() is constant time; the pane may hold a day of ping output.
    btnClearOutput->setEnabled(!editUtilityOutput->document()->isEmpty());
}

void CUtilitiesPage::AppendOutput(const QString& html)
{
    // The form knows nothing of log panes; set the pane up before first use.
    PrepareLogPane(editUtilityOutput, m_ScrollbackLines);
    AppendLogText(editUtilityOutput, html);
    QScrollBar* bar = editUtilityOutput->verticalScrollBar();
    bar->setValue(bar->maximum());
}
