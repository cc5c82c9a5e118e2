#include "data/errors.h"
#include <cerrno>

namespace fm
{

QString fileErrorMessage(const QString &fileName)
{
    return fileName + QStringLiteral("でエラーがおこりました。 ");
}

FileError::FileError(QString fileName, QString detail)
    : FileError(fileName, detail, fileErrorMessage(fileName))
{
}

FileError::FileError(QString fileName, QString detail, QString message)
    : std::runtime_error(
          (message + (detail.isEmpty() ? QString() : QStringLiteral(" (") + detail + u')')).toStdString()),
      fileName_(std::move(fileName)), detail_(std::move(detail)), message_(std::move(message))
{
}

FileError FileError::notFound(const QString &fileName)
{
    return FileError(fileName, QStringLiteral("not found"), fileName + QStringLiteral(" not found"));
}

FileError FileError::changedElsewhere(const QString &fileName, const QString &detail)
{
    return FileError(fileName, detail,
                     fileName +
                         QStringLiteral("は ほかの ふでまるが かきかえていたので、ほぞんしませんでした。 "));
}

FileError FileError::diskFull(const QString &fileName, const QString &detail)
{
    return FileError(fileName, detail, fileErrorMessage(fileName) + QString::fromUtf8(DiskFullSentence));
}

bool isDiskFull(int error)
{
    return error == ENOSPC || error == EDQUOT;
}

} // namespace fm
