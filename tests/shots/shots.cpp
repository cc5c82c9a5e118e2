#include "shots.h"
#include "shell/kit.h"
#include "shell/startup.h"
#include "support/testshell.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QWidget>
#include <gtest/gtest.h>

namespace shots
{

namespace
{

QString theFolder;

QString path(const QString &name, qreal ratio)
{
    const QString scale = ratio != 1.0 ? QStringLiteral("-x%1").arg(ratio) : QString();
    return QDir(theFolder).filePath(name + scale + QStringLiteral(".png"));
}

} // namespace

QString folder()
{
    return theFolder;
}

void setFolder(const QString &path)
{
    theFolder = path;
}

bool save(const QImage &image, const QString &name)
{
    const QString file = path(name, image.devicePixelRatio());
    const bool ok = !image.isNull() && image.save(file);
    EXPECT_TRUE(ok) << "cannot write " << file.toStdString();
    return ok;
}

bool save(QWidget *w, const QString &name)
{
    QCoreApplication::processEvents();
    return save(w->grab().toImage(), name);
}

bool copyFromBuild(fm::test::TestShell &t, const QStringList &names)
{
    for (const QString &name : names) {
        const QString from = QStringLiteral(FUDEMARU_BIN_DIR "/") + name;
        QFile::remove(t.file(name));
        if (!QFile::exists(from) || !QFile::copy(from, t.file(name)))
            return false;
    }
    return true;
}

void loadHeaderIcons(fm::test::TestShell &t)
{
    if (!copyFromBuild(t, {QStringLiteral("ButtonX.bmp")}))
        return;
    fm::StartupLoader loader;
    const QImage strip = loader.loadButtonStrip(t.state.ProgramDir);
    for (int i = 0; i < 8; ++i)
        t.shell.ImgLst_Header[size_t(i)] = fm::whiteTransparent(strip.copy(48 * i, 0, 48, 48));
}

} // namespace shots
