// The answer panels on the test screen: what each panel shows, how they
// switch and go back, and the answer line's limits.
#include "test_shutsudai_fixture.h"

using namespace fm;
using namespace studytest;

namespace
{

int visibleCandidates(const TestWorld &w)
{
    int n = 0;
    for (int i = 1; i <= CandidateCount; ++i)
        n += w.button("Btn_Kanji", i)->isVisible();
    return n;
}

int visibleParts(const TestWorld &w)
{
    int n = 0;
    for (int j = 1; j <= PartButtonCount; ++j)
        n += w.button("Btn_Buhin", j)->isVisible();
    return n;
}

} // namespace

TEST(AnswerPanels, KanaKeysShowTheTableWithoutItsGapsAndStopAtFour)
{
    TestWorld w(1, StudyKind::Reading, true);
    TF_Shutsudai *s = w.open();
    for (int i = 1; i <= KanaKeyCount; ++i)
        EXPECT_FALSE(w.button("Btn_Moji", i)->isVisible());
    w.start();
    EXPECT_EQ(w.ctl<QGroupBox>("Grp_Kanji")->title(), QStringLiteral("かなをえらぶ"));
    EXPECT_EQ(w.ctl<QGroupBox>("Grp_Kanji")->geometry(), QRect(16, 184, 620, 281));
    EXPECT_FALSE(w.has("Grp_Bushu")); // reading builds the kana only
    int shown = 0;
    for (int i = 1; i <= KanaKeyCount; ++i) {
        shown += w.button("Btn_Moji", i)->isVisible();
        EXPECT_EQ(w.button("Btn_Moji", i)->geometry(), panelButtonRect(PanelButton::Kana, i, 1.0));
    }
    EXPECT_EQ(shown, 75);
    EXPECT_EQ(w.button("Btn_Moji", 76)->text(), QStringLiteral("あ"));

    w.click(w.button("Btn_DelPart")); // nothing to delete
    EXPECT_EQ(s->answerPanels().AnswerCharCount(), 0);
    for (int key : {76, 77, 78, 79, 80})
        w.click(w.button("Btn_Moji", key));
    EXPECT_EQ(w.ctl<QLabel>("Lbl_kotae")->text(), QStringLiteral("あいうえ"));
    w.click(w.button("Btn_DelPart"));
    w.click(w.button("Btn_Moji", 80));
    EXPECT_EQ(w.ctl<QLabel>("Lbl_kotae")->text(), QStringLiteral("あいうお"));
    w.click(w.button("Btn_Delall"));
    EXPECT_TRUE(w.ctl<QLabel>("Lbl_kotae")->text().isEmpty());
    EXPECT_EQ(s->answerPanels().AnswerCharCount(), 0);
}

TEST(AnswerPanels, PartsShowTheirCellsOfTheStripAndListTheirKanji)
{
    TestWorld w(2, StudyKind::Writing, true);
    TF_Shutsudai *s = w.open();
    w.start();
    EXPECT_EQ(w.button("Btn_Bushu", 8)->text(), QStringLiteral("そのほか"));
    EXPECT_FALSE(w.button("Btn_Bushu", 1)->icon().isNull());
    w.click(w.button("Btn_Bushu", 3));
    EXPECT_EQ(s->answerPanels().panelState(), Panel::Parts);
    EXPECT_FALSE(w.ctl<QGroupBox>("Grp_Bushu")->isVisible());
    EXPECT_TRUE(w.ctl<QGroupBox>("Grp_Kakusuu")->isVisible()); // the stroke panel stays
    EXPECT_EQ(visibleParts(w), 5);
    // Part 2 of group 3 is glyph 12: the twelfth cell of BuhinX.bmp.
    const QImage strip(w.t.file(QStringLiteral("BuhinX.bmp")));
    const QImage icon = w.button("Btn_Buhin", 2)->icon().pixmap(QSize(64, 64)).toImage();
    EXPECT_EQ(icon.pixelColor(8, 32), strip.pixelColor(64 * 11 + 8, 32));
    EXPECT_NE(icon.pixelColor(8, 32), strip.pixelColor(64 * 10 + 8, 32));

    w.click(w.button("Btn_Buhin", 2));
    EXPECT_EQ(w.t.state.ListSource, KanjiListSource::Part);
    EXPECT_EQ(s->answerPanels().selectedGroup(), 3);
    EXPECT_EQ(s->answerPanels().selectedPart(), 2);
    EXPECT_FALSE(w.ctl<QGroupBox>("Grp_Kakusuu")->isVisible());
    const QVector<int16_t> expected = w.t.state.Cat.byPart(3, 2);
    ASSERT_EQ(visibleCandidates(w), expected.size());
    for (int i = 1; i <= expected.size(); ++i)
        EXPECT_EQ(w.button("Btn_Kanji", i)->text(), cp932::toUnicode(glyphOf(expected[i - 1])));
    EXPECT_EQ(w.button("Btn_Kanji", 1)->font().pixelSize(), 19);
}

TEST(AnswerPanels, FullListsOfTheCatalogueAreOfferedUpToTheButtonsThereAre)
{
    TestWorld w(2, StudyKind::Writing, true);
    w.open();
    w.start();
    Catalogue &cat = w.t.state.Cat;
    for (int i = 1; i <= KanjiPerPartCap; ++i)
        cat.KanjiByPart[5][1][i] = int16_t(i);
    for (int i = 1; i <= KanjiPerStrokeCap; ++i)
        cat.KanjiByStrokes[4][i] = int16_t(i);

    w.click(w.button("Btn_Bushu", 5));
    w.click(w.button("Btn_Buhin", 1));
    EXPECT_EQ(visibleCandidates(w), KanjiPerPartCap) << "the whole part list, its last kanji too";
    w.click(w.button("Btn_Cancel"));
    w.click(w.button("Btn_Cancel"));
    w.click(w.button("Btn_Kakusuu", 4));
    EXPECT_EQ(visibleCandidates(w), CandidateCount);
}

TEST(AnswerPanels, BackGoesToThePartPanelOrTheFirstPanels)
{
    TestWorld w(2, StudyKind::Writing, true);
    TF_Shutsudai *s = w.open();
    w.start();
    EXPECT_FALSE(w.button("Btn_Cancel")->isVisible());
    w.click(w.button("Btn_Bushu", 5));
    w.click(w.button("Btn_Buhin", 1));
    w.click(w.button("Btn_Cancel")); // back to the same group's parts
    EXPECT_TRUE(w.ctl<QGroupBox>("Grp_Buhin")->isVisible());
    EXPECT_TRUE(w.ctl<QGroupBox>("Grp_Kakusuu")->isVisible());
    EXPECT_FALSE(w.ctl<QGroupBox>("Grp_Kanji")->isVisible());
    EXPECT_TRUE(w.button("Btn_Cancel")->isVisible());
    EXPECT_EQ(s->answerPanels().selectedGroup(), 5);
    EXPECT_EQ(visibleParts(w), 5);
    w.click(w.button("Btn_Cancel"));
    EXPECT_TRUE(w.ctl<QGroupBox>("Grp_Bushu")->isVisible());
    EXPECT_FALSE(w.ctl<QGroupBox>("Grp_Buhin")->isVisible());
    EXPECT_FALSE(w.button("Btn_Cancel")->isVisible());

    w.click(w.button("Btn_Kakusuu", 4));
    EXPECT_EQ(w.t.state.ListSource, KanjiListSource::Strokes);
    EXPECT_EQ(visibleCandidates(w), 20);
    w.click(w.button("Btn_Cancel"));
    EXPECT_TRUE(w.ctl<QGroupBox>("Grp_Bushu")->isVisible());
    EXPECT_TRUE(w.ctl<QGroupBox>("Grp_Kakusuu")->isVisible());
    EXPECT_FALSE(w.ctl<QGroupBox>("Grp_Kanji")->isVisible());
    EXPECT_EQ(s->answerPanels().panelState(), Panel::Choice);

    // A new question brings the first panels back.
    w.click(w.button("Btn_Gakunen_all"));
    w.click(w.button("Btn_Next"));
    EXPECT_TRUE(w.ctl<QGroupBox>("Grp_Bushu")->isVisible());
    EXPECT_FALSE(w.ctl<QGroupBox>("Grp_Kanji")->isVisible());
    EXPECT_FALSE(w.button("Btn_Cancel")->isVisible());
}

TEST(AnswerPanels, WholeRangeListsEightyAndAPartListAfterItOnlyItsOwn)
{
    TestWorld w(7, StudyKind::Writing, true);
    TF_Shutsudai *s = w.open();
    w.start();
    EXPECT_EQ(w.button("Btn_Gakunen_all")->text(), QStringLiteral("これかな？"));
    w.click(w.button("Btn_Gakunen_all"));
    EXPECT_EQ(w.t.state.ListSource, KanjiListSource::WholeRange);
    ASSERT_EQ(visibleCandidates(w), 80);
    QSet<QString> listed;
    for (int i = 1; i <= 80; ++i)
        listed.insert(w.button("Btn_Kanji", i)->text());
    EXPECT_EQ(listed.size(), 80);
    EXPECT_TRUE(listed.contains(cp932::toUnicode(glyphOf(121))));
    EXPECT_TRUE(listed.contains(cp932::toUnicode(glyphOf(200))));
    EXPECT_FALSE(listed.contains(cp932::toUnicode(glyphOf(201))));

    w.click(w.button("Btn_Cancel"));
    w.click(w.button("Btn_Bushu", 2));
    w.click(w.button("Btn_Buhin", 4));
    EXPECT_EQ(visibleCandidates(w), 6);

    // A writing answer is one kanji: each candidate replaces the last; every
    // candidate click offers "もどる".
    for (int i = 1; i <= 4; ++i)
        w.click(w.button("Btn_Kanji", i));
    EXPECT_EQ(s->answerPanels().AnswerCharCount(), 1);
    EXPECT_EQ(s->answerPanels().answer(), w.button("Btn_Kanji", 4)->property("glyph").toByteArray());
    EXPECT_TRUE(w.button("Btn_Cancel")->isVisible());
}

TEST(AnswerPanels, CrowdedAndEmptyGroupsAndAMissingStrip)
{
    TestWorld w(2, StudyKind::Writing, true);
    for (int j = 1; j <= 25; ++j)
        w.t.state.Cat.RadicalTable[1][j] = int16_t(j % 40 + 1);
    for (int j = 1; j <= 5; ++j)
        w.t.state.Cat.RadicalTable[2][j] = 0;
    w.t.state.Cat.RadicalTable[2][2] = 7; // behind a 0: never shown
    ASSERT_TRUE(QFile::remove(w.t.file(QStringLiteral("BuhinX.bmp"))));
    w.open();
    w.start();
    w.click(w.button("Btn_Bushu", 1));
    EXPECT_EQ(visibleParts(w), 19);
    EXPECT_FALSE(w.button("Btn_Buhin", 20)->isVisible());
    w.click(w.button("Btn_Cancel"));
    w.click(w.button("Btn_Bushu", 2));
    EXPECT_EQ(visibleParts(w), 0);
    EXPECT_TRUE(w.ctl<QGroupBox>("Grp_Buhin")->isVisible());
}

TEST(AnswerPanels, LargeFontsScaleTheButtons)
{
    TestWorld w(2, StudyKind::Reading, true);
    w.t.shell.Layout = LayoutSize::Large;
    w.open();
    w.start();
    EXPECT_EQ(w.button("Btn_Moji", 7)->geometry(), QRect(50, 65, 40, 40));
    // The box holds its last column.
    EXPECT_GE(w.ctl<QGroupBox>("Grp_Kanji")->width(), w.button("Btn_Moji", 80)->geometry().right());

    TestWorld k(2, StudyKind::Writing, true);
    k.t.shell.Layout = LayoutSize::Large;
    k.open();
    EXPECT_EQ(k.button("Btn_Kakusuu", 7)->geometry(), QRect(58, 73, 48, 48));
    EXPECT_EQ(k.button("Btn_Gakunen_all")->geometry(), QRect(10, 265, 190, 48));
}
