#include "logtextpane.h"

#include <QColor>
#include <QFontDatabase>
#include <QFontInfo>
#include <QList>
#include <QRegularExpression>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

#include <winsys.h>

namespace {

// Longest tag worth looking for; a lone "<" must not make the scan quadratic.
constexpr int kMaxTagLength = 256;

struct Entity
{
    QLatin1String name;
    QChar value;
};

const Entity kEntities[] = {
    {QLatin1String("&lt;"), QLatin1Char('<')},
    {QLatin1String("&gt;"), QLatin1Char('>')},
    {QLatin1String("&amp;"), QLatin1Char('&')},
};

QColor FontTagColor(const QString& tagBody)
{
    static const QRegularExpression colorAttribute(
        QStringLiteral("\\bcolor\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s\"']+))"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = colorAttribute.match(tagBody);
    if (!match.hasMatch())
        return QColor();
    for (int group = 1; group <= 3; ++group) {
        if (match.capturedLength(group) > 0)
            return QColor(match.captured(group));
    }
    return QColor();
}

// Converts a fragment into runs of plain text, each inserted with its format.
class LogTextInserter
{
public:
    explicit LogTextInserter(QTextCursor& cursor) : m_Cursor(cursor) {}

    void Insert(const QString& text)
    {
        const int length = text.size();
        for (int i = 0; i < length;) {
            const QChar c = text.at(i);
            if (c == QLatin1Char('<')) {
                const int consumed = ConsumeTag(text, i);
                if (consumed > 0) {
                    i += consumed;
                    continue;
                }
            } else if (c == QLatin1Char('&')) {
                const int consumed = ConsumeEntity(text, i);
                if (consumed > 0) {
                    i += consumed;
                    continue;
                }
            } else if (c == QLatin1Char('\r')) {
                // "\r\n" is one line break; a lone carriage return shows nothing.
                ++i;
                continue;
            }
            m_Run.append(c);
            ++i;
        }
        Flush();
    }

private:
    QTextCharFormat CurrentFormat() const { return m_Formats.isEmpty() ? QTextCharFormat() : m_Formats.last(); }

    void Flush()
    {
        if (m_Run.isEmpty())
            return;
        // An explicit format, so nothing leaks from the text before the end.
        m_Cursor.insertText(m_Run, CurrentFormat());
        m_Run.clear();
    }

    int ConsumeTag(const QString& text, int start)
    {
        const int close = text.indexOf(QLatin1Char('>'), start + 1);
        if (close < 0 || close - start > kMaxTagLength)
            return 0;
        const QString body = text.mid(start + 1, close - start - 1).trimmed();
        if (body.compare(QLatin1String("/font"), Qt::CaseInsensitive) == 0) {
            Flush();
            if (!m_Formats.isEmpty())
                m_Formats.removeLast();
            return close - start + 1;
        }
        const bool isFont =
            body.startsWith(QLatin1String("font"), Qt::CaseInsensitive) && (body.size() == 4 || body.at(4).isSpace());
        if (!isFont)
            return 0;
        Flush();
        QTextCharFormat format = CurrentFormat();
        const QColor color = FontTagColor(body);
        if (color.isValid())
            format.setForeground(color);
        m_Formats.append(format);
        return close - start + 1;
    }

    int ConsumeEntity(const QString& text, int start)
    {
        const QStringView rest = QStringView(text).mid(start);
        for (const Entity& entity : kEntities) {
            if (rest.startsWith(entity.name)) {
                m_Run.append(entity.value);
                return entity.name.size();
            }
        }
        return 0;
    }

    QTextCursor& m_Cursor;
    QString m_Run;
    QList<QTextCharFormat> m_Formats;
};

QFont FixedPitchFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (QFontInfo(font).fixedPitch())
        return font;
    // Without a font configuration (offscreen, bare systems) the answer can
    // be a proportional font: take the first fixed-pitch family there is.
    const QStringList families = QFontDatabase::families();
    for (const QString& family : families) {
        if (QFontDatabase::isFixedPitch(family)) {
            font.setFamily(family);
            break;
        }
    }
    return font;
}

} // namespace

void PrepareLogPane(QTextEdit* pane, int maxLines)
{
    // Output ends in a line break, after which the document holds one more,
    // empty block: maxLines whole lines are maxLines + 1 blocks.
    const int blocks = (maxLines < 1 ? kDefaultLogPaneLines : maxLines) + 1;
    if (pane->document()->maximumBlockCount() != blocks)
        pane->document()->setMaximumBlockCount(blocks);
    static const char kPrepared[] = "netconfigLogPane";
    if (pane->property(kPrepared).toBool())
        return;
    pane->setProperty(kPrepared, true);
    pane->setLineWrapMode(QTextEdit::NoWrap);
    pane->setUndoRedoEnabled(false);
    pane->setFont(FixedPitchFont());
}

void AppendLogText(QTextEdit* pane, const QString& logText)
{
    QTextCursor cursor(pane->document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    LogTextInserter(cursor).Insert(logText);
    cursor.endEditBlock();
}

void ClearLogPane(QTextEdit* pane)
{
    pane->clear();
    // The text's memory is free now, but the allocator would keep it for the
    // process; a cleared pane should show in the system's figures.
    HeapCompact(GetProcessHeap(), 0);
}
