#pragma once
// Shared by the harnesses: a loader may reject bytes with FileError, never crash.
#include "data/errors.h"
#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <vector>

inline QByteArray fuzzBytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

template <typename F> void survive(F &&f)
{
    try {
        f();
    } catch (const fm::FileError &) {
    }
}

// Valid inputs of the harness: the seed corpus of the libFuzzer binary, and
// what the deterministic driver damages. A harness may define it.
std::vector<QByteArray> fuzzSeeds();
