// The network utilities page: ping and trace route as child processes whose
// output is decoded in the console code page and shown as it arrives.
#include "netconfigimpl.h"

#include "baselib.h"
#include "logtextpane.h"

#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTextStream>
#include <QtCore5Compat/QTextCodec>

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

} // namespace

void CNetConfigImpl::ReadConsoleCodepage()
{
    consoleCodepage.clear();
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
            consoleCodepage = parts.at(1);
            break;
        }
    }
    if (consoleCodepage.isEmpty())
        consoleCodepage = QStringLiteral("850");
    file.close();
}

QStringList CNetConfigImpl::BuildUtilityArguments()
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

void CNetConfigImpl::OnChangeUtility(int)
{
    // The form's own connection raises the option page.
}

void CNetConfigImpl::OnChangeUtilityTarget(const QString& text)
{
    btnStartUtility->setEnabled(!text.isEmpty());
}

void CNetConfigImpl::OnStartUtility()
{
    if (utilityProcess.isRunning()) {
        // Back to idle happens when the process reports its exit.
        utilityProcess.kill();
        return;
    }
    const QStringList arguments = BuildUtilityArguments();
    utilityProcess.setArguments(arguments);
    const QString commandLine = arguments.join(QLatin1Char(' '));
    if (!editUtilityOutput->document()->isEmpty())
        AppendUtilityOutput(kLineBreak);
    if (utilityProcess.start(nullptr)) {
        AppendUtilityOutput(tr("<font color=\"darkgreen\">Running %1.</font>%2").arg(commandLine, kLineBreak));
        btnStartUtility->setText(tr("&Stop"));
        comboUtility->setEnabled(false);
        editUtilityTarget->setEnabled(false);
        wsUtilityParams->setEnabled(false);
    } else {
        AppendUtilityOutput(tr("<font color=\"red\">Could not start network utility: failed to run %1.</font>%2")
                                .arg(commandLine, kLineBreak));
    }
}

void CNetConfigImpl::OnUtilityProcessExited()
{
    const QString commandLine = BuildUtilityArguments().join(QLatin1Char(' '));
    AppendUtilityOutput(
        FillMarkersInOrder(tr("<font color=\"darkgreen\">%1%2 done.</font>%2"), {kLineBreak, commandLine, kLineBreak}));
    btnStartUtility->setText(tr("&Start"));
    comboUtility->setEnabled(true);
    editUtilityTarget->setEnabled(true);
    wsUtilityParams->setEnabled(true);
}

void CNetConfigImpl::OnReadyStderr()
{
    ReadUtilityChannel(true);
}

void CNetConfigImpl::OnReadyStdout()
{
    ReadUtilityChannel(false);
}

void CNetConfigImpl::ReadUtilityChannel(bool standardError)
{
    QString codecName = codecByCodepage.value(consoleCodepage);
    if (codecName.isEmpty())
        codecName = QStringLiteral("ISO8859-1");
    QTextCodec* codec = QTextCodec::codecForName(codecName.toLatin1());
    if (!codec)
        return;
    QByteArray bytes = standardError ? utilityProcess.readStderr() : utilityProcess.readStdout();
    // Console output is read as a zero-terminated string.
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    QString text = codec->toUnicode(bytes);
    text.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    text.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    if (text.isEmpty())
        return;
    if (standardError)
        text = QStringLiteral("<font color=\"red\">") + text + QStringLiteral("</font>");
    AppendUtilityOutput(text);
}

void CNetConfigImpl::OnClearUtilityOutput()
{
    editUtilityOutput->clear();
}

void CNetConfigImpl::OnOutputTextChanged()
{
    // isEmpty() is constant time; the pane may hold a day of ping output.
    btnClearOutput->setEnabled(!editUtilityOutput->document()->isEmpty());
}

void CNetConfigImpl::AppendUtilityOutput(const QString& html)
{
    // The form knows nothing of log panes; set the pane up before first use.
    PrepareLogPane(editUtilityOutput);
    AppendLogText(editUtilityOutput, html);
    QScrollBar* bar = editUtilityOutput->verticalScrollBar();
    bar->setValue(bar->maximum());
}
