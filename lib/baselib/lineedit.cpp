#include "lineedit.h"

#include <QStyle>
#include <QStyleOptionFrame>

namespace {
// The blank QLineEdit keeps on each side of its text (not public in Qt).
constexpr int kTextSideMargin = 2;
} // namespace

CLineEdit::CLineEdit(QWidget* parent, const char* name)
    : QLineEdit(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
}

QString CLineEdit::hintText() const
{
    return placeholderText();
}

void CLineEdit::setHintText(const QString& text)
{
    setPlaceholderText(text);
    // A translated hint can be longer: let the layout ask again.
    updateGeometry();
}

QSize CLineEdit::sizeHint() const
{
    QSize hint = QLineEdit::sizeHint();
    const QString text = placeholderText();
    if (text.isEmpty())
        return hint;
    ensurePolished();
    // The room QLineEdit gives the placeholder, worked out backwards: the
    // text, the glyphs' overhang on the left, the blank on either side, the
    // text and contents margins; the style adds its frame.
    const QFontMetrics metrics = fontMetrics();
    const QMargins textMargins = this->textMargins();
    const QMargins contents = contentsMargins();
    const int width = metrics.horizontalAdvance(text) + 1 + qMax(0, -metrics.minLeftBearing()) + 2 * kTextSideMargin +
                      textMargins.left() + textMargins.right() + contents.left() + contents.right();
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QSize needed = style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(width, hint.height()), this);
    hint.setWidth(qMax(hint.width(), needed.width()));
    return hint;
}
