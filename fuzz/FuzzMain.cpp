// The libFuzzer side of a fuzz program: each program links exactly one
// target file, and every input goes to that target.
#include "fuzz/FuzzTarget.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const TFuzzEntry entry = [] {
        if (FuzzTargets().size() != 1) {
            std::fprintf(stderr, "a fuzz program links exactly one target\n");
            std::abort();
        }
        return FuzzTargets().first();
    }();
    entry(QByteArrayView(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    return 0;
}
