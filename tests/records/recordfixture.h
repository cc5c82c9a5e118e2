#pragma once
// Shared helpers of the records screen tests.
#include "data/cp932.h"
#include "data/roster.h"
#include "records/register.h"
#include "shell/screen.h"
#include "support/find.h"
#include "support/testshell.h"
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTest>

namespace records_test
{

constexpr QRgb StarGreen = 0xFF00C800;

// A Stars.bmp whose "stars" are easy to tell apart by pixel: a green square
// (filled) and a black frame with white inside (empty), on white.
inline void writeStars(const fm::test::TestShell &t)
{
    QImage bmp(68, 34, QImage::Format_RGB32);
    bmp.fill(Qt::white);
    QPainter p(&bmp);
    p.fillRect(3, 3, 28, 28, QColor(StarGreen));
    p.fillRect(37, 3, 28, 28, Qt::black);
    p.fillRect(40, 6, 22, 22, Qt::white);
    p.end();
    bmp.save(t.file(QStringLiteral("Stars.bmp")), "BMP");
}

inline fm::PlayerEntry &addPlayer(fm::AppState &s, const QString &name, int level = 1, int kind = 1)
{
    const int n = fm::addPlayer(s.Players, fm::cp932::fromUnicode(name));
    fm::PlayerEntry &e = s.Players.PlayerTable[n];
    e.Level = int16_t(level);
    e.Kind = fm::StudyKind(kind);
    return e;
}

// A stand-in for the main menu, so that "back to the menu" can be seen.
class Menu : public fm::ScreenFrame
{
  public:
    explicit Menu(fm::Services &sv) : ScreenFrame(sv, fm::ScreenId::Main) {}
};

struct Shell : fm::test::TestShell {
    Shell()
    {
        fm::registerRecordScreens(screens);
        menu = nav.open<Menu>();
        nav.setMainMenu(menu);
    }
    Menu *menu;
};

inline QColor textColour(const QWidget *w)
{
    return w->palette().color(QPalette::WindowText);
}

// Player n's name on the player list ("Lbl_PlayerName<n>"); null past the roster's end.
inline QLabel *playerName(const QWidget *list, int n)
{
    return list->findChild<QLabel *>(QStringLiteral("Lbl_PlayerName%1").arg(n));
}

} // namespace records_test
