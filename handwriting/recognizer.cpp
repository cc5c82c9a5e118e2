#include "handwriting/recognizer.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <zinnia.h>

namespace fm
{

namespace
{

const QString kModelPath = QStringLiteral("share/tegaki/models/zinnia/handwriting-ja.model");

class ZinniaRecognizer : public Recognizer
{
  public:
    explicit ZinniaRecognizer(std::unique_ptr<zinnia::Recognizer> model) : model_(std::move(model)) {}

    QVector<RecognizerGuess> classify(const Ink &ink, int nbest) const override
    {
        QVector<RecognizerGuess> out;
        if (nbest < 1)
            return out;
        const std::unique_ptr<zinnia::Character> character(zinnia::Character::create());
        character->set_width(InkSide);
        character->set_height(InkSide);
        size_t id = 0;
        for (const InkStroke &stroke : ink) {
            if (stroke.isEmpty())
                continue;
            for (const QPointF &p : stroke)
                character->add(id, coordinate(p.x()), coordinate(p.y()));
            ++id;
        }
        if (id == 0)
            return out;
        const std::unique_ptr<zinnia::Result> result(model_->classify(*character, size_t(nbest)));
        if (!result)
            return out;
        out.reserve(int(result->size()));
        for (size_t i = 0; i < result->size(); ++i)
            out.push_back({QString::fromUtf8(result->value(i)), double(result->score(i))});
        return out;
    }

  private:
    static int coordinate(double v) { return int(std::clamp<long>(std::lround(v), 0, InkSide - 1)); }

    std::unique_ptr<zinnia::Recognizer> model_;
};

} // namespace

QString findHandwritingModel()
{
    QStringList prefixes;
    // A program installed under its own prefix brings or finds the model there.
    if (QCoreApplication::instance())
        prefixes << QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/.."));
    prefixes << QStringLiteral("/usr/local") << QStringLiteral("/usr");
    for (const QString &prefix : prefixes) {
        const QString path = prefix + '/' + kModelPath;
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

std::unique_ptr<Recognizer> openZinniaModel(const QString &path, QString *error)
{
    const auto fail = [&](const QString &why) {
        if (error)
            *error = QFileInfo(path).fileName() + QStringLiteral(": ") + why;
        return nullptr;
    };
    if (path.isEmpty())
        return fail(QStringLiteral("not installed (tegaki-zinnia-japanese)"));
    const QFileInfo info(path);
    if (!info.exists())
        return fail(QStringLiteral("not found at %1").arg(path));
    // zinnia maps the file into memory: only a regular file, never a FIFO or device.
    if (!info.isFile())
        return fail(QStringLiteral("%1 is not a regular file").arg(path));
    std::unique_ptr<zinnia::Recognizer> model(zinnia::Recognizer::create());
    if (!model)
        return fail(QStringLiteral("the recogniser cannot be created"));
    if (!model->open(QFile::encodeName(path).constData()))
        return fail(QStringLiteral("cannot be read as a handwriting model (%1)")
                        .arg(QString::fromUtf8(model->what())));
    if (model->size() == 0)
        return fail(QStringLiteral("holds no characters"));
    return std::make_unique<ZinniaRecognizer>(std::move(model));
}

} // namespace fm
