#pragma once

// The utility output pane. Its text behaves as a rich-text log whose whole
// text is replaced by the old text followed by each addition, yet an append
// costs in proportion to the addition only: the fragment is converted and
// inserted at the end, so an endless ping never slows the dialog down.
//
// The fragment markup is the little the pane ever receives:
// <font color="..."> ... </font>, the entities &lt; &gt; &amp;, and "\r\n"
// or "\n" as line breaks. Anything else is shown literally.

//
// The pane keeps a scrollback of whole lines: once it holds more, the oldest
// lines go, so an endless ping costs neither memory nor time without bound.

class QString;
class QTextEdit;

// Lines the pane keeps when its caller names no other limit.
constexpr int kDefaultLogPaneLines = 10000;

// No wrapping, fixed-pitch font, no undo history (it would grow forever),
// and at most maxLines lines (below 1: the default). Cheap after the first
// call on a pane; a later call with another limit applies it at once.
void PrepareLogPane(QTextEdit* pane, int maxLines = kDefaultLogPaneLines);
// Appends one log-text fragment at the end of the pane.
void AppendLogText(QTextEdit* pane, const QString& logText);
// Empties the pane and gives back the memory its text held.
void ClearLogPane(QTextEdit* pane);
