#pragma once
// Where screens get their pictures: the program directory's BMP and WMF
// files in the program, small generated pictures in a test.
#include "media/wmfpicture.h"
#include <QImage>
#include <QString>
#include <optional>

namespace fm
{

class Pictures
{
  public:
    virtual ~Pictures() = default;
    // A bitmap (BMP) by file name; a null image when it is missing or unreadable.
    virtual QImage bitmap(const QString &name) const = 0;
    // A metafile (WMF) by file name; nothing, with the reason in *error, when
    // it is missing or damaged.
    virtual std::optional<media::WmfPicture> metafile(const QString &name,
                                                      media::WmfError *error = nullptr) const = 0;
};

// The pictures of a directory (with trailing '/'), read when asked for.
class DirectoryPictures : public Pictures
{
  public:
    explicit DirectoryPictures(const QString &directory) : dir_(directory) {}
    // The directory may be set after construction (the program learns it at start).
    void setDirectory(const QString &directory) { dir_ = directory; }
    QImage bitmap(const QString &name) const override;
    std::optional<media::WmfPicture> metafile(const QString &name,
                                              media::WmfError *error = nullptr) const override;

  private:
    QString dir_;
};

} // namespace fm
