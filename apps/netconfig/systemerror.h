#pragma once

#include <QString>

// The system's own text for an error number, as the error box shows it.
// For ERROR_EXTENDED_ERROR the network provider's description is taken, and
// *number becomes the provider's code. Empty when the system has no text.
QString SystemErrorText(unsigned long* number);
