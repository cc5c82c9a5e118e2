#pragma once
// Shared by the harnesses: a loader may reject bytes with FileError, never crash.
#include "errors.h"
#include <QByteArray>
#include <cstddef>
#include <cstdint>

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
