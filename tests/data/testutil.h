#pragma once
#include "data/cp932.h"
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A fresh program directory per test.
class DataDirTest : public ::testing::Test
{
  protected:
    QTemporaryDir tmp;
    QString dir() const { return tmp.path(); }
    QString path(const QString &name) const { return QDir(tmp.path()).filePath(name); }
    void write(const QString &name, const QByteArray &bytes)
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const QString &name) const
    {
        QFile f(path(name));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return f.readAll();
    }
};

inline QByteArray sj(const char *utf8)
{
    return fm::cp932::fromUnicode(QString::fromUtf8(utf8));
}
