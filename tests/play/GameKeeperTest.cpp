#include "play/GameKeeper.h"
#include "play/PlayTestSupport.h"
#include "support/TempFolder.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// One run of the game: its play on blank pictures and the keeper of its file.
struct TRun {
    explicit TRun(const std::string& file, int64_t& now)
    {
        Random.FallBack(TestSeed());
        Play.Clock = [&now] { return now; };
        Play.SetSize(3, 3);
        Play.Stop();
        Keeper = std::make_unique<TGameKeeper>([file] { return file; });
        Play.Listen(*Keeper);
    }
    void Tick()
    {
        for (int32_t tick = 0; tick < 1000 && Screen.TimerOn; ++tick)
            Play.TimerTick();
    }
    void Key(char key)
    {
        Play.KeyPress(static_cast<unsigned char>(key));
        Play.KeyUp();
        Tick();
    }
    void Command(TCommandKind kind)
    {
        Play.Do(TCommand::Of(kind));
        Tick();
    }

    TBlankPictures Pictures;
    TScriptedRandom Random;
    TRecordingScreen Screen {*Pictures.Images};
    TWardenPlay Play {Random, *Pictures.Images, nullptr, Screen};
    std::unique_ptr<TGameKeeper> Keeper;
};

class GameKeeperTest : public ::testing::Test {
protected:
    // A run whose start found nothing to resume, then played to a game of moves at cols x rows.
    std::unique_ptr<TRun> Played(int32_t cols, int32_t rows, const std::string& keys)
    {
        auto run = std::make_unique<TRun>(File, Now);
        EXPECT_FALSE(run->Keeper->Resume(run->Play));
        for (; cols > 3; --cols)
            run->Play.ColRow(3);
        for (; rows > 3; --rows)
            run->Play.ColRow(4);
        run->Play.Start();
        run->Tick();
        for (const char key : keys)
            run->Key(key);
        return run;
    }
    std::unique_ptr<TRun> NextStart() { return std::make_unique<TRun>(File, Now); }

    TTempFolder Folder;
    std::string File = Folder.Path("state/Larkfield/Pathwarden/Pathwarden.game");
    int64_t Now = 1000;
};

// A hand-made game on distinct tiles: the target turned by two rotations, then one made.
TKeptGame DistinctGame()
{
    TKeptGame game;
    for (int32_t c = 1; c <= 3; ++c)
        for (int32_t r = 1; r <= 3; ++r)
            game.Board.Target.Cell(c, r).Arms = static_cast<uint8_t>(10 * c + r);
    TPuzzleBoard& scrambled = game.Moves.Scrambled;
    scrambled.Target = scrambled.Current = game.Board.Target;
    scrambled.ApplyArrow(true, 1);
    scrambled.ApplyArrow(false, 2);
    game.Moves.Made = {{true, 2}};
    game.Moves.Undone = {{false, 6}};
    game.Board.Current = scrambled.Apply({true, 2}).Current;
    game.Helped = true;
    game.PlayedMs = 61000;
    return game;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    text.replace(text.find(from), from.size(), to);
    return text;
}

} // namespace

TEST_F(GameKeeperTest, AGameClosedInPlayComesBackWithItsBoardsMovesUndoRedoHelpAndTime)
{
    const auto first = Played(4, 5, "AB1C");
    first->Command(TCommandKind::Undo);
    Now += 5000;

    first->Keeper->Keep(first->Play);
    const auto next = NextStart();
    ASSERT_TRUE(next->Keeper->Resume(next->Play));

    const TPlayView was = first->Play.View(), is = next->Play.View();
    EXPECT_EQ(is.Board, was.Board);
    EXPECT_EQ(*is.Scrambled, *was.Scrambled);
    EXPECT_EQ(is.Moves, 3);
    EXPECT_TRUE(is.ReadyForMove);
    EXPECT_FALSE(is.Helped);
    EXPECT_EQ(is.PlayedMs, was.PlayedMs);
    EXPECT_FALSE(next->Screen.Idle);
    EXPECT_FALSE(fs::exists(File)) << "a resumed game is taken";
    for (const TCommandKind kind :
        {TCommandKind::Redo, TCommandKind::Undo, TCommandKind::Undo, TCommandKind::Undo}) {
        first->Command(kind);
        next->Command(kind);
        EXPECT_EQ(next->Play.View().Board, first->Play.View().Board);
        EXPECT_EQ(next->Play.Game.History().Redoable(), first->Play.Game.History().Redoable());
    }
}

// The scramble and the move in hand end first: their ticks would have ended them so.
TEST_F(GameKeeperTest, AGameClosedDuringTheScrambleOrAMoveIsKeptAsTheirEndLeavesIt)
{
    const struct {
        const char* Case;
        int32_t Ticks;
        bool Press;
        int32_t Moves;
    } cases[] = {{"scramble", 3, false, 0}, {"slide", 2, true, 1},
        {"held at its final picture", 4, true, 1}, {"held into its repeat", 6, true, 2}};
    for (const auto& c : cases) {
        const auto first = Played(3, 3, "");
        if (c.Press)
            first->Play.KeyPress('A');
        else {
            first->Command(TCommandKind::Stop);
            first->Play.Start();
        }
        for (int32_t tick = 0; tick < c.Ticks; ++tick)
            first->Play.TimerTick();

        first->Keeper->Keep(first->Play);
        const auto next = NextStart();

        ASSERT_TRUE(next->Keeper->Resume(next->Play)) << c.Case;
        EXPECT_EQ(next->Play.View().Board, first->Play.View().Board) << c.Case;
        EXPECT_EQ(next->Play.View().Moves, c.Moves) << c.Case;
        EXPECT_FALSE(first->Screen.TimerOn) << c.Case;
    }
}

TEST_F(GameKeeperTest, AResumedGameEndedByExitOrAWinLeavesNothingToResume)
{
    for (const bool win : {false, true}) {
        const auto first = Played(3, 3, "A");
        first->Keeper->Keep(first->Play);
        const auto next = NextStart();
        ASSERT_TRUE(next->Keeper->Resume(next->Play));

        if (win)
            for (const char key : SolvingKeys(next->Play.Game.Board))
                next->Key(key);
        else
            next->Command(TCommandKind::Stop);
        next->Keeper->Keep(next->Play);

        EXPECT_EQ(next->Play.Game.Won(), win);
        EXPECT_FALSE(fs::exists(File)) << win;
        const auto after = NextStart();
        EXPECT_FALSE(after->Keeper->Resume(after->Play)) << win;
    }
}

TEST_F(GameKeeperTest, EachMoveKeepsTheGameSoARunEndedWithoutACloseLosesNothing)
{
    const auto first = Played(4, 4, "A1");

    const auto next = NextStart();
    ASSERT_TRUE(next->Keeper->Resume(next->Play));

    EXPECT_EQ(next->Play.View().Board, first->Play.View().Board);
    EXPECT_EQ(next->Play.View().Moves, 2);
    next->Key('B');
    ASSERT_TRUE(fs::exists(File));
    next->Command(TCommandKind::Stop);
    EXPECT_FALSE(fs::exists(File)) << "Exit leaves nothing even before the close";
}

TEST_F(GameKeeperTest, OfTwoStartsOnlyOneResumesTheGame)
{
    const auto first = Played(3, 3, "A1");
    first->Keeper->Keep(first->Play);
    const auto one = NextStart(), other = NextStart();

    const bool resumedOne = one->Keeper->Resume(one->Play);
    const bool resumedOther = other->Keeper->Resume(other->Play);

    EXPECT_NE(resumedOne, resumedOther);
    EXPECT_FALSE(fs::exists(File + ".broken-1"));
}

TEST_F(GameKeeperTest, AKeptGameThatIsNotAGameInPlayIsSetAsideAndTheStartIsIdle)
{
    const TKeptGame good = DistinctGame();
    const std::string text = KeptGameText(good);
    TKeptGame tiles = good, chain = good, solved = good, odd = good;
    for (TRoadBoard* board : {&tiles.Moves.Scrambled.Current, &tiles.Board.Current})
        for (int32_t c = 1; c <= 3; ++c)
            for (int32_t r = 1; r <= 3; ++r)
                board->Cell(c, r).Arms = 99;
    chain.Moves.Made = {{true, 3}};
    // Column 2 alone moves: a swap in row 1 away from it keeps the history leading to the board.
    for (TRoadBoard* board : {&odd.Moves.Scrambled.Current, &odd.Board.Current})
        std::swap(board->Cell(1, 1), board->Cell(3, 1));
    solved.Board.Current = solved.Board.Target;
    solved.Moves.Made = {{true, 1 + 3}, {false, 2 + 3}};
    const struct {
        const char* Case;
        std::string Text;
    } cases[] = {
        {"cut short", text.substr(0, text.size() / 2)},
        {"another version", Replaced(text, "game 1\n", "game 2\n")},
        {"a size out of range", Replaced(text, "size 3 3", "size 6 3")},
        {"a count that does not add up", Replaced(text, "made 1 c2", "made 2 c2")},
        {"an arrow off the board", Replaced(text, "made 1 c2", "made 1 c7")},
        {"a negative time", Replaced(text, "played 61000", "played -61000")},
        {"an absurd time", Replaced(text, "played 61000", "played 99999999999999")},
        {"more after the end", text + "played 0\n"},
        {"tiles that are not the target's", KeptGameText(tiles)},
        {"a history that does not lead to the board", KeptGameText(chain)},
        {"distinct tiles in an order no rotations make", KeptGameText(odd)},
        {"a solved board", KeptGameText(solved)},
        {"huge", text + std::string(MaxKeptGameBytes, '\n')},
    };
    for (const auto& c : cases) {
        std::ofstream(Folder.Write("Pathwarden.game", ""), std::ios::binary) << c.Text;
        TRun run(Folder.Path("Pathwarden.game"), Now);

        EXPECT_FALSE(run.Keeper->Resume(run.Play)) << c.Case;

        EXPECT_FALSE(run.Play.Game.Playing()) << c.Case;
        EXPECT_FALSE(fs::exists(Folder.Path("Pathwarden.game"))) << c.Case;
        EXPECT_EQ(Folder.Read("Pathwarden.game.broken-1"), c.Text) << c.Case;
        fs::remove(Folder.Path("Pathwarden.game.broken-1"));
    }
    Folder.Write("Pathwarden.game", text);
    TRun control(Folder.Path("Pathwarden.game"), Now);
    EXPECT_TRUE(control.Keeper->Resume(control.Play));
    EXPECT_EQ(control.Play.View().PlayedMs, 61000);
    EXPECT_TRUE(control.Play.View().Helped);
}

// Never followed, and an earlier file set aside stays as it was.
TEST_F(GameKeeperTest, ALinkOrAFolderInTheKeptGamesPlaceIsSetAsideBesideEarlierOnes)
{
    const std::string place = Folder.Path("Pathwarden.game");
    Folder.Write("Pathwarden.game.broken-1", "earlier");
    Folder.Write("target", KeptGameText(DistinctGame()));
    fs::create_symlink(Folder.Path("target"), place);
    TRun linked(place, Now);
    EXPECT_FALSE(linked.Keeper->Resume(linked.Play));
    fs::create_directory(place);
    TRun folder(place, Now);
    EXPECT_FALSE(folder.Keeper->Resume(folder.Play));

    EXPECT_FALSE(linked.Play.Game.Playing() || folder.Play.Game.Playing());
    EXPECT_EQ(Folder.Read("Pathwarden.game.broken-1"), "earlier");
    EXPECT_TRUE(fs::is_symlink(Folder.Path("Pathwarden.game.broken-2")));
    EXPECT_TRUE(fs::is_directory(Folder.Path("Pathwarden.game.broken-3")));
    EXPECT_TRUE(fs::exists(Folder.Path("target")));
}
