#pragma once

// The program's own diagnostics, and the development check that reports a
// broken expectation and carries on.

#include <QLoggingCategory>

// Everything netconfig itself writes through Qt's message output: a console
// run lets these through and nothing of Qt's own.
Q_DECLARE_LOGGING_CATEGORY(lcNetconfig)

#define DEV_CHECK(cond)                                                                  \
    do {                                                                                 \
        if (!(cond))                                                                     \
            qCWarning(lcNetconfig, "ASSERT: \"%s\" in %s (%d)", #cond, __FILE__, __LINE__); \
    } while (false)
