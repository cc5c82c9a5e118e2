// The floor for start-up: the least a Qt Widgets program does to show a menu
// like ours (one window filling the screen, a title and a row of eight
// buttons). scripts/startup-timing starts it and fudemaru in turn.
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setStyleSheet(QStringLiteral("background: navy; color: yellow;"));
    auto *column = new QVBoxLayout(&window);
    auto *title = new QLabel(QStringLiteral("がんばれ！ ふでまる"));
    QFont big = title->font();
    big.setPixelSize(45);
    big.setBold(true);
    title->setFont(big);
    column->addWidget(title);
    auto *row = new QHBoxLayout;
    for (int n = 1; n <= 8; ++n)
        row->addWidget(new QPushButton(QStringLiteral("ボタン%1").arg(n)));
    column->addLayout(row);
    column->addStretch();
    // No window manager under Xvfb: the window places itself over the screen.
    window.setGeometry(QGuiApplication::primaryScreen()->geometry());
    window.show();
    return app.exec();
}
