// The screenshot tool: every screen the picture scripts of this folder
// reach, drawn with the build's real data and pictures and saved as PNG
// files in the folder named on the command line:
//   build/tests/fudemaru-shots <folder> [--gtest_filter=MoleShots*]
// It runs on Qt's offscreen platform unless QT_QPA_PLATFORM names another;
// with QT_SCALE_FACTOR=2.25 it shows the screens as a 1920 x 1080 display
// does (the names then end in -x2.25).
#include "shots.h"
#include <QDir>
#include <cstdio>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fudemaru-shots <folder> [--gtest_filter=...]\n");
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "fudemaru-shots: cannot make the folder %s\n", argv[1]);
        return 1;
    }
    shots::setFolder(folder);
    return RUN_ALL_TESTS();
}
