#include "data/locations.h"
#include "tools/datacli/datacli.h"
#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    QString out;
    QString err;
    // Shipped files beside the tool, as the program finds them; records in
    // the user's data directory, as the program keeps them.
    const fm::cli::Dirs defaults{fm::shippedFilesDir(QCoreApplication::applicationDirPath()),
                                 fm::defaultDataDir()};
    const int code = fm::cli::run(args, defaults, out, err);
    const QByteArray o = out.toUtf8();
    const QByteArray e = err.toUtf8();
    std::fwrite(o.constData(), 1, o.size(), stdout);
    std::fwrite(e.constData(), 1, e.size(), stderr);
    return code;
}
