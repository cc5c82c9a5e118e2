#pragma once
#include <QGuiApplication>
#include <QString>

// One offscreen application for the whole test binary: painting text and the
// multimedia device list need it.
inline void ensureApp()
{
    static int argc = 1;
    static char name[] = "media_tests";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}

inline QString binFile(const QString &name)
{
    return QStringLiteral(FUDEMARU_BIN_DIR "/") + name;
}
