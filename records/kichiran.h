#pragma once
// All 240 kanji at once: a press of "よむ" or "かく" scatters them over the
// picture and lets them glide into order, the cleared ones in red first,
// while music plays.
#include "records/kichiranpicture.h"
#include "records/recordrules.h"
#include "shell/kit.h"
#include "shell/music.h"
#include "shell/screen.h"
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace fm
{

class TF_K_ichiran : public ScreenFrame
{
    Q_OBJECT
  public:
    explicit TF_K_ichiran(Services &services);
    ~TF_K_ichiran() override;

    void BackClick() override;
    void FormClose() override;

    int phase() const { return phase_; }
    int tick() const { return tick_; }
    bool MusicLooping() const { return MP_KI_1.playing(); }
    const records::ListItems &items() const { return items_; }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    // Controls; tests and the help find the named ones by their object names.
    QLabel *Lbl_TItle; // the frame's title label, renamed
    QLabel *Lbl_Setsumei1;
    QLabel *Lbl_Setsumei2;
    PictureView *Img_Kanji; // the last frame it was given, navy before the first
    QPushButton *Btn_Yomi;
    QPushButton *Btn_Kaki;
    QTimer *Tim_Kanji; // a step of the scattering or the gliding

    // Starts the list of a kind (1 reading, 2 writing).
    void BtnClick(StudyKind kind);
    void Tim_KanjiTimer();
    // A press on the finished list: the stroke order of the kanji there.
    void Img_KanjiClick(QPoint at);
    void stopAnimation();

    ScreenMusic MP_KI_1;
    records::ListItems items_{};
    records::KanjiListPicture picture_;
    QImage scattered_;
    int phase_ = 0; // 0 idle, 1 scattered, 2 moving
    int tick_ = 0;
};

} // namespace fm
