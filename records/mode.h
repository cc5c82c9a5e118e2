#pragma once
// The chosen player's home: progress and game levels as stars, and the
// commands that lead to the tests, the games and the records.
#include "records/stars.h"
#include "shell/look.h"
#include "shell/screen.h"
#include <QGroupBox>
#include <QLabel>
#include <array>

namespace fm
{

struct PlayerEntry;

class TF_Mode : public ScreenFrame
{
    Q_OBJECT
  public:
    explicit TF_Mode(Services &services);

    // The four study commands, by their label's tag.
    enum Command : int { KanjiList = 1, KanjiResults = 2, Challenge = 3, Practice = 4 };
    static constexpr int CommandCount = Practice;

    void FormShow() override;
    void BackClick() override;

  protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    // Controls; tests and the help find the named ones by their object names.
    QLabel *Lbl_Name; // the frame's title label, moved and renamed
    QGroupBox *Grp_gakushu;
    QLabel *Lbl_Level;
    QLabel *Lbl_Yomi;
    QLabel *Img_Yomi_Level;
    QLabel *Lbl_Kaki;
    QLabel *Img_Kaki_Level;
    std::array<ClickLabel *, 5> Lbl_Command{}; // [1..4] "Lbl_Command<n>", n a Command
    QGroupBox *Grp_Game;
    QLabel *Lbl_GLevel;
    QLabel *Lbl_Game1_1;
    QLabel *Img_Game1_Level;
    QLabel *Lbl_Game2_1;
    QLabel *Img_Game2_Level;
    ClickLabel *Lbl_Game1;
    ClickLabel *Lbl_Game2;

    void Lbl_Command1Click(int command);
    void Lbl_Command1MouseMove(int command);
    void Lbl_GameClick(int game);
    void Lbl_GameMouseMove(int game);
    void Grp_gakushuMouseMove();

    QGroupBox *makeGroup(const QString &caption, const QRect &geometry);
    QLabel *groupLabel(QWidget *group, const QString &text, int x, int y, const QString &tip = {});
    QLabel *starImage(QWidget *group, const QRect &geometry, const records::StarRow &row,
                      const records::StarPictures &pictures);
    void drawStars(const PlayerEntry &e);
    void buildCommandLabels();
    void buildGameLabels();
    void closeLeftOver(ScreenId id);
    bool challengeInert() const;
};

} // namespace fm
