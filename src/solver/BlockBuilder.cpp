#include "solver/BlockBuilder.h"

#include "solver/MoveOptimiser.h"
#include "solver/PhaseBuilder.h"
#include "solver/TwoRowTable.h"
#include "solver/WindowOptimiser.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

namespace {

// Partial solutions kept side by side while the rows are filled.
constexpr std::size_t BeamWidth = 6;

// The board seen with its rows renumbered from `Offset`, and with columns and rows exchanged
// when `Transposed`, so that the builder always fills rows from the top.
struct TFrame {
    bool Transposed = false;
    int32_t Offset = 0;
};

struct TPoint {
    int32_t Col = 0;
    int32_t Row = 0;
};

class TFrameBuilder {
public:
    TFrameBuilder(const TClassPair& pair, TFrame frame, bool strict)
        : FFrame(frame)
        , FActualCols(pair.Current.Cols)
        , FActualRows(pair.Current.Rows)
        , FStrict(strict)
    {
        FBoard.Cols = FGoal.Cols = frame.Transposed ? FActualRows : FActualCols;
        FBoard.Rows = FGoal.Rows = frame.Transposed ? FActualCols : FActualRows;
        for (int32_t r = 0; r < FBoard.Rows; ++r)
            for (int32_t c = 0; c < FBoard.Cols; ++c) {
                const TPoint actual = Actual(c, r);
                FBoard.Cells[FBoard.Index(c, r)] = pair.Current.At(actual.Col, actual.Row);
                FGoal.Cells[FGoal.Index(c, r)] = pair.Target.At(actual.Col, actual.Row);
            }
        FTiles = FBoard;
        for (int32_t i = 0; i < FBoard.Count(); ++i)
            FTiles.Cells[i] = static_cast<uint8_t>(i);
        if (FStrict)
            AssignTiles();
    }

    // The rows are filled by a beam search: each kept partial solution is extended by the best
    // route to each open cell of the row, and the shortest few after merging go on.
    std::optional<TMoveList> Run()
    {
        std::vector<TProgress> beam {Save()};
        for (int32_t row = 0; row + 2 < FBoard.Rows; ++row)
            for (int32_t step = 0; step < FBoard.Cols; ++step) {
                std::vector<TProgress> next;
                for (const TProgress& progress : beam)
                    for (int32_t col = 0; col < FBoard.Cols; ++col) {
                        Restore(progress);
                        if (FPlaced[FGoal.Index(col, row)])
                            continue;
                        PlaceCell(col, row);
                        next.push_back(Save());
                    }
                std::stable_sort(next.begin(), next.end(),
                    [](const TProgress& a, const TProgress& b) { return a.Length < b.Length; });
                beam.clear();
                for (TProgress& progress : next)
                    if (beam.size() < BeamWidth
                        && std::none_of(beam.begin(), beam.end(), [&](const TProgress& kept) {
                               return kept.Board == progress.Board
                                   && kept.Placed == progress.Placed;
                           }))
                        beam.push_back(std::move(progress));
            }

        std::optional<TMoveList> best;
        for (const TProgress& progress : beam) {
            Restore(progress);
            if (!FinishLastRows())
                continue;
            TMoveList actual;
            for (const TSolverMove& move : FMoves)
                actual.push_back(ActualMove(move));
            TMoveList shortest = OptimiseMoves(actual, FActualCols, FActualRows);
            if (!best || shortest.size() < best->size())
                best = std::move(shortest);
        }
        return best;
    }

private:
    struct TProgress {
        TClassBoard Board;
        TClassBoard Tiles;
        std::array<bool, MaxSolverCells> Placed {};
        TMoveList Moves;
        std::size_t Length = 0;
    };

    TProgress Save() const
    {
        return {FBoard, FTiles, FPlaced, FMoves,
            OptimiseMoves(FMoves, FBoard.Cols, FBoard.Rows).size()};
    }

    void Restore(const TProgress& progress)
    {
        FBoard = progress.Board;
        FTiles = progress.Tiles;
        FPlaced = progress.Placed;
        FMoves = progress.Moves;
    }

    TPoint Actual(int32_t col, int32_t row) const
    {
        const int32_t shifted = (row + FFrame.Offset) % FBoard.Rows;
        return FFrame.Transposed ? TPoint {shifted, col} : TPoint {col, shifted};
    }

    TSolverMove ActualMove(const TSolverMove& move) const
    {
        if (move.IsColumn)
            return {!FFrame.Transposed, move.Line, move.Shift};
        const auto line = static_cast<int8_t>((move.Line + FFrame.Offset) % FBoard.Rows);
        return {FFrame.Transposed, line, move.Shift};
    }

    // Strict work follows one fixed tile for every target cell, chosen so that the arrangement is
    // even: on a board whose lines are all odd every move is even, so an odd one is out of reach.
    void AssignTiles()
    {
        std::array<bool, MaxSolverCells> taken {};
        for (int32_t goal = 0; goal < FGoal.Count(); ++goal)
            for (int32_t cell = 0; cell < FBoard.Count(); ++cell)
                if (!taken[cell] && FBoard.Cells[cell] == FGoal.Cells[goal]) {
                    taken[cell] = true;
                    FHomeTile[goal] = static_cast<uint8_t>(cell);
                    break;
                }
        TClassBoard tilesAtHome = FGoal;
        for (int32_t goal = 0; goal < FGoal.Count(); ++goal)
            tilesAtHome.Cells[goal] = FHomeTile[goal];
        if (!OddArrangement(FTiles, tilesAtHome))
            return;
        for (int32_t a = 0; a < FGoal.Count(); ++a)
            for (int32_t b = a + 1; b < FGoal.Count(); ++b)
                if (FGoal.Cells[a] == FGoal.Cells[b]) {
                    std::swap(FHomeTile[a], FHomeTile[b]);
                    return;
                }
    }

    bool InPlace(const TClassBoard& board, const TClassBoard& tiles, int32_t cell) const
    {
        return FStrict ? tiles.Cells[cell] == FHomeTile[cell]
                       : board.Cells[cell] == FGoal.Cells[cell];
    }

    // Brings a fitting tile to the cell by the shortest route that keeps the placed cells.
    void PlaceCell(int32_t col, int32_t row)
    {
        std::optional<TMoveList> best;
        const int32_t goal = FGoal.Index(col, row);
        for (int32_t cell = 0; cell < FBoard.Count(); ++cell) {
            const bool fits = FStrict ? FTiles.Cells[cell] == FHomeTile[goal]
                                      : FBoard.Cells[cell] == FGoal.Cells[goal];
            if (!fits || FPlaced[cell])
                continue;
            const TPoint from {cell % FBoard.Cols, cell / FBoard.Cols};
            ForEachRoute(from, {col, row}, [&](const TMoveList& route) {
                if (best && route.size() >= best->size())
                    return;
                if (Keeps(route, goal))
                    best = route;
            });
        }
        // A tile below the row can always be turned in, so some route is found.
        if (!best)
            throw std::logic_error("BuildSolution: no route to an open cell");
        Play(*best);
        FPlaced[goal] = true;
    }

    // Whether the route brings a fitting tile to the goal cell and leaves every placed cell alone.
    bool Keeps(const TMoveList& route, int32_t goal) const
    {
        TClassBoard board = FBoard;
        TClassBoard tiles = FTiles;
        board.Apply(route);
        tiles.Apply(route);
        if (!InPlace(board, tiles, goal))
            return false;
        for (int32_t cell = 0; cell < board.Count(); ++cell)
            if (FPlaced[cell] && !InPlace(board, tiles, cell))
                return false;
        return true;
    }

    void Play(const TMoveList& moves)
    {
        FBoard.Apply(moves);
        FTiles.Apply(moves);
        FMoves.insert(FMoves.end(), moves.begin(), moves.end());
    }

    TPoint Moved(TPoint point, const TMoveList& moves) const
    {
        for (const TSolverMove& move : moves) {
            if (move.IsColumn && move.Line == point.Col)
                point.Row = (point.Row - move.Shift + FBoard.Rows) % FBoard.Rows;
            if (!move.IsColumn && move.Line == point.Row)
                point.Col = (point.Col - move.Shift + FBoard.Cols) % FBoard.Cols;
        }
        return point;
    }

    // The ways to carry the tile at `from` to `to`. A tile in the row being filled is first
    // taken out below, by its column directly or turned out and back around a row turn.
    void ForEachRoute(
        TPoint from, TPoint to, const std::function<void(const TMoveList&)>& use) const
    {
        std::vector<TMoveList> starts {{}};
        if (from.Row == to.Row && from.Col != to.Col) {
            const int32_t below = (to.Row + 1) % FBoard.Rows;
            TMoveList down;
            AppendLineTurn(down, true, from.Col, from.Row, below, FBoard.Rows);
            starts.push_back(down);
            for (const int8_t shift : {int8_t {1}, int8_t {-1}}) {
                TMoveList out = down;
                out.push_back({false, static_cast<int8_t>(below), shift});
                out.push_back(down.front().Inverse());
                starts.push_back(out);
            }
        }
        for (const TMoveList& start : starts) {
            const TPoint at = Moved(from, start);
            TMoveList route = start;
            AppendLineTurn(route, false, at.Row, at.Col, to.Col, FBoard.Cols);
            AppendLineTurn(route, true, to.Col, at.Row, to.Row, FBoard.Rows);
            use(route);
            route = start;
            AppendLineTurn(route, true, at.Col, at.Row, to.Row, FBoard.Rows);
            AppendLineTurn(route, false, to.Row, at.Col, to.Col, FBoard.Cols);
            use(route);
            if (at.Row != to.Row)
                ForEachInsertion(start, at, to, use);
        }
    }

    // The column of the goal cell turns it down to the tile's row, the row brings the tile into
    // the column, and the column turns back: every other cell of the column returns.
    void ForEachInsertion(const TMoveList& start, TPoint at, TPoint to,
        const std::function<void(const TMoveList&)>& use) const
    {
        for (const int8_t side : {int8_t {0}, int8_t {1}, int8_t {-1}}) {
            if ((side == 0) != (at.Col != to.Col))
                continue;
            TMoveList route = start;
            if (side != 0)
                route.push_back({false, static_cast<int8_t>(at.Row), side});
            const TPoint aside = Moved(
                at, {route.begin() + static_cast<std::ptrdiff_t>(start.size()), route.end()});
            TMoveList column;
            AppendLineTurn(column, true, to.Col, to.Row, at.Row, FBoard.Rows);
            route.insert(route.end(), column.begin(), column.end());
            AppendLineTurn(route, false, aside.Row, aside.Col, to.Col, FBoard.Cols);
            for (auto it = column.rbegin(); it != column.rend(); ++it)
                route.push_back(it->Inverse());
            use(route);
        }
    }

    // The last two rows, from the table, with the cheapest labelling of repeated classes.
    bool FinishLastRows()
    {
        const std::optional<TMoveList> finish = FinishTwoRows(
            FBoard, [this](int32_t cell, int32_t home) { return InPlaceAt(cell, home); });
        if (!finish)
            return false;
        Play(*finish);
        return true;
    }

    // Whether the tile now at `cell` belongs at `home`.
    bool InPlaceAt(int32_t cell, int32_t home) const
    {
        return FStrict ? FTiles.Cells[cell] == FHomeTile[home]
                       : FBoard.Cells[cell] == FGoal.Cells[home];
    }

    TFrame FFrame;
    int32_t FActualCols;
    int32_t FActualRows;
    bool FStrict;
    TClassBoard FBoard;
    TClassBoard FGoal;
    TClassBoard FTiles;
    std::array<uint8_t, MaxSolverCells> FHomeTile {};
    std::array<bool, MaxSolverCells> FPlaced {};
    TMoveList FMoves;
};

// The rows built cell by cell from every starting row, either way round; the shortest wins.
std::optional<TMoveList> BuildByRows(const TClassPair& pair)
{
    const bool evenCols = pair.Current.Cols % 2 == 0;
    const bool evenRows = pair.Current.Rows % 2 == 0;
    std::optional<TMoveList> best;
    for (const bool transposed : {false, true}) {
        // The last two rows reach every arrangement only when their rows are of even length;
        // where just one side is even, the frame must make it the row length.
        const bool evenLength = transposed ? evenRows : evenCols;
        if (evenCols != evenRows && !evenLength)
            continue;
        const int32_t rows = transposed ? pair.Current.Cols : pair.Current.Rows;
        for (int32_t offset = 0; offset < rows; ++offset)
            for (const bool strict : {false, true}) {
                auto moves = TFrameBuilder(pair, {transposed, offset}, strict).Run();
                if (!moves)
                    continue;
                if (!best || moves->size() < best->size())
                    best = std::move(moves);
                break;
            }
    }
    return best;
}

} // namespace

std::optional<TMoveList> BuildSolution(const TClassPair& pair, const std::atomic<bool>* cancel)
{
    std::optional<TMoveList> best = BuildInPhases(pair, cancel);
    if (cancel != nullptr && cancel->load(std::memory_order_relaxed))
        return std::nullopt;
    if (best)
        return best;
    best = BuildByRows(pair);
    if (best)
        best = ShortenWindows(*best, pair.Current.Cols, pair.Current.Rows);
    return best;
}
