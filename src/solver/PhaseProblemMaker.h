#pragma once

#include "solver/PatternTable.h"
#include "solver/PhaseCandidate.h"
#include "solver/PhaseSearch.h"

#include <array>
#include <memory>
#include <vector>

// Tiles chosen for a phase's cells, and the bound of the phase with them.
struct TPhaseChoice {
    int32_t Bound = 0;
    std::vector<uint8_t> Tiles;
};

// Sets up the search of a candidate's phase: the tiles to bring to their cells, chosen among
// equal ones, and the 2 x 2 blocks whose tables bound the search.
class TPhaseProblemMaker {
public:
    // The board's own number of columns tells a frame's orientation.
    explicit TPhaseProblemMaker(int32_t boardCols)
        : FBoardCols(boardCols)
    {
    }

    // Asks for the table of frames of this size now, so that threads may share it later.
    void Prepare(int32_t cols, int32_t rows) const { BlockTable(cols, rows); }

    // The problem of bringing the placed tiles and the phase's cells home, with the tiles for
    // the new cells chosen among equal ones: the choices are listed by their bound, lowest
    // first, and the problem is set for the first. False when there is no choice (cannot happen
    // on boards that hold the target's tiles).
    bool Problem(const TPhaseCandidate& candidate,
        const std::vector<std::vector<TPhaseCell>>& phases, std::size_t phase,
        TPhaseProblem& problem, std::vector<TPhaseChoice>& choices) const;
    static void SetChoice(TPhaseProblem& problem, std::size_t placed,
        const std::array<uint8_t, MaxSolverCells>& cellOfTile, const TPhaseChoice& choice);

private:
    struct TChooser;

    static bool ForcedOdd(const TPhaseCandidate& candidate, const std::vector<TPhaseCell>& cells,
        const std::vector<uint8_t>& choice, std::array<bool, MaxSolverCells> taken);
    void AddPatterns(TPhaseProblem& problem, const std::array<int8_t, MaxSolverCells>& trackedAt,
        int32_t cols, int32_t rows) const;
    const std::shared_ptr<const TPatternTable>& BlockTable(int32_t cols, int32_t rows) const;

    int32_t FBoardCols;
    mutable std::array<std::shared_ptr<const TPatternTable>, 2> FBlockTables;
};
