#include "data/locations.h"
#include "data/settings.h"
#include "tools/datacli/datacli.h"
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char **argv)
{
    // Drawing a chart needs fonts, that is a QGuiApplication; it never
    // shows a window, so it needs no display either.
    std::unique_ptr<QCoreApplication> app;
    if (argc > 1 && std::strcmp(argv[1], "chart") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    QString out;
    QString err;
    // Shipped files beside the tool, as the program finds them; records in
    // the user's data directory, as the program keeps them.
    const fm::cli::Dirs defaults{fm::shippedFilesDir(QCoreApplication::applicationDirPath()),
                                 fm::defaultDataDir(), fm::defaultSettingsPath()};
    const int code = fm::cli::run(args, defaults, out, err);
    const QByteArray o = out.toUtf8();
    const QByteArray e = err.toUtf8();
    std::fwrite(o.constData(), 1, o.size(), stdout);
    std::fwrite(e.constData(), 1, e.size(), stderr);
    return code;
}
