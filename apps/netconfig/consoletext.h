#pragma once

#include <QByteArray>
#include <QString>

// The Windows code page behind a text codec name of the utilities page
// ("ISO8859-1" is 28591); 0 for a name the page does not use.
unsigned CodePageOfCodec(const QString& codecName);

// Console output decoded by the system's MultiByteToWideChar in codePage;
// empty when the system has no such code page.
QString DecodeCodePage(const QByteArray& bytes, unsigned codePage);
