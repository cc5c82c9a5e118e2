// modelgen: the recogniser's model cut down to the kanji the program teaches.
//   modelgen FULL-MODEL PROGRAM-DIR
// reads the installed zinnia model and the catalogue (Kanji1.dat) of the
// program directory and writes Tegaki1.model there. Each kanji keeps its own
// weights, so it scores exactly as in the full model; the file is a
// twenty-fifth of the size, and recognition a twenty-fifth of the work.
// Nothing is written when the full model is damaged or lacks a taught kanji.
#include "data/catalogue.h"
#include "data/cp932.h"
#include "data/errors.h"
#include "data/fileio.h"
#include "handwriting/zinniamodel.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <QSet>
#include <cstdio>

using namespace fm;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: modelgen FULL-MODEL PROGRAM-DIR\n");
        return 2;
    }
    const QString fullPath = args[1], dir = args[2];
    try {
        Catalogue cat;
        loadCatalogue(cat, dir);
        QSet<QString> taught;
        for (int k = 1; k <= MaxKanjiNumber; ++k)
            if (cat.KanjiTable[k].Strokes > 0)
                taught.insert(cp932::toUnicode(cat.KanjiTable[k].Glyph));
        const std::optional<QByteArray> full =
            readWholeFileAt(fullPath, QFileInfo(fullPath).fileName(), 256 * 1024 * 1024);
        if (!full)
            throw FileError::notFound(fullPath);
        QStringList missing;
        QString error;
        const QByteArray reduced = reducedZinniaModel(*full, taught, &missing, &error);
        if (reduced.isEmpty())
            throw FileError(QFileInfo(fullPath).fileName(), error);
        if (!missing.isEmpty())
            throw FileError(QFileInfo(fullPath).fileName(),
                            QStringLiteral("lacks taught kanji: ") + missing.join(QLatin1Char(' ')));
        // What the program will check on reading, checked here first.
        const QString problem = zinniaModelProblem(reduced);
        if (!problem.isEmpty())
            throw FileError(HandwritingModelFile, problem);
        writeWholeFileAtomic(dir, HandwritingModelFile, reduced);
        std::printf("modelgen: %s: %lld characters, %lld bytes (from %lld)\n",
                    qPrintable(HandwritingModelFile), static_cast<long long>(taught.size()),
                    static_cast<long long>(reduced.size()), static_cast<long long>(full->size()));
    } catch (const FileError &e) {
        std::fprintf(stderr, "modelgen: %s: %s\n", qPrintable(e.fileName()), qPrintable(e.detail()));
        return 1;
    }
    return 0;
}
