#include "handwriting/recognizer.h"
#include "data/errors.h"
#include "data/fileio.h"
#include "handwriting/zinniamodel.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPoint>
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
    // zinnia reads the model in place: the bytes live as long as it does.
    ZinniaRecognizer(QByteArray bytes, std::unique_ptr<zinnia::Recognizer> model)
        : bytes_(std::move(bytes)), model_(std::move(model))
    {
    }

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
            if (int(id) == kMaxStrokes)
                break;
            for (const QPoint &p : simplified(stroke))
                character->add(id, p.x(), p.y());
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

    // zinnia's memory grows exponentially with the corners along a stroke
    // (a zigzag of 26 corners takes a gigabyte, of 30 more than the machine
    // has), and a pen held down sends hundreds of points a second. So each
    // stroke goes to zinnia as at most kMaxCorners points: its ends, then
    // again and again the point farthest from the line drawn so far, while
    // that is more than kTolerance units off. A kanji's stroke has a few
    // corners; a scribble comes out as a coarser scribble.
    static QVector<QPoint> simplified(const InkStroke &stroke)
    {
        QVector<QPoint> points;
        const qsizetype step = std::max<qsizetype>(1, stroke.size() / kMaxPointsLooked);
        for (qsizetype i = 0; i < stroke.size(); i += step)
            points.push_back(QPoint(coordinate(stroke[i].x()), coordinate(stroke[i].y())));
        points.push_back(QPoint(coordinate(stroke.last().x()), coordinate(stroke.last().y())));
        QVector<qsizetype> kept{0, points.size() - 1};
        while (kept.size() < kMaxCorners) {
            double farthest = kTolerance;
            qsizetype at = -1, slot = 0;
            for (qsizetype k = 0; k + 1 < kept.size(); ++k)
                for (qsizetype i = kept[k] + 1; i < kept[k + 1]; ++i) {
                    const double d = offLine(points[i], points[kept[k]], points[kept[k + 1]]);
                    if (d > farthest) {
                        farthest = d;
                        at = i;
                        slot = k + 1;
                    }
                }
            if (at < 0)
                break;
            kept.insert(slot, at);
        }
        QVector<QPoint> out;
        for (const qsizetype i : kept)
            if (out.isEmpty() || out.last() != points[i])
                out.push_back(points[i]);
        return out;
    }

    // Distance of p from the segment a..b.
    static double offLine(const QPoint &p, const QPoint &a, const QPoint &b)
    {
        const double dx = b.x() - a.x(), dy = b.y() - a.y();
        const double length2 = dx * dx + dy * dy;
        double t = length2 > 0 ? ((p.x() - a.x()) * dx + (p.y() - a.y()) * dy) / length2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        return std::hypot(p.x() - (a.x() + t * dx), p.y() - (a.y() + t * dy));
    }

    static constexpr int kMaxCorners = 16;
    static constexpr double kTolerance = 2.0;
    static constexpr qsizetype kMaxPointsLooked = 2048;
    // No kanji has more than 30; beyond that the child is scribbling.
    static constexpr int kMaxStrokes = 60;

    QByteArray bytes_;
    std::unique_ptr<zinnia::Recognizer> model_;
};

// The installed model is 26 MB; nothing a model could be is far larger.
constexpr qint64 kMostModelBytes = 256 * 1024 * 1024;

} // namespace

QString findHandwritingModel()
{
    QStringList prefixes;
    // A program installed under its own prefix brings or finds the model there.
    if (QCoreApplication::instance())
        prefixes << QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/.."));
    prefixes << QStringLiteral("/usr/local") << QStringLiteral("/usr");
    for (const QString &prefix : prefixes) {
        const QString path = prefix + u'/' + kModelPath;
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

std::unique_ptr<Recognizer> openZinniaModel(const QString &path, QString *error)
{
    const QString name = QFileInfo(path).fileName();
    const auto fail = [&](const QString &why) {
        if (error)
            *error = name + QStringLiteral(": ") + why;
        return nullptr;
    };
    if (path.isEmpty())
        return fail(QStringLiteral("not installed (tegaki-zinnia-japanese)"));
    std::optional<QByteArray> bytes;
    try {
        bytes = readWholeFileAt(path, name, kMostModelBytes);
    } catch (const FileError &e) {
        return fail(e.detail().isEmpty() ? QStringLiteral("cannot be read") : e.detail());
    }
    if (!bytes)
        return fail(QStringLiteral("not found at %1").arg(path));
    return openZinniaModelBytes(std::move(*bytes), name, error);
}

std::unique_ptr<Recognizer> openZinniaModelBytes(QByteArray bytes, const QString &name, QString *error)
{
    const auto fail = [&](const QString &why) {
        if (error)
            *error = name + QStringLiteral(": ") + why;
        return nullptr;
    };
    // zinnia trusts what follows the header; the whole file is checked first.
    const QString problem = zinniaModelProblem(bytes);
    if (!problem.isEmpty())
        return fail(problem);
    std::unique_ptr<zinnia::Recognizer> model(zinnia::Recognizer::create());
    if (!model)
        return fail(QStringLiteral("the recogniser cannot be created"));
    if (!model->open(bytes.constData(), size_t(bytes.size())))
        return fail(QStringLiteral("cannot be read as a handwriting model (%1)")
                        .arg(QString::fromUtf8(model->what())));
    if (model->size() == 0)
        return fail(QStringLiteral("holds no characters"));
    return std::make_unique<ZinniaRecognizer>(std::move(bytes), std::move(model));
}

} // namespace fm
