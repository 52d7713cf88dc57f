#pragma once

// Development check: reports a broken expectation and carries on.

#include <QtGlobal>

#define DEV_CHECK(cond)                                                                  \
    do {                                                                                 \
        if (!(cond))                                                                     \
            qWarning("ASSERT: \"%s\" in %s (%d)", #cond, __FILE__, __LINE__);           \
    } while (false)
