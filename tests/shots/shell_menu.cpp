// The main menu after a real start-up on the build's program files, just
// shown and with the title animation under way.
#include "shell/mainform.h"
#include "shell/startup.h"
#include "shots.h"
#include "support/testshell.h"
#include <QDir>
#include <gtest/gtest.h>

using namespace fm;
using fm::test::TestShell;

TEST(MenuShots, StartUpToTheMenu)
{
    TestShell t;
    QStringList files;
    for (const QFileInfo &f : QDir(QStringLiteral(FUDEMARU_BIN_DIR)).entryInfoList(QDir::Files))
        if (!f.isExecutable())
            files << f.fileName();
    ASSERT_TRUE(files.contains(QStringLiteral("Mondai2.dat")))
        << "the build has not made the program's files";
    ASSERT_TRUE(shots::copyFromBuild(t, files));

    StartupLoader loader;
    auto *menu = new TF_Main(t.services, loader);
    ASSERT_TRUE(menu->FormCreate()) << t.dialogs.texts().join('|').toStdString();
    t.nav.show(menu);
    shots::save(menu, QStringLiteral("menu"));
    for (int i = 0; i < 30; ++i)
        fm::test::tick(menu, "Tim_Ido");
    shots::save(menu, QStringLiteral("menu-title-moving"));
}
