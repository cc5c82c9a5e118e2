#pragma once
// The handwriting service the screens use: whether the writing square can be
// offered, the recogniser opened off the event loop on first use, the
// candidates for the ink drawn so far, and the reference strokes.
#include "handwriting/ranking.h"
#include "handwriting/reference.h"
#include <QObject>
#include <memory>

namespace fm
{

struct Catalogue;

class Handwriting : public QObject
{
    Q_OBJECT
  public:
    enum class Status {
        Unavailable, // a file it needs is missing or damaged: the square is not offered
        Closed,      // not opened yet
        Opening,     // the model is being opened in the background
        Ready,
        Failed // the model or the reference file failed to open after all
    };

    virtual Status status() const = 0;
    // Whether the square may be offered at all (files present, not failed).
    bool offered() const { return status() != Status::Unavailable && status() != Status::Failed; }
    // Starts opening the model and the reference strokes when not yet done;
    // returns at once. statusChanged() follows on the event loop.
    virtual void open() = 0;
    // The candidates for the ink (kanji numbers, best first); empty unless Ready.
    virtual QVector<int> candidates(const Ink &ink, int reachedLevel) = 0;
    // The reference strokes of kanji n; empty when unknown or the file is unreadable.
    virtual ReferenceStrokeList reference(int kanjiNumber) = 0;
    // Why the square is not offered, naming the file (for messages and the data tool).
    virtual QString problem() const = 0;

  signals:
    void statusChanged();
};

// Why the writing square cannot be offered with the files of this program
// directory (Kakijun1.dat, the taught kanji's model), one line per file
// naming it and what is wrong with it (missing, unreadable and why, or
// damaged and where); empty when both are whole and fit the catalogue. The
// service and the data tool ask this same question, so they agree.
QStringList handwritingFilesProblems(const QString &programDir, const Catalogue &catalogue);

// The real service: Tegaki1.model and Kakijun1.dat of the program directory.
// Both are checked in full when first asked about (about a millisecond; not
// on the way to the menu): a damaged file means the square is never offered.
class ZinniaHandwriting : public Handwriting
{
    Q_OBJECT
  public:
    ZinniaHandwriting(const Catalogue &catalogue, QString programDir);
    ~ZinniaHandwriting() override;

    Status status() const override;
    void open() override;
    QVector<int> candidates(const Ink &ink, int reachedLevel) override;
    ReferenceStrokeList reference(int kanjiNumber) override;
    QString problem() const override;
    // Blocks until a started open() has finished (the data tool and tests).
    void waitOpened();

  private:
    // Takes over what the opening thread found; runs on the object's thread.
    void finishOpening();

    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace fm
