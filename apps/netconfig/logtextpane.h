#pragma once

// The utility output pane. Its text behaves as a rich-text log whose whole
// text is replaced by the old text followed by each addition, yet an append
// costs in proportion to the addition only: the fragment is converted and
// inserted at the end, so an endless ping never slows the dialog down.
//
// The fragment markup is the little the pane ever receives:
// <font color="..."> ... </font>, the entities &lt; &gt; &amp;, and "\r\n"
// or "\n" as line breaks. Anything else is shown literally.

class QString;
class QTextEdit;

// No wrapping, fixed-pitch font, no undo history (it would grow forever).
// Cheap after the first call on a pane.
void PrepareLogPane(QTextEdit* pane);
// Appends one log-text fragment at the end of the pane.
void AppendLogText(QTextEdit* pane, const QString& logText);
