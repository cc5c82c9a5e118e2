#pragma once
// The handwriting recogniser: zinnia with the handwritten-Japanese model of
// tegaki-zinnia-japanese. Behind an interface so that tests and the ranking
// can do without the 26 MB model.
#include "handwriting/ink.h"
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

// Where the model is installed (share/tegaki/models/zinnia/handwriting-ja.model
// under the program's own prefix or the system's); empty when none is.
QString findHandwritingModel();

// Opens a zinnia model; nullptr (and *error set) when the file is missing or
// is not a model zinnia can read.
std::unique_ptr<Recognizer> openZinniaModel(const QString &path, QString *error = nullptr);

} // namespace fm
