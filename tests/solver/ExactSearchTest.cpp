#include "solver/ExactSearch.h"
#include "solver/LabelledBound.h"
#include "solver/NearTarget.h"
#include "solver/PatternBound.h"
#include "solver/SeventhTileTable.h"
#include "solver/WalkingDistance.h"

#include "puzzle/ScriptedRandom.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <numeric>
#include <optional>
#include <unordered_map>
#include <vector>

namespace {

constexpr int32_t SearchedDepth = 5;
constexpr int32_t CheckedDepth = 4;

TClassBoard FourByFour(const std::vector<uint8_t>& classes)
{
    TClassBoard board;
    board.Cols = board.Rows = 4;
    std::copy(classes.begin(), classes.end(), board.Cells.begin());
    return board;
}

uint64_t Key(const TClassBoard& board)
{
    uint64_t key = 0;
    for (int32_t cell = 0; cell < 16; ++cell)
        key |= static_cast<uint64_t>(board.Cells[cell]) << (4 * cell);
    return key;
}

// Every board within the given moves of the target with its distance, breadth first and
// independent of the solver.
std::unordered_map<uint64_t, std::pair<TClassBoard, int32_t>> Near(
    const TClassBoard& target, int32_t depths)
{
    std::unordered_map<uint64_t, std::pair<TClassBoard, int32_t>> near {{Key(target), {target, 0}}};
    std::vector<TClassBoard> frontier {target};
    for (int32_t depth = 1; depth <= depths; ++depth) {
        std::vector<TClassBoard> next;
        for (const TClassBoard& board : frontier)
            for (const bool isColumn : {true, false})
                for (int8_t line = 0; line < 4; ++line)
                    for (const int8_t shift : {int8_t {1}, int8_t {-1}}) {
                        TClassBoard moved = board;
                        moved.Apply({isColumn, line, shift});
                        if (near.try_emplace(Key(moved), moved, depth).second)
                            next.push_back(moved);
                    }
        frontier = std::move(next);
    }
    return near;
}

// Random moves, each line either way.
void Scramble(TClassBoard& board, TRandomSource& random, int32_t moves)
{
    for (int32_t move = 0; move < moves; ++move)
        board.Apply({random.Random(2) == 0, static_cast<int8_t>(random.Random(4)),
            static_cast<int8_t>(random.Random(2) == 0 ? 1 : -1)});
}

const TClassBoard DistinctTiles
    = FourByFour({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
// As a game's picture repeats its tiles: with few repeats (16 ways to tell them apart) or more
// (256), the ways are counted one by one; with many (5,184), only the tile classes are.
const TClassBoard RepeatedTiles = FourByFour({0, 1, 2, 0, 3, 4, 3, 5, 6, 7, 1, 8, 9, 4, 10, 11});
const TClassBoard ManyRepeatedTiles = FourByFour({0, 1, 0, 1, 2, 3, 2, 3, 4, 4, 5, 5, 6, 7, 6, 7});
const TClassBoard CrowdedTiles = FourByFour({0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 4, 5, 4, 5});

} // namespace

TEST(ExactSearch, BoundsNeverExceedTheDistanceOfABreadthFirstSearch)
{
    for (const TClassBoard& target : {DistinctTiles, RepeatedTiles}) {
        const auto acrossRows = TWalkingDistance::Build(target, true, 2'000'000);
        const auto acrossColumns = TWalkingDistance::Build(target, false, 2'000'000);
        // Tiles numbered by their homes, the equal ones in the order the board holds them.
        const TPatternBound patterns(target, target);
        int32_t tight = 0;
        for (const auto& [key, near] : Near(target, CheckedDepth)) {
            const auto& [board, distance] = near;
            TTileCells cells {};
            TTileCells inverse {};
            std::array<int32_t, 16> seen {};
            for (int32_t cell = 0; cell < 16; ++cell)
                for (int32_t home = 0, nth = 0; home < 16; ++home)
                    if (target.Cells[home] == board.Cells[cell]
                        && nth++ == seen[board.Cells[cell]]) {
                        ++seen[board.Cells[cell]];
                        cells[home] = static_cast<uint8_t>(cell);
                        inverse[cell] = static_cast<uint8_t>(home);
                        break;
                    }
            // Counted as far as the search does, no bound claims more than the distance; the
            // labellings' set-up is dearer, so a third of the boards will do for theirs.
            std::size_t first = 0;
            ASSERT_LE(patterns.Bound(cells, distance + 1, first), distance) << std::hex << key;
            const int32_t walking = acrossRows->Bound(board) + acrossColumns->Bound(board);
            ASSERT_LE(walking, distance) << std::hex << key;
            if (key % 3 == 0) {
                std::optional<TLabelledBound> labelled = TLabelledBound::Make(board, target, 16);
                labelled->Aim(distance);
                ASSERT_LE(labelled->Bound(distance + 1), distance) << std::hex << key;
            }
            if (target == DistinctTiles) {
                ASSERT_LE(patterns.Bound(inverse, distance + 1, first), distance)
                    << std::hex << key;
            }
            tight += walking == distance || patterns.Bound(cells, distance, first) == distance ? 1
                                                                                               : 0;
        }
        // The bounds are not trivially low either.
        EXPECT_GT(tight, 100);
    }
}

TEST(ExactSearch, ThePatternBoundIsTheGreatestEntryOverEveryPlacementOfTheBlock)
{
    TRuntimeRandom random(TestSeed());
    const TTilePatternTable& table = TTilePatternTable::Shared();
    const TSeventhTileTable& seventh = TSeventhTileTable::Shared();
    // Every tile differs on the first, so the seventh tile counts; equal tiles on the other.
    const TPatternBound distinct(DistinctTiles, DistinctTiles);
    const TPatternBound repeated(RepeatedTiles, RepeatedTiles);
    for (int32_t trial = 0; trial < 200; ++trial) {
        TTileCells cells {};
        std::iota(cells.begin(), cells.begin() + 16, 0);
        for (int32_t i = 15; i > 0; --i)
            std::swap(cells[i], cells[random.Random(i + 1)]);
        int32_t greatestOfSix = 0;
        int32_t greatestOfSeven = 0;
        int32_t totalOfSix = 0;
        for (const bool turned : {false, true})
            for (int32_t shiftRows = 0; shiftRows < 4; ++shiftRows)
                for (int32_t shiftCols = 0; shiftCols < 4; ++shiftCols) {
                    // Block cell to board cell and back, the block on its side when turned.
                    auto onBoard = [&](int32_t row, int32_t col) {
                        return turned ? ((col + shiftRows) % 4) * 4 + (row + shiftCols) % 4
                                      : ((row + shiftRows) % 4) * 4 + (col + shiftCols) % 4;
                    };
                    auto inBlock = [&](int32_t cell) {
                        const int32_t row = (cell / 4 - shiftRows + 4) % 4;
                        const int32_t col = (cell % 4 - shiftCols + 4) % 4;
                        return static_cast<uint8_t>(turned ? col * 4 + row : row * 4 + col);
                    };
                    std::array<uint8_t, PatternTiles + 1> at {};
                    for (int32_t i = 0; i < PatternTiles; ++i) {
                        const int32_t home = TTilePatternTable::Homes()[i];
                        at[i] = inBlock(cells[onBoard(home / 4, home % 4)]);
                    }
                    at[PatternTiles] = inBlock(cells[onBoard(0, TSeventhTileTable::Home)]);
                    std::array<uint8_t, PatternTiles> six {};
                    std::copy(at.begin(), at.begin() + PatternTiles, six.begin());
                    greatestOfSix = std::max(greatestOfSix, table.Distance(six));
                    totalOfSix += table.Distance(six);
                    greatestOfSeven = std::max(
                        greatestOfSeven, table.Distance(six) + seventh.Extra(RankCells(at)));
                }
        std::size_t first = 0;

        EXPECT_EQ(distinct.Bound(cells, greatestOfSeven, first), greatestOfSeven) << trial;
        EXPECT_LE(distinct.Bound(cells, greatestOfSeven + 1, first), greatestOfSeven) << trial;
        EXPECT_LE(repeated.Bound(cells, greatestOfSix + 1, first), greatestOfSix) << trial;
        EXPECT_EQ(distinct.Total(cells), totalOfSix) << trial;
        // Equal tiles give each placement more choices, the least of which counts.
        EXPECT_LE(repeated.Total(cells), totalOfSix) << trial;
    }
}

// The table is checked against what any table of distances must be: nought at home only, never
// more than the moves made from home, and one move apart at most between neighbours.
TEST(ExactSearch, TheSeventhTileTableIsADistanceFromHome)
{
    TRuntimeRandom random(TestSeed());
    const TTilePatternTable& table = TTilePatternTable::Shared();
    const TSeventhTileTable& seventh = TSeventhTileTable::Shared();
    constexpr std::array<uint8_t, PatternTiles + 1> Homes {0, 1, 2, 4, 5, 6, 3};
    auto distance = [&](const std::array<uint8_t, PatternTiles + 1>& cells) {
        std::array<uint8_t, PatternTiles> six {};
        std::copy(cells.begin(), cells.begin() + PatternTiles, six.begin());
        return table.Distance(six) + seventh.Extra(RankCells(cells));
    };
    for (int32_t walk = 0; walk < 100; ++walk) {
        TClassBoard board = DistinctTiles;
        int32_t last = 0;
        for (int32_t moves = 1; moves <= 20; ++moves) {
            board.Apply(TSolverMove {random.Random(2) == 0, static_cast<int8_t>(random.Random(4)),
                static_cast<int8_t>(random.Random(2) == 0 ? 1 : -1)});
            std::array<uint8_t, PatternTiles + 1> cells {};
            for (int32_t cell = 0; cell < 16; ++cell)
                for (int32_t i = 0; i <= PatternTiles; ++i)
                    if (board.Cells[cell] == Homes[i])
                        cells[i] = static_cast<uint8_t>(cell);
            const int32_t now = distance(cells);
            ASSERT_LE(now, moves) << "walk " << walk;
            ASSERT_LE(std::abs(now - last), 1) << "walk " << walk;
            ASSERT_EQ(now == 0, cells == Homes) << "walk " << walk;
            last = now;
        }
    }
}

// How many placements the seventh tile adds each number of moves to, as the table was first
// built from a search of all seven tiles: a change of how it is built keeps every entry.
TEST(ExactSearch, TheSeventhTileTableKeepsItsCountOfEachExtra)
{
    const TSeventhTileTable& seventh = TSeventhTileTable::Shared();
    std::array<uint32_t, TSeventhTileTable::MostExtra + 1> counts {};
    const uint32_t entries = TTilePatternTable::Rank({15, 14, 13, 12, 11, 10}) + 1;
    for (uint32_t entry = 0; entry < entries * TSeventhTileTable::FreeCells; ++entry)
        ++counts[seventh.Extra(entry)];

    EXPECT_EQ(counts, (std::array<uint32_t, 4> {16'250'897, 31'777'906, 9'197'130, 431'667}));
}

TEST(ExactSearch, BoardsNearTheTargetHaveTheirDistanceAndTheOthersLieFarther)
{
    constexpr int32_t Radius = 3;
    for (const TClassBoard& target : {DistinctTiles, ManyRepeatedTiles}) {
        const TNearTarget nearTarget(target, Radius);
        for (const auto& [key, near] : Near(target, Radius + 1)) {
            ASSERT_EQ(nearTarget.Distance(near.first), std::min(near.second, Radius + 1))
                << std::hex << key;
        }
    }
}

TEST(ExactSearch, FourByFourSolutionsAreTheFewestMoves)
{
    TRuntimeRandom random(TestSeed());
    for (const TClassBoard& target :
        {DistinctTiles, RepeatedTiles, ManyRepeatedTiles, CrowdedTiles}) {
        std::vector<std::vector<TClassBoard>> byDistance(SearchedDepth + 1);
        for (const auto& [key, near] : Near(target, SearchedDepth))
            byDistance[near.second].push_back(near.first);
        for (int32_t distance = 0; distance <= SearchedDepth; ++distance)
            for (int32_t n = 0; n < 5; ++n) {
                const auto& boards = byDistance[distance];
                const TClassPair pair {
                    boards[random.Random(static_cast<int32_t>(boards.size()))], target, 16};
                TSearchLimits limits;
                limits.MaxNodes = 1'000'000;

                const TSearchResult result = SearchShortest(pair, limits);

                ASSERT_EQ(result.Outcome, TSearchOutcome::Found);
                EXPECT_EQ(static_cast<int32_t>(result.Moves.size()), distance);
                TClassBoard played = pair.Current;
                played.Apply(result.Moves);
                EXPECT_EQ(played, target);
            }
    }
}

TEST(ExactSearch, LongerScramblesAreSolvedInNoMoreMovesAndCutSearchesBoundTheFewest)
{
    TRuntimeRandom random(TestSeed());
    for (int32_t game = 0; game < 6; ++game) {
        const TClassBoard target = game % 2 == 0 ? DistinctTiles : RepeatedTiles;
        TClassPair pair {target, target, 16};
        const int32_t scramble = 8 + game / 2;
        Scramble(pair.Current, random, scramble);
        TSearchLimits limits;
        limits.MaxNodes = 10'000'000;

        const TSearchResult result = SearchShortest(pair, limits);

        ASSERT_EQ(result.Outcome, TSearchOutcome::Found) << "game " << game;
        EXPECT_LE(static_cast<int32_t>(result.Moves.size()), scramble);
        limits.MaxNodes = 100;
        const TSearchResult cut = SearchShortest(pair, limits);
        if (cut.Outcome == TSearchOutcome::OverBudget) {
            EXPECT_GT(cut.FewestPossible, 0);
            EXPECT_LE(cut.FewestPossible, static_cast<int32_t>(result.Moves.size()));
        }
        pair.Current.Apply(result.Moves);
        EXPECT_EQ(pair.Current, target);
    }
}

TEST(ExactSearch, LongScramblesAreSolvedInTheFewestMovesOfAnyMoveOrder)
{
    // The fewest moves after 40 random moves from each seed, as a search that orders its moves
    // by the bound alone finds them: the order changes how soon a way is met, never its length.
    struct TCase {
        bool Distinct;
        uint32_t Seed;
        std::size_t Fewest;
    };
    const TCase cases[] = {{true, 1, 14}, {true, 3, 12}, {true, 7, 14}, {true, 10, 14},
        {false, 2, 13}, {false, 5, 12}, {false, 11, 13}, {false, 12, 13}};
    for (const TCase& scramble : cases) {
        TRuntimeRandom random(scramble.Seed);
        const TClassBoard target = scramble.Distinct ? DistinctTiles : RepeatedTiles;
        TClassPair pair {target, target, 16};
        Scramble(pair.Current, random, 40);
        TSearchLimits limits;
        limits.MaxNodes = 100'000'000;

        const TSearchResult result = SearchShortest(pair, limits);

        ASSERT_EQ(result.Outcome, TSearchOutcome::Found) << scramble.Seed;
        EXPECT_EQ(result.Moves.size(), scramble.Fewest) << scramble.Seed;
        pair.Current.Apply(result.Moves);
        EXPECT_EQ(pair.Current, target) << scramble.Seed;
    }
}

TEST(ExactSearch, TwoThreadsFindTheSameMovesAsOneAndStopAtTheBudget)
{
    TRuntimeRandom random(TestSeed());
    int32_t longSearches = 0;
    for (int32_t game = 0; game < 200 && longSearches < 3; ++game) {
        TClassPair pair {DistinctTiles, DistinctTiles, 16};
        Scramble(pair.Current, random, 16);
        TSearchLimits limits;
        limits.MaxNodes = 10'000'000;
        limits.MaxThreads = 1;
        const TSearchResult alone = SearchShortest(pair, limits);
        // Short searches never start the second thread. The searches of successive lengths
        // grow about tenfold, so this one most likely shared its last length.
        if (alone.Nodes < 25'000)
            continue;
        ++longSearches;

        limits.MaxThreads = 2;
        const TSearchResult together = SearchShortest(pair, limits);
        limits.MaxNodes = alone.Nodes / 2;
        const TSearchResult cut = SearchShortest(pair, limits);

        ASSERT_EQ(together.Outcome, TSearchOutcome::Found) << "game " << game;
        EXPECT_EQ(together.Moves, alone.Moves) << "game " << game;
        // Two threads may meet the answer early in the second one's share, within the budget;
        // either way they stop by it.
        if (cut.Outcome == TSearchOutcome::Found)
            EXPECT_EQ(cut.Moves.size(), alone.Moves.size()) << "game " << game;
        else
            ASSERT_EQ(cut.Outcome, TSearchOutcome::OverBudget) << "game " << game;
        EXPECT_LE(cut.FewestPossible, static_cast<int32_t>(alone.Moves.size()));
        EXPECT_LT(cut.Nodes, alone.Nodes);
    }
    EXPECT_EQ(longSearches, 3);
}
