#include "solver/PhaseCandidate.h"

std::vector<std::vector<TPhaseCell>> PhaseCells(int32_t cols, int32_t builtRows)
{
    std::vector<std::vector<TPhaseCell>> phases {{{0, 0}, {1, 0}, {0, 1}, {1, 1}}};
    if (builtRows == 3)
        phases.push_back({{0, 2}, {1, 2}});
    for (int32_t col = 2; col < cols; ++col) {
        std::vector<TPhaseCell> column;
        column.reserve(static_cast<std::size_t>(builtRows));
        for (int32_t row = 0; row < builtRows; ++row)
            column.push_back({col, row});
        phases.push_back(column);
    }
    return phases;
}

std::vector<TPhaseCandidate> StartingCandidates(const TClassPair& pair)
{
    const int32_t cols = pair.Current.Cols;
    const int32_t rows = pair.Current.Rows;
    std::vector<TPhaseCandidate> candidates;
    for (const bool transposed : {false, true}) {
        const int32_t frameCols = transposed ? rows : cols;
        const int32_t frameRows = transposed ? cols : rows;
        if (frameRows < 4 || (cols % 2 != rows % 2 && frameCols % 2 != 0))
            continue;
        for (int32_t rowOffset = 0; rowOffset < frameRows; ++rowOffset)
            for (int32_t colOffset = 0; colOffset < frameCols; ++colOffset)
                for (const bool mirrored : {false, true}) {
                    TPhaseCandidate candidate;
                    candidate.Frame
                        = {transposed, mirrored, colOffset, rowOffset, frameCols, frameRows};
                    candidate.Board.Cols = candidate.Goal.Cols = frameCols;
                    candidate.Board.Rows = candidate.Goal.Rows = frameRows;
                    candidate.Tiles = candidate.Board;
                    for (int32_t r = 0; r < frameRows; ++r)
                        for (int32_t c = 0; c < frameCols; ++c) {
                            const TPhaseCell actual = candidate.Frame.Actual(c, r);
                            const int32_t cell = candidate.Board.Index(c, r);
                            candidate.Board.Cells[cell] = pair.Current.At(actual.Col, actual.Row);
                            candidate.Goal.Cells[cell] = pair.Target.At(actual.Col, actual.Row);
                            candidate.Tiles.Cells[cell] = static_cast<uint8_t>(cell);
                        }
                    candidate.HomeTile.fill(UnassignedTile);
                    candidates.push_back(candidate);
                }
    }
    return candidates;
}
