#include "handwriting/handwriting.h"
#include "data/errors.h"
#include "data/fileio.h"
#include "handwriting/zinniamodel.h"
#include <QFileInfo>
#include <QMetaObject>
#include <algorithm>
#include <mutex>
#include <optional>
#include <thread>

namespace fm
{

// Everything the opening thread touches is behind the mutex; the status
// the screens see changes only on the object's own thread, when the queued
// finishOpening() runs (or in waitOpened()).
struct ZinniaHandwriting::Impl {
    const Catalogue &catalogue;
    QString programDir;

    mutable std::mutex mutex;
    bool checked = false; // the files looked at (on the first question asked)
    Status status = Status::Closed;
    QString problem;
    std::thread opener;
    // Filled by the opening thread, taken over by finishOpening().
    bool opened = false;
    std::unique_ptr<Recognizer> pendingRecognizer;
    std::optional<ReferenceStrokes> pendingReference;
    QString pendingProblem;

    std::unique_ptr<Recognizer> recognizer;
    std::optional<ReferenceStrokes> strokes;
    bool strokesUnreadable = false;

    Impl(const Catalogue &c, QString dir) : catalogue(c), programDir(std::move(dir)) {}

    // Called with the mutex held.
    void checkOnce()
    {
        if (checked)
            return;
        checked = true;
        const QStringList problems = handwritingFilesProblems(programDir, catalogue);
        if (!problems.isEmpty()) {
            problem = problems.first();
            status = Status::Unavailable;
        }
    }
};

namespace
{

QString describe(const FileError &e)
{
    return e.fileName() + QStringLiteral(": ") +
           (e.detail().isEmpty() ? QStringLiteral("cannot be read") : e.detail());
}

} // namespace

QStringList handwritingFilesProblems(const QString &programDir, const Catalogue &catalogue)
{
    QStringList problems;
    try {
        const ReferenceStrokes strokes = ReferenceStrokes::load(programDir);
        requireStrokesOfEveryKanji(strokes, catalogue);
    } catch (const FileError &e) {
        problems << describe(e);
    }
    try {
        const std::optional<QByteArray> model =
            readWholeFile(programDir, HandwritingModelFile, HandwritingModelMaxBytes);
        const QString problem = model ? zinniaModelProblem(*model) : QStringLiteral("not found");
        if (!problem.isEmpty())
            problems << HandwritingModelFile + QStringLiteral(": ") + problem;
    } catch (const FileError &e) {
        problems << describe(e);
    }
    return problems;
}

ZinniaHandwriting::ZinniaHandwriting(const Catalogue &catalogue, QString programDir)
    : d(std::make_unique<Impl>(catalogue, std::move(programDir)))
{
}

ZinniaHandwriting::~ZinniaHandwriting()
{
    // Opening takes a fraction of a second; waiting for it is safer than
    // leaving a thread that would post to an object no longer there.
    if (d->opener.joinable())
        d->opener.join();
}

Handwriting::Status ZinniaHandwriting::status() const
{
    std::lock_guard lock(d->mutex);
    d->checkOnce();
    return d->status;
}

QString ZinniaHandwriting::problem() const
{
    std::lock_guard lock(d->mutex);
    d->checkOnce();
    return d->problem;
}

void ZinniaHandwriting::open()
{
    {
        std::lock_guard lock(d->mutex);
        d->checkOnce();
        if (d->status != Status::Closed)
            return;
        d->status = Status::Opening;
    }
    d->opener = std::thread([this] {
        QString problem;
        std::unique_ptr<Recognizer> recognizer =
            openZinniaModel(programFile(d->programDir, HandwritingModelFile), &problem);
        std::optional<ReferenceStrokes> reference;
        if (recognizer) {
            try {
                reference = ReferenceStrokes::load(d->programDir);
                requireStrokesOfEveryKanji(*reference, d->catalogue);
            } catch (const FileError &e) {
                problem = describe(e);
                recognizer.reset();
            }
        }
        {
            std::lock_guard lock(d->mutex);
            d->pendingRecognizer = std::move(recognizer);
            d->pendingReference = std::move(reference);
            d->pendingProblem = problem;
            d->opened = true;
        }
        // The object outlives this thread (its destructor joins it), so the
        // call is delivered, or dropped with the object's pending events.
        QMetaObject::invokeMethod(
            this, [this] { finishOpening(); }, Qt::QueuedConnection);
    });
}

void ZinniaHandwriting::finishOpening()
{
    {
        std::lock_guard lock(d->mutex);
        if (!d->opened || d->status != Status::Opening)
            return;
        if (d->pendingRecognizer) {
            d->recognizer = std::move(d->pendingRecognizer);
            d->strokes = std::move(d->pendingReference);
            d->strokesUnreadable = false;
            d->status = Status::Ready;
        } else {
            d->problem = d->pendingProblem;
            d->status = Status::Failed;
        }
    }
    emit statusChanged();
}

void ZinniaHandwriting::waitOpened()
{
    if (d->opener.joinable() && d->opener.get_id() != std::this_thread::get_id())
        d->opener.join();
    finishOpening();
}

QVector<int> ZinniaHandwriting::candidates(const Ink &ink, int reachedLevel)
{
    const Recognizer *recognizer = nullptr;
    const ReferenceStrokes *strokes = nullptr;
    {
        // Both stay as they are once Ready.
        std::lock_guard lock(d->mutex);
        if (d->status != Status::Ready || !d->strokes)
            return {};
        recognizer = d->recognizer.get();
        strokes = &*d->strokes;
    }
    return candidatesFor(*recognizer, ink, d->catalogue, *strokes, reachedLevel);
}

ReferenceStrokeList ZinniaHandwriting::reference(int kanjiNumber)
{
    {
        std::lock_guard lock(d->mutex);
        if (d->strokes)
            return d->strokes->of(kanjiNumber);
        if (d->strokesUnreadable)
            return {};
    }
    // The stroke-order picture needs the strokes even where the model is
    // missing or not yet opened; the file is small, read here at once.
    std::optional<ReferenceStrokes> loaded;
    try {
        loaded = ReferenceStrokes::load(d->programDir);
        requireStrokesOfEveryKanji(*loaded, d->catalogue);
    } catch (const FileError &) {
        loaded.reset();
    }
    std::lock_guard lock(d->mutex);
    if (!d->strokes) {
        if (loaded)
            d->strokes = std::move(loaded);
        else
            d->strokesUnreadable = true;
    }
    return d->strokes ? d->strokes->of(kanjiNumber) : ReferenceStrokeList{};
}

} // namespace fm
