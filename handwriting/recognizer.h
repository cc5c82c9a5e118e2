#pragma once
// The handwriting recogniser: zinnia with the handwritten-Japanese model of
// tegaki-zinnia-japanese. Behind an interface so that tests and the ranking
// can do without the 26 MB model.
#include "handwriting/ink.h"
#include <QByteArray>
#include <QString>
#include <memory>

namespace fm
{

struct RecognizerGuess {
    QString glyph; // one character
    double score = 0;
};

class Recognizer
{
  public:
    virtual ~Recognizer() = default;
    // The nbest characters the ink most looks like, best first.
    virtual QVector<RecognizerGuess> classify(const Ink &ink, int nbest) const = 0;
};

// Where the full model is installed (share/tegaki/models/zinnia/handwriting-ja.model
// under the program's own prefix or the system's); empty when none is. The
// program itself reads only its taught kanji's part (HandwritingModelFile);
// the build makes that from this one.
QString findHandwritingModel();

// Reads and opens a zinnia model file; nullptr (and *error set, naming the
// file) when it is missing, cannot be read or is not a whole, well-formed
// model (checked in full before zinnia sees it).
std::unique_ptr<Recognizer> openZinniaModel(const QString &path, QString *error = nullptr);
// The same for a model's bytes; `name` is the file named in *error.
std::unique_ptr<Recognizer> openZinniaModelBytes(QByteArray bytes, const QString &name,
                                                 QString *error = nullptr);

} // namespace fm
