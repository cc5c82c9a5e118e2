#include "datacli.h"
#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    QString out;
    QString err;
    const int code = fm::cli::run(args, QCoreApplication::applicationDirPath(), out, err);
    const QByteArray o = out.toUtf8();
    const QByteArray e = err.toUtf8();
    std::fwrite(o.constData(), 1, o.size(), stdout);
    std::fwrite(e.constData(), 1, e.size(), stderr);
    return code;
}
