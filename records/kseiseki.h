#pragma once
// The current player's results kanji by kanji: per kanji and kind how often
// it was asked, how often it was right, and whether its level is cleared.
#include "records/seisekigrid.h"
#include "shell/screen.h"

namespace fm
{

class TF_KSeiseki1 : public ScreenFrame
{
    Q_OBJECT
  public:
    explicit TF_KSeiseki1(Services &services);

  private:
    // Controls; tests and the help find the named ones by their object names.
    records::SeisekiGrid *Grd_Seiseki;
};

} // namespace fm
