#pragma once

#include <QLoggingCategory>

#include <cstdio>
#include <cstdlib>

// A broken invariant aborts, naming itself, so that libFuzzer keeps the input as a crash.
#define FUZZ_REQUIRE(condition)                                                                              \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition);           \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)

// Every refused input is logged by the product: thousands a second would bury libFuzzer's output.
inline void silenceProductLogs()
{
    QLoggingCategory::setFilterRules(QStringLiteral("com.morvenda.Journey*=false"));
}
