#include "shell/pictures.h"

namespace fm
{

QImage DirectoryPictures::bitmap(const QString &name) const
{
    return QImage(dir_ + name);
}

std::optional<media::WmfPicture> DirectoryPictures::metafile(const QString &name,
                                                             media::WmfError *error) const
{
    return media::WmfPicture::load(dir_ + name, error);
}

} // namespace fm
